#!/bin/bash
# Installs the Debian packages Corvadin's build and tests need; does nothing when all are present.
set -euo pipefail

packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 wine wine64 xvfb xauth
          imagemagick xdotool ninja-build cmake nsis googletest procps util-linux patchelf libz-mingw-w64)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

sudo=()
[[ $(id -u) == 0 ]] || sudo=(sudo)
echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Wait for another apt run to finish instead of failing on its lock.
apt=("${sudo[@]}" apt-get -q -y -o DPkg::Lock::Timeout=900)
"${apt[@]}" update </dev/null
"${apt[@]}" install "${missing[@]}" </dev/null
