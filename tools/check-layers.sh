#!/usr/bin/env bash
# Keeps the layers in order: a folder of src/ includes only from its own layer and the ones
# below it, only src/win32 sees Windows' headers, and each core library links exactly the
# layers its files include. Prints every include it refuses, with the file and line, and
# exits 1 when there is one. --src DIR checks another tree (the check's own test uses it).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
src="$repo/src"
[ "${1:-}" = "--src" ] && src=$2
cmake_lists="$src/../CMakeLists.txt"

# Lowest first. The launchers sit below the windows of both programs; the main window below
# the companion, which opens none of its windows.
layers=(common launch ui tuning sysconfig netstack ping main_window monitor win32)
windows_headers='windows|winsock2|ws2tcpip|iphlpapi|icmpapi|commctrl|commdlg|shellapi|shlobj|objbase|mmsystem|winreg|winuser|wtsapi32|powrprof'

rank() {  # LAYER -> its place in the order, or nothing for a folder outside it
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && echo "$i" && return
    done
    return 0
}

faults=0
refuse() {
    echo "layers: $1"
    faults=$((faults + 1))
}

for dir in "$src"/*/; do
    layer=$(basename "$dir")
    own=$(rank "$layer")
    [ -n "$own" ] || refuse "src/$layer is no layer (known: ${layers[*]})"
    [ -n "$own" ] || continue
    while IFS=: read -r file line included; do
        [ -n "$file" ] || continue
        target=$(rank "$included")
        where="src/${file#"$src"/}:$line"
        if [ -z "$target" ]; then
            refuse "$where includes \"$included/...\", which is no layer"
        elif [ "$target" -gt "$own" ]; then
            refuse "$where: $layer includes $included, a layer above it"
        fi
    done < <(grep -rnoE '^#include "[a-z_0-9]+/' "$dir" | sed -E 's|#include "([a-z_0-9]+)/$|\1|')
    if [ "$layer" != win32 ]; then
        while read -r hit; do
            [ -n "$hit" ] && refuse "src/${hit#"$src"/}: a Windows header outside src/win32"
        done < <(grep -rnE "^#include <($windows_headers)\.h>" "$dir" || true)
    fi
done

# The companion opens none of the main window's windows: its folders need nothing of it.
while read -r hit; do
    [ -n "$hit" ] && refuse "src/${hit#"$src"/}: the companion reaches into the main window"
done < <(grep -rnE '^#include "(main_window|win32/zorvane)/' "$src/monitor" "$src/win32/vigilo" || true)

# Each core library's link line against what its files include.
while read -r library layer deps; do
    [ -d "$src/$layer" ] || continue
    declared=$(for d in $deps; do echo "${d#zv_}"; done | sort -u | tr '\n' ' ')
    used=$(grep -rhoE '^#include "[a-z_0-9]+/' "$src/$layer" | sed -E 's|#include "([a-z_0-9]+)/$|\1|' \
           | grep -v -x "$layer" | sort -u | tr '\n' ' ' || true)
    [ "$declared" = "$used" ] ||
        refuse "$library links [ $declared] but its files include [ $used]"
done < <(sed -nE 's/^zv_core_library\(([a-z_]+) ([a-z_]+) ?([^)]*)\)/\1 \2 \3/p' "$cmake_lists")

if [ "$faults" -gt 0 ]; then
    echo "layers: $faults include(s) against the order ${layers[*]}"
    exit 1
fi
echo "layers: every include of $(find "$src" -name '*.cpp' -o -name '*.h' | wc -l) files follows ${layers[*]}"
