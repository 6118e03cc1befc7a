#!/usr/bin/env bash
# The layer check must refuse what it is there for: a copy of the tree with one backwards
# include planted in the lowest layer, one sideways include between two layers no edge
# joins (the companion's core and the main window's), and one Windows header in the core.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp -r "$repo/src" "$repo/CMakeLists.txt" "$copy/"
first() { find "$copy/src/$1" -name '*.cpp' | sort | head -n1; }
echo '#include "monitor/vigilo_window.h"' >>"$(first common)"
echo '#include "main_window/main_menu.h"' >>"$(first monitor)"
echo '#include <windows.h>' >>"$(first ping)"
if out=$("$repo/tools/check-layers.sh" --src "$copy/src"); then
    echo "check-layers passed a tree with planted faults:"; echo "$out"; exit 1
fi
echo "$out"
echo "$out" | grep -q 'common includes monitor, a layer above it' || { echo "backwards include not named"; exit 1; }
echo "$out" | grep -q 'monitor includes main_window, no edge of the graph' || { echo "sideways include not named"; exit 1; }
echo "$out" | grep -q 'a Windows header outside src/win32' || { echo "Windows header not named"; exit 1; }
echo "planted faults refused"
