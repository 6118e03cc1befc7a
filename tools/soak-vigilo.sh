#!/usr/bin/env bash
# Soak check of the companion: runs vigilo.exe in the sandbox for MINUTES (default 10)
# with a probe host that keeps going silent and answering again, the first half with its
# history window closed and the second with it open, and prints the process's handles,
# GDI objects and private bytes at the start and end of each half and every minute.
# Needs the Windows build (tools/build.sh --windows-only).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
minutes=${1:-10}
exec "$repo/tools/sandbox.sh" --app "$repo/build/win/app" --name soak-vigilo \
    --host www.wikipedia.org=127.0.0.7 --timeout $((minutes * 60 + 180)) \
    -- "$repo/build/win/tests/e2e/vigilo_soak.exe" "$minutes"
