#!/usr/bin/env bash
# Builds everything and runs every test: the suite natively, the suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows
# program cross-built and driven under Wine when its test is present.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev libbenchmark-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

echo "== native build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build -j2 --output-on-failure

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKALVORIN_SANITIZE=ON
cmake --build build-asan -j2
ctest --test-dir build-asan -j2 --output-on-failure

if [ -x tests/wine/run.sh ]; then
  echo "== Windows program under Wine"
  tests/wine/run.sh
fi
