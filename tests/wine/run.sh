#!/bin/bash
# Tests of the Windows programs under Wine: the console program with no
# display (console_test.sh), then the window program in a virtual X display.
#
#   tests/wine/run.sh [--screenshot PNG] BUILD_WIN_DIR
#   tests/wine/run.sh --deps        (only install what the cross build and
#                                    this test need, then exit)
#
# BUILD_WIN_DIR is an x86_64 cross build holding kalvorin.exe,
# kalvorin-cli.exe and gui_driver.exe. $KALVORIN_NATIVE, when set, names a
# native kalvorin whose files the console program's must equal. The
# screenshot of the window with its first question open goes to PNG, or to
# $KALVORIN_SCREENSHOT, or to BUILD_WIN_DIR/window.png.
# Missing Debian packages are installed (root only), a fresh Wine prefix is
# made under BUILD_WIN_DIR and removed again at the end. Exits non-zero when
# any check fails; every step that could wait runs under a timeout.
set -euo pipefail

packages=(g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 wine wine64 fonts-wine
          fonts-ipafont-gothic xvfb xauth xdotool imagemagick locales)

source "$(dirname "$0")/../install_packages.sh"

# Wine takes its ANSI code page from the locale: Japanese means 932.
ensure_japanese_locale() {
    locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "run.sh: locale ja_JP.UTF-8 missing (generate it as root)" >&2
        exit 1
    fi
    sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    timeout 300 locale-gen </dev/null
}

# Z: is Wine's drive for the Unix root.
windows_path() {
    local p
    p=$(realpath -m "$1")
    printf 'Z:%s' "${p//\//\\}"
}

if [ "${1:-}" = --deps ]; then
    install_missing_packages "${packages[@]}"
    ensure_japanese_locale
    exit 0
fi

screenshot=${KALVORIN_SCREENSHOT:-}
if [ "${1:-}" = --screenshot ]; then
    screenshot=${2:?--screenshot needs a path}
    shift 2
fi
if [ $# -ne 1 ]; then
    echo "usage: $0 [--screenshot PNG] BUILD_WIN_DIR | $0 --deps" >&2
    exit 2
fi
build=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/../..")
screenshot=$(realpath -m "${screenshot:-$build/window.png}")
for f in kalvorin.exe kalvorin-cli.exe gui_driver.exe; do
    [ -f "$build/$f" ] || { echo "run.sh: $build/$f not found; cross-build first" >&2; exit 1; }
done

install_missing_packages "${packages[@]}"
ensure_japanese_locale

work=$build/wine-test
export WINEPREFIX=$work/prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8
xvfb_pid=
watcher_pid=

cleanup() {
    [ -n "$watcher_pid" ] && kill "$watcher_pid" 2>/dev/null || true
    if [ -d "$WINEPREFIX" ]; then timeout 30 wineserver -k 2>/dev/null || true; fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

rm -rf "$work"
mkdir -p "$work/scratch" "$work/shot"

# The display number is chosen by Xvfb and reported through fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "run.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

echo "run.sh: making a Wine prefix on display $DISPLAY"
timeout 180 wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
# Without a window manager a managed window waits on one at every destroy.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1
# Caption buttons are drawn with Marlett.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
timeout 60 wineserver -w

echo "run.sh: running the console program"
console_status=0
"$source_dir/tests/wine/console_test.sh" "$build" "$work/console" </dev/null | tee "$work/console.log" ||
    console_status=$?
# Its Wine session has no display; the window needs one of its own.
timeout 60 wineserver -w

# Takes the screenshot when the driver asks for it.
(
    for _ in $(seq 3000); do
        if [ -f "$work/shot/box-open" ]; then
            read -r x y w h <"$work/shot/box-open"
            mkdir -p "$(dirname "$screenshot")"
            timeout 30 import -window root -crop "${w}x${h}+${x}+${y}" +repage "$screenshot" \
                && touch "$work/shot/shot-done"
            exit 0
        fi
        sleep 0.1
    done
) &
watcher_pid=$!

echo "run.sh: running the GUI driver"
status=0
timeout 300 wine "$build/gui_driver.exe" \
    "$(windows_path "$build/kalvorin.exe")" \
    "$(windows_path "$source_dir/tests/data/FFT12.cpp")" \
    "$(windows_path "$work/scratch")" \
    "$(windows_path "$work/shot")" </dev/null 2>"$work/wine.log" | tee "$work/driver.log" || status=$?

if [ "$console_status" -ne 0 ]; then
    echo "run.sh: console test FAILED" >&2
    exit 1
fi
summary=$(tail -n1 "$work/driver.log" | tr -d '\r')
if [ "$status" -ne 0 ] || ! [[ $summary =~ ^[0-9]+\ passed,\ 0\ failed$ ]]; then
    echo "run.sh: GUI test FAILED (exit $status); Wine said:" >&2
    tail -n 20 "$work/wine.log" >&2
    exit 1
fi
[ -f "$screenshot" ] && echo "run.sh: screenshot in $screenshot"
echo "run.sh: GUI test passed"
