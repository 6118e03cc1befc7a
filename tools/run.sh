#!/usr/bin/env bash
# Builds the Windows programs and starts Zorvane in the sandbox: on your display when there
# is one, otherwise on a virtual one for a while, leaving a screenshot in build/zorvane.png.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/tools/deps.sh"
"$repo/tools/build.sh" --windows-only
if [ -n "${DISPLAY:-}" ]; then
    exec "$repo/tools/sandbox.sh" --screen --app "$repo/build/win/app" --name zorvane \
        -- 'C:\Program Files\Zorvane\Zorvane.exe' "$@"
fi
"$repo/tools/sandbox.sh" --app "$repo/build/win/app" --name zorvane --for 8 \
    --shot "$repo/build/zorvane.png" -- 'C:\Program Files\Zorvane\Zorvane.exe' "$@"
echo "No display: Zorvane ran on a virtual screen; see build/zorvane.png"
