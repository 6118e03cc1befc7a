#!/usr/bin/env bash
# Builds the trees: build/win (the x64 Windows programs, which every e2e test runs),
# build/win32 (the x86 ones), both with MinGW-w64, and build/native (the portable core and
# its unit tests, with the e2e and imports tests registered against the Windows builds).
# --windows-only builds the two Windows trees alone; --native-only, the inner loop of a
# change to the core, builds build/native alone (no MinGW) and runs its unit tests.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
jobs=$(nproc)
windows_build() {  # DIR ARCH [CMAKE OPTIONS...]
    local dir=$1 arch=$2
    shift 2
    # CMake keeps the compiler of a tree's first configure; a tree made with another thread
    # model's compiler would keep importing what that runtime needs, so it is made afresh.
    if [ -f "$dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*-win32$' "$dir/CMakeCache.txt"; then
        rm -rf "$dir"
    fi
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$arch.cmake" \
          -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}
if [ "${1:-}" = "--native-only" ]; then
    # A tree configured before keeps the Windows builds it registers e2e tests against.
    cmake -S . -B build/native >/dev/null
    cmake --build build/native -j "$jobs"
    exec build/native/tests/unit/zv_unit_tests --gtest_brief=1
fi
windows_build build/win x86_64
windows_build build/win32 i686 -DZV_TEST_PROGRAMS=OFF
if [ "${1:-}" != "--windows-only" ]; then
    cmake -S . -B build/native -DZV_WINDOWS_BUILD="$repo/build/win" \
          -DZV_WINDOWS_BUILD32="$repo/build/win32" >/dev/null
    cmake --build build/native -j "$jobs"
fi
