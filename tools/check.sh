#!/usr/bin/env bash
# Installs what is missing, builds the x64, x86 and native builds and runs every test: unit,
# imports (both Windows builds) and end-to-end (the x64 build in the sandbox, on loopback or
# on a routed network of the sandbox's own namespaces), after a short run of each fuzz target.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Each step says how long it took, so that a slower check shows where it lost its time.
step() {
    local started=$SECONDS
    "$@"
    echo "check: ${1##*/} took $((SECONDS - started)) s" >&2
}
step "$repo/tools/deps.sh"
# The layers first: a backwards include fails here in a second, before any build.
step "$repo/tools/check-layers.sh"
# The layout next: a file clang-format would change fails before any build.
step "$repo/tools/check-format.sh"
step "$repo/tools/build.sh"
# A few seconds of each fuzz target, so that a broken invariant shows here too.
step "$repo/tools/fuzz.sh" --time 3 --if-available
step "$repo/tools/sandbox.sh" --prepare
cd "$repo/build/native"
# Every test runs once: a failure counts. A test that is flaky for a reason outside the
# program carries its own mark in its CMakeLists, with the cause.
# The end-to-end runs spend most of their time waiting on probe periods and timeouts, not
# on a core (about a sixth of their run time is processor time, here): one more than the
# cores keeps both busy. Five at once on two cores was a third faster, but the runs that
# measure latency then missed their bounds now and then (a busy median 8 ms beside Linux
# ping's 9.6), and a window came too late for its wait.
ctest -j "$(($(nproc) + 1))" --output-on-failure --timeout 300
