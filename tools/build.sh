#!/usr/bin/env bash
# Builds both trees: build/win (the Windows programs, MinGW-w64) and build/native (the
# portable core and its unit tests, with the e2e tests registered against build/win).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
jobs=$(nproc)
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "$jobs"
if [ "${1:-}" != "--windows-only" ]; then
    cmake -S . -B build/native -DZV_WINDOWS_BUILD="$repo/build/win" >/dev/null
    cmake --build build/native -j "$jobs"
fi
