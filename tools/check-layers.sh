#!/usr/bin/env bash
# Keeps the layers in order: a folder of src/ includes only from itself and the layers its
# row below allows, only src/win32 sees Windows' headers, and each core library links exactly
# the layers its files include. Prints every include it refuses, with the file and line, and
# exits 1 when there is one. --src DIR checks another tree (the check's own test uses it).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
src="$repo/src"
[ "${1:-}" = "--src" ] && src=$2
cmake_lists="$src/../CMakeLists.txt"

# The allowed edges: each layer and the layers it may include. The graph has no circle (the
# check refuses one). The launchers sit below the windows of both programs; the companion
# (monitor) uses nothing of the main window; win32 implements the ports of every layer.
declare -A may_include=(
    [common]=""
    [launch]="common"
    [ui]="common"
    [tuning]="ui common"
    [sysconfig]="tuning common"
    [netstack]="sysconfig common"
    [ping]="launch ui common"
    [main_window]="ping netstack sysconfig tuning launch ui common"
    [monitor]="ping launch ui common"
    [win32]="monitor main_window ping netstack sysconfig tuning launch ui common"
)
windows_headers='windows|winsock2|ws2tcpip|iphlpapi|icmpapi|commctrl|commdlg|shellapi|shlobj|objbase|mmsystem|winreg|winuser|wtsapi32|powrprof'

allows() {  # FROM TO -> true when FROM names TO among the layers it may include
    [[ " ${may_include[$1]} " == *" $2 "* ]]
}
reaches() {  # FROM TO -> true when a path of allowed edges leads from FROM to TO
    local next
    for next in ${may_include[$1]}; do
        [ "$next" = "$2" ] && return 0
        reaches "$next" "$2" && return 0
    done
    return 1
}

faults=0
refuse() {
    echo "layers: $1"
    faults=$((faults + 1))
}

# The graph itself: every edge leads to a layer, and none leads back to where it began.
for layer in "${!may_include[@]}"; do
    for next in ${may_include[$layer]}; do
        [ -n "${may_include[$next]+set}" ] || refuse "$layer may include $next, which is no layer"
    done
    if reaches "$layer" "$layer"; then
        refuse "the allowed edges make a circle through $layer"
    fi
done

for dir in "$src"/*/; do
    layer=$(basename "$dir")
    if [ -z "${may_include[$layer]+set}" ]; then
        refuse "src/$layer is no layer (known: ${!may_include[*]})"
        continue
    fi
    while IFS=: read -r file line included; do
        [ -n "$file" ] || continue
        where="src/${file#"$src"/}:$line"
        if [ -z "${may_include[$included]+set}" ]; then
            refuse "$where includes \"$included/...\", which is no layer"
        elif [ "$included" = "$layer" ] || allows "$layer" "$included"; then
            continue
        elif reaches "$included" "$layer"; then
            refuse "$where: $layer includes $included, a layer above it"
        else
            refuse "$where: $layer includes $included, no edge of the graph ($layer may include: ${may_include[$layer]:-nothing})"
        fi
    done < <(grep -rnoE '^#include "[a-z_0-9]+/' "$dir" | sed -E 's|#include "([a-z_0-9]+)/$|\1|')
    if [ "$layer" != win32 ]; then
        while read -r hit; do
            [ -n "$hit" ] && refuse "src/${hit#"$src"/}: a Windows header outside src/win32"
        done < <(grep -rnE "^#include <($windows_headers)\.h>" "$dir" || true)
    fi
done

# The companion opens none of the main window's windows: the graph keeps monitor from
# main_window, and this keeps the companion's Windows folder from the main window's.
while read -r hit; do
    [ -n "$hit" ] && refuse "src/${hit#"$src"/}: the companion reaches into the main window"
done < <(grep -rnE '^#include "(main_window|win32/zorvane)/' "$src/win32/vigilo" || true)

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
    echo "layers: $faults fault(s) against the allowed edges"
    exit 1
fi
echo "layers: every include of $(find "$src" -name '*.cpp' -o -name '*.h' | wc -l) files follows the allowed edges"
