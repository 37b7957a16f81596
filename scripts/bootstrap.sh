#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing, then configures and builds
# into build/. Quiet when everything is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-missing.sh cmake g++ make libxml2-dev libgtest-dev qt6-base-dev xvfb xauth libxml2-utils \
  clang libclang-rt-14-dev nlohmann-json3-dev
# The language server's tests drive it with Node; a Node installed otherwise serves as well.
command -v node >/dev/null && command -v npm >/dev/null || scripts/install-missing.sh nodejs npm

if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j"$(nproc)" -- --quiet 2>&1 | grep -v '^\[' || true
test -x build/rulecast
