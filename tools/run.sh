#!/usr/bin/env bash
# Builds the Windows programs and starts Zorvane in the sandbox: on your display when there
# is one, otherwise on a virtual one until its first window and the companion's connected
# icon are on screen, leaving a screenshot in build/zorvane.png. The companion's probe host
# answers on loopback, as on a connected machine.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/tools/deps.sh"
"$repo/tools/build.sh" --windows-only
win="$repo/build/win"
probe_host=$(grep -ho 'kProbeHost[^"]*"[^"]*"' -r "$repo/src/monitor" | sed 's/.*"\(.*\)"/\1/' | head -n1)
sandbox=("$repo/tools/sandbox.sh" --app "$win/app" --name zorvane --host "$probe_host=127.0.0.1")
if [ -n "${DISPLAY:-}" ]; then
    exec "${sandbox[@]}" --screen -- 'C:\Program Files\Zorvane\Zorvane.exe' "$@"
fi
# The driver starts Zorvane, waits for what a first start shows, and ends; the screenshot is
# taken then, however long the machine took to get there.
"${sandbox[@]}" --timeout 180 --shot "$repo/build/zorvane.png" \
    -- "$win/tests/e2e/first_start_driver.exe" "$@"
echo "No display: Zorvane ran on a virtual screen; see build/zorvane.png"
