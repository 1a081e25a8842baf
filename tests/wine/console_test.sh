#!/bin/bash
# The console program kalvorin-cli.exe under Wine with no display, the way
# a script or batch file runs it: exit status, standard output and error in
# code page 932 with CR LF line ends, and the files it leaves.
#
#   tests/wine/console_test.sh BUILD_WIN_DIR SCRATCH_DIR
#
# Run by run.sh, which sets up WINEPREFIX and the Japanese locale. When
# KALVORIN_NATIVE names the native kalvorin, every file must be byte for
# byte the one it writes for the same arguments; without it FFT12.cpp in
# the classic style is compared with tests/data/FFT12.cpp. Prints one line
# per check and "<n> passed, <m> failed"; exits 1 when any check failed.
set -euo pipefail

build=$(realpath "$1")
scratch=$(realpath -m "$2")
source_dir=$(realpath "$(dirname "$0")/../..")
program=$build/kalvorin-cli.exe
native=${KALVORIN_NATIVE:+$(realpath "$KALVORIN_NATIVE")}
golden=$source_dir/tests/data/FFT12.cpp
source "$source_dir/tests/checks.sh"

# The expected text as the program writes it: "\n" (typed as two
# characters in the table) ends a line, which text mode writes as CR LF.
cp932_lines() {
    [ -z "$1" ] && return 0
    printf '%b' "$1" | sed 's/$/\r/' | iconv -f UTF-8 -t CP932
}

# status | arguments | standard input | standard output | standard error
# holds (empty: nothing on it) | the files left, in order
cases=(
    "0|--yes 12||素因数分解の結果: 2　2　3　\n||FFT12.cpp"
    "0|--yes --style=fast 12||素因数分解の結果: 2　2　3　\n||FFT12.cpp"
    "0|--yes --style=fast --precision=single 60||素因数分解の結果: 2　2　3　5　\n||FFT60.cpp"
    "0|--yes|12\r\n60\n|素因数分解の結果: 2　2　3　\n素因数分解の結果: 2　2　3　5　\n||FFT12.cpp FFT60.cpp"
    "0|--yes 65542||素因数分解の結果: 2　32771　\n|kalvorin-cli: warning: FFT65542.cpp computes twiddle indices up to 2147745800 in long|FFT65542.cpp"
    "0|--ye --dir . -- -12||素因数分解の結果: 2　2　3　\n||FFT12.cpp"
    "1|--yes 7|||素数です|"
    "1|--yes 12 250001||素因数分解の結果: 2　2　3　\n|データ長が250000を超えています。|FFT12.cpp"
    "1|12||素因数分解の結果: 2　2　3　\n|no terminal to ask; the answer is No|"
    "1|12|12\n|素因数分解の結果: 2　2　3　\n|no terminal to ask; the answer is No|"
    "1|--yes -C missing 12|||cannot work in 'missing'|"
    "2|--bogus 12|||kalvorin-cli: unknown option '--bogus'|"
    "2|--yes --style=quick 12|||unknown style 'quick'|"
    "2|--yes --precision=single 12|||--style=fast only|"
)

for case in "${cases[@]}"; do
    IFS='|' read -r want_status arguments input want_out want_err want_files <<<"$case"
    read -ra argv <<<"$arguments"
    dir=$scratch/run
    rm -rf "$dir" && mkdir -p "$dir"
    status=0
    (cd "$dir" && printf '%b' "$input" | timeout 120 env -u DISPLAY wine "$program" "${argv[@]}" \
        >"$scratch/out" 2>"$scratch/err") || status=$?
    name="kalvorin-cli $arguments${input:+ (lengths piped in)}"
    check "$name: exit status $status (want $want_status)" test "$status" -eq "$want_status"
    check "$name: standard output in code page 932" cmp -s "$scratch/out" <(cp932_lines "$want_out")
    err=$(iconv -f CP932 -t UTF-8 "$scratch/err" | tr -d '\r')
    if [ -z "$want_err" ]; then
        check "$name: nothing on standard error${err:+ (got: $err)}" test -z "$err"
    else
        check "$name: standard error says \"$want_err\"" grep -qF -- "$want_err" <<<"$err"
    fi
    files=$(cd "$dir" && ls | tr '\n' ' ' | sed 's/ $//')
    check "$name: files left: ${files:-none} (want ${want_files:-none})" test "$files" = "$want_files"

    # The same files as everywhere else.
    if [ -n "$native" ] && [ -n "$want_files" ]; then
        rm -rf "$scratch/native" && mkdir -p "$scratch/native"
        (cd "$scratch/native" && printf '%b' "$input" | "$native" "${argv[@]}" >/dev/null 2>&1) || true
        for f in $want_files; do
            check "$name: $f is byte for byte the native program's" cmp -s "$dir/$f" "$scratch/native/$f"
        done
    fi
    if [ "$files" = FFT12.cpp ]; then
        if [[ $arguments == *--style=fast* ]]; then
            check "$name: FFT12.cpp written" test -s "$dir/FFT12.cpp"
            if cmp -s "$dir/FFT12.cpp" "$golden"; then echo "      (the same bytes as the classic FFT12.cpp)"; fi
        else
            check "$name: FFT12.cpp is byte-identical to the golden file" cmp -s "$dir/FFT12.cpp" "$golden"
        fi
    fi
done

finish_checks
