#!/bin/bash
# Installs the Debian packages Corvadin's build and tests need; does nothing when all are present.
set -euo pipefail

source "$(dirname "$0")/apt-index.sh"

# dillo is the web browser Wine hands the help pages to (Wine's winebrowser tries it when no desktop's is there).
# wixl builds the small Windows Installer package a scanner test installs.
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 wine wine64 xvfb xauth
          imagemagick xdotool ninja-build cmake ccache nsis googletest procps util-linux patchelf libz-mingw-w64
          dillo wixl)

# The packages among the arguments that are not installed, one a line.
not_installed() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
  done
}

mapfile -t missing < <(not_installed "${packages[@]}")
((${#missing[@]} == 0)) && exit 0

sudo=()
[[ $(id -u) == 0 ]] || sudo=(sudo)
echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Wait for another apt run to finish instead of failing on its lock.
apt=("${sudo[@]}" apt-get -q -y -o DPkg::Lock::Timeout=900)
update_package_index "${apt[@]}"
if ! "${apt[@]}" install "${missing[@]}" </dev/null; then
  echo "tools/install-deps.sh: could not install $(not_installed "${missing[@]}" | xargs)" \
       "(apt-get's messages above say why)" >&2
  exit 1
fi
