#!/bin/bash
# Static checks of the two Windows programs of a cross build, for the
# builds that cannot be run here (i686) as much as for the others: each
# .exe is for the right processor and subsystem, and imports only DLLs that
# every Windows has, so no MinGW runtime DLL (libstdc++, libgcc,
# libwinpthread) is left to chance on the user's machine.
#
#   tests/windows_pe_check.sh BUILD_WIN_DIR x86_64|i686
#
# Prints one line per check and "<n> passed, <m> failed"; exits 1 when any
# check failed.
set -euo pipefail

build=$1
case $2 in
    x86_64) want_machine=8664 ;;  # IMAGE_FILE_MACHINE_AMD64
    i686) want_machine=014c ;;    # IMAGE_FILE_MACHINE_I386
    *) echo "usage: $0 BUILD_WIN_DIR x86_64|i686" >&2; exit 2 ;;
esac
objdump=x86_64-w64-mingw32-objdump  # reads 32-bit images as well
allowed_dlls=(KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll msvcrt.dll)
source "$(dirname "$0")/checks.sh"

# Unsigned little-endian integer of SIZE bytes at OFFSET, in hex.
field() {  # FILE OFFSET SIZE
    od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n' | fold -w2 | tac | tr -d '\n'
}

# Whether NAME is among the rest, ignoring case as Windows does.
among() {  # NAME LIST...
    local name=${1,,} item
    shift
    for item in "$@"; do
        [ "$name" = "${item,,}" ] && return 0
    done
    return 1
}

# program | subsystem: 2 the Windows GUI, 3 the console
for entry in "kalvorin.exe|0002" "kalvorin-cli.exe|0003"; do
    IFS='|' read -r exe want_subsystem <<<"$entry"
    file=$build/$exe
    name="$2 $exe"
    if [ ! -f "$file" ] || [ "$(field "$file" 0 2)" != 5a4d ]; then
        check "$name is there and starts with MZ" false
        continue
    fi
    pe=$((16#$(field "$file" 60 4)))  # e_lfanew
    check "$name has a PE signature" test "$(field "$file" "$pe" 4)" = 00004550
    machine=$(field "$file" $((pe + 4)) 2)
    check "$name is for machine $want_machine (is $machine)" test "$machine" = "$want_machine"
    # Subsystem sits at the same place in the optional headers of PE32 and PE32+.
    subsystem=$(field "$file" $((pe + 24 + 68)) 2)
    check "$name has subsystem $want_subsystem (has $subsystem)" test "$subsystem" = "$want_subsystem"

    mapfile -t dlls < <($objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
    # An import table that was not read at all must not pass as a clean one.
    check "$name imports from KERNEL32.dll (imports: ${dlls[*]:-none})" among KERNEL32.dll "${dlls[@]}"
    bad=()
    for dll in "${dlls[@]}"; do among "$dll" "${allowed_dlls[@]}" || bad+=("$dll"); done
    check "$name imports only from ${allowed_dlls[*]}${bad:+ (not: ${bad[*]})}" test ${#bad[@]} -eq 0
done

finish_checks
