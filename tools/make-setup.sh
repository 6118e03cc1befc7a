#!/usr/bin/env bash
# Makes the setup of one Windows build with NSIS (installer/zorvane.nsi).
# usage: make-setup.sh x64|x86 APP_DIR VERSION OUT_FILE
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arch=$1
app=$(cd "$2" && pwd)
version=$3
out=$(realpath -m "$4")
mkdir -p "$(dirname "$out")"
makensis -V2 -DARCH="$arch" -DVERSION="$version" -DAPP_DIR="$app" -DOUT_FILE="$out" \
    "$repo/installer/zorvane.nsi"
