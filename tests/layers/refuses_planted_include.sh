#!/usr/bin/env bash
# The layer check must refuse what it is there for: a copy of the tree with one backwards
# include planted in the lowest layer, and one Windows header planted in the core.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp -r "$repo/src" "$repo/CMakeLists.txt" "$copy/"
first() { find "$copy/src/$1" -name '*.cpp' | sort | head -n1; }
echo '#include "monitor/vigilo_window.h"' >>"$(first common)"
echo '#include <windows.h>' >>"$(first ping)"
if out=$("$repo/tools/check-layers.sh" --src "$copy/src"); then
    echo "check-layers passed a tree with planted faults:"; echo "$out"; exit 1
fi
echo "$out"
echo "$out" | grep -q 'common includes monitor, a layer above it' || { echo "backwards include not named"; exit 1; }
echo "$out" | grep -q 'a Windows header outside src/win32' || { echo "Windows header not named"; exit 1; }
echo "planted faults refused"
