#!/bin/bash
# The fast-style files on other processors than the build machine's: the
# generated code claims vector code on any target of gcc 12 or clang, a
# 32-bit long and no byte order, and only x86-64 runs it natively. Here each
# file is built with Debian's cross compilers into the fast-style harness,
# statically, and run under qemu-user on
#   aarch64  the vector code on NEON, 64-bit long, little-endian
#   i686     a real 32-bit long, the x87 unit's excess precision (with SSE2:
#            without it the files take the plain loops)
#   s390x    big-endian, no vector unit at the default level
# The harness judges its own output as it does in the native test.
#
#   tests/cross/run.sh [KALVORIN]      (default: build/kalvorin)
#
# Missing Debian packages are installed (root only). Prints one line per
# check and "<n> passed, <m> failed"; exits 1 when any check failed.
set -euo pipefail
cd "$(dirname "$0")/../.."
kalvorin=$(realpath "${1:-build/kalvorin}")
source tests/checks.sh

# The g++ packages pull in the cross libc and libstdc++; qemu-user is a fifth
# of qemu-user-static and runs static programs as well.
packages=(qemu-user g++-aarch64-linux-gnu g++-i686-linux-gnu g++-s390x-linux-gnu)

# name | toolchain prefix | emulator | bytes of long | byte order | flags
targets=("aarch64|aarch64-linux-gnu|qemu-aarch64|8|LITTLE|"
         "i686|i686-linux-gnu|qemu-i386|4|LITTLE|-msse2"
         "s390x|s390x-linux-gnu|qemu-s390x|8|BIG|")

# Radix 4 and 3 (12), mixed 8 5 (1000), a power of two (1024), the passes
# of radix 13 and 11 that a compiler has got wrong (1144 = 13 11 8), odd
# (15015), two primes of a hundred and more done as convolutions (20806 =
# 103 101 2). The harness checks every output up to 8192 and a sample above
# against a long double that is software on aarch64 and s390x; more or
# longer lengths cost minutes under the emulator.
lengths=(12 1000 1024 1144 15015 20806)
precisions=(double single)

source tests/install_packages.sh

# Whether the harness as PREFIX compiles it takes the vector code and sees
# the long and byte order meant: a toolchain that quietly fell back to the
# portable loops must not pass for a test of the vector code.
build_is() {  # PREFIX FILE LONG_BYTES ORDER FLAGS
    local macros
    # shellcheck disable=SC2086  # FLAGS are words
    macros=$("$1-g++" -std=c++17 -O2 $5 -dM -E -DLEN=12 "-DGENERATED=\"$2\"" tests/fast_harness.cpp) || return 1
    grep -qx '#define KV12_VECTOR 1' <<<"$macros" &&
        grep -qx "#define __SIZEOF_LONG__ $3" <<<"$macros" &&
        grep -qx "#define __BYTE_ORDER__ __ORDER_$4_ENDIAN__" <<<"$macros"
}

# Builds and runs one harness; its output and diagnostics go to OUT.
run_case() {  # PREFIX EMULATOR FILE N OUT FLAGS
    # shellcheck disable=SC2086
    "$1-g++" -std=c++17 -static -O2 $6 -pthread -DLEN="$4" "-DGENERATED=\"$3\"" tests/fast_harness.cpp \
        -o "$5.exe" >"$5" 2>&1 || return 1
    timeout 600 "$2" "$5.exe" >"$5" 2>&1
}

install_missing_packages "${packages[@]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for precision in "${precisions[@]}"; do
    mkdir "$work/$precision"
    for n in "${lengths[@]}"; do
        "$kalvorin" --yes --style=fast --precision="$precision" -C "$work/$precision" "$n" >/dev/null
    done
done

# Two runs at a time, as the machine's two cores allow; reported in order.
for target in "${targets[@]}"; do
    IFS='|' read -r arch prefix emulator long_bytes order flags <<<"$target"
    for precision in "${precisions[@]}"; do
        for n in "${lengths[@]}"; do
            while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
            out=$work/$arch-$precision-$n
            (
                status=0
                run_case "$prefix" "$emulator" "$work/$precision/FFT$n.cpp" "$n" "$out" "$flags" || status=$?
                echo "$status" >"$out.status"
            ) &
        done
    done
done
wait

for target in "${targets[@]}"; do
    IFS='|' read -r arch prefix emulator long_bytes order flags <<<"$target"
    for precision in "${precisions[@]}"; do
        check "$arch $precision: vector code, $long_bytes-byte long, ${order,,}-endian" \
            build_is "$prefix" "$work/$precision/FFT12.cpp" "$long_bytes" "$order" "$flags"
        for n in "${lengths[@]}"; do
            out=$work/$arch-$precision-$n
            # complex, inverse, real, real inverse and round-trip errors, as
            # the harness printed them
            errors=$(awk '$1 ~ /^(complex|inverse|real|real_inverse|round_trip)$/ { printf "%s%s", sep, $2; sep = " " }' "$out")
            check "$arch $n $precision (errors ${errors:-none})" test "$(cat "$out.status")" = 0
            [ "$(cat "$out.status")" = 0 ] || sed 's/^/    /' "$out"
        done
    done
done

finish_checks
