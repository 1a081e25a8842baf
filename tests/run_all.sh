#!/usr/bin/env bash
# Builds everything and runs every test: the suite natively, the fast-style
# files on aarch64, i686 and s390x under qemu-user, the suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows
# programs cross-built, checked statically, the 64-bit ones run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

# The cross compilers are here too: the suite holds the generated files to
# the 32-bit x86 and Windows compilers (the cross and Wine steps need them
# later anyway).
packages=(cmake g++ clang make libgtest-dev libbenchmark-dev unzip
          g++-i686-linux-gnu g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  # Waits for the package manager's lock when another install holds it.
  apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
fi

echo "== native build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build -j2
ctest --test-dir build -j2 --output-on-failure --no-tests=error
(cd build && cpack -G DEB >/dev/null && dpkg-deb -c kalvorin_*.deb >package-contents.txt &&
  grep -q '/usr/bin/kalvorin$' package-contents.txt && grep -q 'man1/kalvorin.1.gz$' package-contents.txt)

echo "== fast-style files cross-built for aarch64, i686 and s390x, run under qemu-user"
tests/cross/run.sh build/kalvorin

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKALVORIN_SANITIZE=ON -DBUILD_TESTING=ON
cmake --build build-asan -j2
ctest --test-dir build-asan -j2 --output-on-failure --no-tests=error

echo "== Windows programs cross-built with mingw-w64, checked statically, the x86_64 ones run under Wine"
tests/wine/run.sh --deps
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
cmake --build build-win -j2
cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
cmake --build build-win32 -j2
tests/windows_pe_check.sh build-win x86_64
tests/windows_pe_check.sh build-win32 i686
(cd build-win && cpack -G ZIP >/dev/null && unzip -l kalvorin-*.zip >package-contents.txt &&
  grep -q '/kalvorin.exe$' package-contents.txt && grep -q '/kalvorin-cli.exe$' package-contents.txt)
KALVORIN_NATIVE=build/kalvorin tests/wine/run.sh build-win
