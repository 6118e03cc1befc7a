#!/usr/bin/env bash
# Installs what building and testing need on Debian, when it is missing.
set -euo pipefail
packages=(cmake make g++ libgtest-dev libgmock-dev clang-format
          g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools
          binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
          wine64 xvfb xauth imagemagick x11-apps x11-utils iproute2 procps util-linux coreutils
          e2fsprogs nsis zip  # chattr for the sandbox's locked folder; the setups and zips
          iptables  # the sandbox's routers that drop some packets
          nginx iperf3 iputils-ping ethtool curl  # the shaped network's servers and checks
          wixl msitools  # the Windows Installer packages, and their checks
          clang libclang-rt-dev)  # the last two: libFuzzer, for tools/fuzz.sh
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
# With their recommended packages: Wine draws with XRender and its own fonts.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
