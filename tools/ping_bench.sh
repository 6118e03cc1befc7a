#!/usr/bin/env bash
# Builds the ping benchmark and runs it once in the sandbox (loopback only): the time of
# PingOnce to 127.0.0.1 against a bare IcmpSendEcho loop to the same address.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/tools/build.sh" --windows-only >/dev/null
exec "$repo/tools/sandbox.sh" --name ping-bench --timeout 120 -- \
    "$repo/build/win/bench/ping_bench.exe"
