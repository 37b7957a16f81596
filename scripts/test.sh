#!/usr/bin/env bash
# Builds what is missing, then runs every test; then builds again with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs every test there; then runs each fuzz
# target for 30 seconds; then cross-builds for Windows into build-windows/ and runs the same tests
# under Wine; then puts the installer, the zip and the .deb into dist/. Any failure, sanitizer
# report or fuzz finding fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
cd "$root/build"
ctest --output-on-failure -j"$(nproc)"

# A report ends the process with a status no test expects, also in the programs tests start.
export ASAN_OPTIONS="exitcode=86:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86"
asan="$root/build-asan"
if [ ! -f "$asan/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$asan" -DRULECAST_GUI=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
fi
if ! cmake --build "$asan" -j"$(nproc)" >"$asan/build.log" 2>&1; then
  cat "$asan/build.log" >&2
  exit 1
fi
cd "$asan"
ctest --output-on-failure -j"$(nproc)"

"$root/fuzz/run.sh" 30

"$root/scripts/test-windows.sh"

"$root/scripts/package.sh"
