#!/usr/bin/env bash
# Makes the setup of one Windows build: OUT_FILE.exe, the setup program, with NSIS
# (installer/zorvane.nsi); OUT_FILE.msi, the Windows Installer package, with wixl
# (installer/zorvane.wxs, then installer/zorvane-msi.sql).
# A package is checked with msiinfo for what deployment tools rely on: the product code
# (derived from the build and the version, so every build of one version has the same), the
# upgrade code, the version, a per-machine install, the Upgrade table, and the size. Its
# package code is derived from its tables and files: made again from the same ones, it is
# the same package, which Windows Installer takes as already installed. With PREVIOUS.msi
# (when that file exists), its codes and version must match too, the package code included:
# a package of one version with other contents would end with 1638 on the machines that
# have the first, so it is refused. The package appears as OUT_FILE only when every check
# passed.
# usage: make-setup.sh x64|x86 APP_DIR VERSION OUT_FILE [PREVIOUS.msi]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
arch=$1
app=$(cd "$2" && pwd)
version=$3
out=$(realpath -m "$4")
mkdir -p "$(dirname "$out")"
if [ "${out##*.}" != msi ]; then
    makensis -V2 -DARCH="$arch" -DVERSION="$version" -DAPP_DIR="$app" -DOUT_FILE="$out" \
        "$repo/installer/zorvane.nsi"
    exit 0
fi
previous=${5:-}
largest=$((1536 * 1024))
upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9A-F-]*\)".*/\1/p' "$repo/installer/zorvane.wxs")
# A name-based code: the MD5 of a text, laid out as a GUID.
guid_of() {  # TEXT
    printf '%s' "$1" | md5sum |
        sed 's/^\(.\{8\}\)\(.\{4\}\)\(.\{4\}\)\(.\{4\}\)\(.\{12\}\).*/\1-\2-\3-\4-\5/' |
        tr a-f A-F
}
product_code=$(guid_of "Zorvane $arch $version")
ping_cfg_attributes=128  # never overwrite
system_folder=SystemFolder
other_arch_id=64  # the component codes of the other build end in it
if [ "$arch" = x64 ]; then
    ping_cfg_attributes=$((128 + 256))  # and 64-bit
    system_folder=System64Folder
    other_arch_id=86
fi

fail() { echo "make-setup: $(basename "$out"): $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The companion's defaults, as the setup writes them.
printf 'PingAutomatic,#TRUE#\r\nPingHost,www.wikipedia.org\r\nPingInterval,5\r\nPingSound,#FALSE#\r\n' \
    >"$work/Ping.cfg"
msi="$work/package.msi"
# wixl takes the files by paths relative to the source's folder.
cp "$repo/installer/zorvane.wxs" "$repo/src/win32/zorvane/zorvane.ico" "$work/"
ln -s "$app" "$work/app"
(cd "$work" && wixl -a "$arch" -D Arch="$arch" -D Version="$version" \
    -D ProductCode="$product_code" -D AppDir=app -D PingCfg=Ping.cfg -D Icon=zorvane.ico \
    -o package.msi zorvane.wxs) 2> >(grep -v 'builder.vala:[0-9]*: unimplemented' >&2)
# The statements of the file, comments left out, each on one line.
statements=$(awk '!/^--/ && NF {sub(/^ +/, ""); s = s (s == "" ? "" : " ") $0}
                  /;$/ {sub(/;$/, "", s); print s; s = ""}' "$repo/installer/zorvane-msi.sql")
while IFS= read -r statement; do
    statement=${statement//@VERSION@/$version}
    statement=${statement//@UPGRADE_CODE@/$upgrade_code}
    statement=${statement//@PING_CFG_ATTRIBUTES@/$ping_cfg_attributes}
    statement=${statement//@SYSTEM_FOLDER@/$system_folder}
    statement=${statement//@OTHER_ARCH_ID@/$other_arch_id}
    msibuild "$msi" -q "$statement" || fail "wixl's package refused: $statement"
done <<<"$statements"

# What the package holds: its tables but the summary information, and its files.
contents_digest() {  # MSI
    local folder="$work/contents"
    rm -rf "$folder" && mkdir -p "$folder/files"
    (cd "$folder" && msidump -t "$1" >/dev/null && rm -f _SummaryInformation.idt)
    msiextract -C "$folder/files" "$1" >/dev/null
    (cd "$folder" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) | md5sum
}
template=$(msiinfo suminfo "$msi" | sed -n 's/^Template: //p')
package_code=$(guid_of "Zorvane package $(contents_digest "$msi")")
msibuild "$msi" -s "Zorvane $version ($arch)" "The Zorvane developers" "$template" \
    "{$package_code}" || fail "msibuild could not set the package code"

package_code_of() {  # MSI
    msiinfo suminfo "$1" | sed -n 's/^Revision number (UUID): //p'
}
property() {  # MSI NAME
    msiinfo export "$1" Property | awk -F'\t' -v name="$2" '$1 == name {print $2}' | tr -d '\r'
}
expect() {  # WHAT SEEN WANTED
    [ "$2" = "$3" ] || fail "$1 is \"$2\", not \"$3\""
}
expect ProductCode "$(property "$msi" ProductCode)" "{$product_code}"
expect UpgradeCode "$(property "$msi" UpgradeCode)" "{$upgrade_code}"
expect ProductVersion "$(property "$msi" ProductVersion)" "$version"
expect ALLUSERS "$(property "$msi" ALLUSERS)" 1
# Older versions and the other build of this one are replaced (VersionMax inclusive: 768),
# a newer version is only detected (2), so that the install refuses.
upgrade_rows=$(msiinfo export "$msi" Upgrade | tail -n +4 | tr -d '\r' | LC_ALL=C sort)
expect "the Upgrade table" "$upgrade_rows" \
    "$(printf '{%s}\t0.0\t%s\t\t768\t\tOLDERFOUND\n{%s}\t%s\t\t\t2\t\tNEWERFOUND' \
        "$upgrade_code" "$version" "$upgrade_code" "$version")"
size=$(stat -c %s "$msi")
[ "$size" -le "$largest" ] || fail "$size bytes, more than $largest"
if [ -n "$previous" ] && [ -f "$previous" ]; then
    for name in ProductCode UpgradeCode ProductVersion; do
        expect "$name" "$(property "$msi" "$name")" "$(property "$previous" "$name")"
    done
    [ "$(package_code_of "$msi")" = "$(package_code_of "$previous")" ] ||
        fail "$previous holds other files or tables of version $version: give this build a" \
            "new version in CMakeLists.txt (machines that have the first would refuse this" \
            "one with 1638)"
fi
mv -f "$msi" "$out"
