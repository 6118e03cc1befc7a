#!/usr/bin/env bash
# Refuses a C++ file of src/ or tests/ that clang-format (the repo's .clang-format) would
# change, naming each one with the first lines it would change. Reads; writes nothing.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
mapfile -d '' files < <(find src tests \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "format: run clang-format -i on the files named above"
    exit 1
fi
echo "format: ${#files[@]} files as clang-format lays them out"
