#!/bin/bash
# Unpacks Wine's 32-bit DLLs (libwine:i386) under build/ for the 32-bit build's WoW64 runs. Unpacked, not
# installed, so no 32-bit Linux runtime comes with them. Does nothing once they are there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/apt-index.sh"
dest=$root/build/libwine-i386
[[ -d $dest/usr/lib/i386-linux-gnu/wine/i386-windows ]] && exit 0

mkdir -p "$root/build"
exec 9>"$root/build/.fetch-wine32.lock"
flock 9
[[ -d $dest/usr/lib/i386-linux-gnu/wine/i386-windows ]] && exit 0

sudo=()
[[ $(id -u) == 0 ]] || sudo=(sudo)
apt=(apt-get -q -y -o DPkg::Lock::Timeout=900)
# The 32-bit DLLs must come from exactly the same Wine release as the 64-bit loader.
version=$(dpkg-query -W -f='${Version}' libwine:amd64)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
  update_package_index "${sudo[@]}" "${apt[@]}"
fi

work=$(mktemp -d "$root/build/libwine-i386.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
if ! (cd "$work" && "${apt[@]}" download "libwine:i386=$version" </dev/null); then
  update_package_index "${sudo[@]}" "${apt[@]}"
  (cd "$work" && "${apt[@]}" download "libwine:i386=$version" </dev/null) ||
    { echo "tools/fetch-wine32.sh: could not download libwine:i386=$version" >&2; exit 1; }
fi
dpkg-deb -x "$work"/libwine_*_i386.deb "$work/unpacked"
[[ -d $work/unpacked/usr/lib/i386-linux-gnu/wine/i386-windows ]] || { echo "libwine:i386 has an unexpected layout" >&2; exit 1; }
rm -rf -- "$dest"
mv "$work/unpacked" "$dest"
