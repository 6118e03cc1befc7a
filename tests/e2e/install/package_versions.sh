#!/usr/bin/env bash
# tools/make-setup.sh keeps one package per version and build: made again from the same
# files, a package is the same package (its package code too, so that Windows Installer
# takes it as installed already); made from other files with the same version beside the
# first, it is refused, as machines that have the first would refuse it with 1638.
# usage: package_versions.sh APP_DIR
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_package() {  # APP_DIR OUT [PREVIOUS]
    "$repo/tools/make-setup.sh" x64 "$1" 0.2 "$work/$2" ${3:+"$work/$3"}
}
package_code() {  # MSI
    msiinfo suminfo "$work/$1" | sed -n 's/^Revision number (UUID): //p'
}
failed=0
make_package "$1" first.msi
make_package "$1" again.msi first.msi
if [ "$(package_code first.msi)" != "$(package_code again.msi)" ]; then
    echo "made again: package code $(package_code again.msi), not $(package_code first.msi)"
    failed=1
fi
cp -r "$1" "$work/changed"
printf 'A tip added.\r\n' >>"$work/changed/TIPs.TXT"
if make_package "$work/changed" changed.msi first.msi 2>"$work/refusal"; then
    echo "made from other files: not refused (package code $(package_code changed.msi))"
    failed=1
elif ! grep -q 1638 "$work/refusal" || [ -e "$work/changed.msi" ]; then
    echo "made from other files: refused with \"$(cat "$work/refusal")\"; expected it to" \
        "name 1638 and leave no package"
    failed=1
fi
[ "$failed" = 0 ] && echo "one package per version: passed"
exit "$failed"
