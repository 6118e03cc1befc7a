#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test, unit and end-to-end
# (the e2e ones in the sandbox, loopback only).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/tools/deps.sh"
"$repo/tools/build.sh"
"$repo/tools/sandbox.sh" --prepare
cd "$repo/build/native"
ctest -j "$(nproc)" --output-on-failure --timeout 300
