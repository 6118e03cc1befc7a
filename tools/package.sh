#!/usr/bin/env bash
# Builds both Windows builds and packs each into dist/: a setup, a Windows Installer
# package and a portable zip.
#   dist/Zorvane-<version>-x64-setup.exe   dist/Zorvane-<version>-x64.msi   (and -x64.zip)
#   dist/Zorvane-<version>-x86-setup.exe   dist/Zorvane-<version>-x86.msi   (and -x86.zip)
# Fails when a setup outgrows its budget or a program or setup lacks the version resource
# of this version, and when a Windows Installer package fails the checks of
# tools/make-setup.sh: among them, that its product code, upgrade code and version are those
# of the package of this version already in dist/, and that it holds the same files and
# tables (a changed build needs a new version: Windows Installer refuses a second package of
# one version with 1638 on the machines that have the first). Every package is made and
# checked in a staging folder and moved into dist/ only when all six passed, so dist/ never
# holds one that failed its checks.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
"$repo/tools/deps.sh"
"$repo/tools/build.sh" --windows-only
version=$(sed -n 's/^project(Zorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
largest_setup=$((1536 * 1024))
shipped=(Zorvane.exe vigilo.exe TIPs.TXT Ping.wav Help)

# A grep -P pattern for the UTF-16 text of a version resource string: the key, its NUL,
# the padding to 32 bits when there is one, then the value and its NUL.
utf16() { printf '%s' "$1" | sed 's/[^.]/&\\x{00}/g; s/\./\\.\\x{00}/g'; }
version_string() {  # KEY VALUE
    printf '%s\\x{00}\\x{00}(\\x{00}\\x{00})?%s\\x{00}\\x{00}' "$(utf16 "$1")" "$(utf16 "$2")"
}
check_version() {  # FILE
    local key
    for key in "ProductName Zorvane" "ProductVersion $version" "FileVersion $version"; do
        if ! LC_ALL=C grep -qaP "$(version_string "${key% *}" "${key#* }")" "$1"; then
            echo "package: $1 has no version resource string ${key% *} \"${key#* }\"" >&2
            exit 1
        fi
    done
}

mkdir -p dist
staging=$(mktemp -d "$repo/dist/.staging.XXXXXX")  # beside dist/, so that mv only renames
trap 'rm -rf "$staging"' EXIT
for arch in x64 x86; do
    app=build/win/app
    [ "$arch" = x86 ] && app=build/win32/app
    setup="$staging/Zorvane-$version-$arch-setup.exe"
    zip="$staging/Zorvane-$version-$arch.zip"
    msi="Zorvane-$version-$arch.msi"
    check_version "$app/Zorvane.exe"
    check_version "$app/vigilo.exe"
    "$repo/tools/make-setup.sh" "$arch" "$app" "$version" "$setup"
    check_version "$setup"
    size=$(stat -c %s "$setup")
    if [ "$size" -gt "$largest_setup" ]; then
        echo "package: $(basename "$setup") is $size bytes, more than $largest_setup" >&2
        exit 1
    fi
    "$repo/tools/make-setup.sh" "$arch" "$app" "$version" "$staging/$msi" "dist/$msi"
    # The zip unpacks to one folder, the programs and their files as the setup installs them.
    stage="$staging/unpacked"
    mkdir -p "$stage/Zorvane"
    for f in "${shipped[@]}"; do cp -r "$app/$f" "$stage/Zorvane/"; done
    (cd "$stage" && zip -q -r -X "$zip" Zorvane)
    rm -rf "$stage"
done
mv -f "$staging"/* dist/
ls -l dist
