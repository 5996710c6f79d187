#!/bin/bash
# Unpacks Debian 13's Wine 10 into build/wine10 for the 32-bit build: Debian 12's Wine runs 32-bit programs but
# never shows their windows. It comes from Debian's own archive through a private apt configuration and is
# unpacked beside the system's Wine, not installed: nothing of the system changes. Does nothing once it is there.
# Exits 3 when Debian's archive no longer has the versions pinned here.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/apt-index.sh"
dest=$root/build/wine10
# The versions seen working together; the archive keeps only the current ones of a suite.
wine_version=10.0~repack-6
libc_version=2.41-12+deb13u5
packages=("libwine:amd64=$wine_version" "libwine:i386=$wine_version" "wine64:amd64=$wine_version"
          "wine:all=$wine_version" "libc6:amd64=$libc_version")
# The repairs below write absolute paths, so a moved tree is prepared again.
stamp="wine $wine_version, libc6 $libc_version, in $dest"

ready() { [[ $(cat "$dest/.ready" 2>/dev/null) == "$stamp" ]]; }
ready && exit 0

mkdir -p "$root/build"
exec 9>"$root/build/.fetch-wine10.lock"
flock 9
ready && exit 0

work=$(mktemp -d "$root/build/wine10.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
chmod 755 "$work"   # apt's download user must reach its lists

# The machine's own Debian mirror and keyring, suite trixie; lists and cache of its own, so the system's apt
# state is untouched.
uri=http://deb.debian.org/debian keyring=/usr/share/keyrings/debian-archive-keyring.gpg
if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
  uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources | head -n 1)
  keyring=$(sed -n 's/^Signed-By: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources | head -n 1)
fi
mkdir -p "$work/lists/partial" "$work/cache" "$work/debs"
printf 'Types: deb\nURIs: %s\nSuites: trixie\nComponents: main\nArchitectures: amd64 i386\nSigned-By: %s\n' \
  "$uri" "$keyring" > "$work/trixie.sources"
apt=(apt-get -q -y -o "Dir::Etc::sourcelist=$work/trixie.sources" -o Dir::Etc::sourceparts=-
     -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o APT::Architectures::=i386)
echo "Fetching Wine $wine_version from Debian 13 (trixie) into $dest"
update_package_index "${apt[@]}" >"$work/apt.log" 2>&1
if ! (cd "$work/debs" && "${apt[@]}" download "${packages[@]}" </dev/null >>"$work/apt.log" 2>&1); then
  grep -E '^E:' "$work/apt.log" >&2 || true
  echo "fetch-wine10: Debian's archive (trixie) no longer has the versions pinned in tools/fetch-wine10.sh:" \
       "${packages[*]}" >&2
  exit 3
fi

cd "$work"
for deb in debs/libwine_*_amd64.deb debs/libwine_*_i386.deb debs/wine64_*.deb debs/wine_*.deb; do
  dpkg-deb -x "$deb" root
done
dpkg-deb -x debs/libc6_*.deb glibc
bin=root/usr/lib/wine
libc=$dest/glibc/usr/lib/x86_64-linux-gnu
[[ -x $bin/wine64 && -x $bin/wineserver64 && -f glibc/usr/lib/x86_64-linux-gnu/ld-linux-x86-64.so.2 ]] ||
  { echo "fetch-wine10: the packages have an unexpected layout" >&2; exit 1; }

# Wine 10 needs a newer C library than this system's: its two programs load the unpacked one (their children
# inherit it). Wine finds its own files from /proc/self/exe, so starting it through that loader would not do.
patchelf --set-interpreter "$libc/ld-linux-x86-64.so.2" --force-rpath --set-rpath "$libc" "$bin/wine64" "$bin/wineserver64"
# The wrapper names the system's folder, whose Wine 8 server every Wine 10 client would refuse.
sed -i "s|/usr/lib/wine/|$dest/root/usr/lib/wine/|g" "$bin/wineserver"
# WoW64 looks for the 32-bit DLLs beside the 64-bit ones. (WINEDLLPATH must stay unset: with it the 32-bit display
# driver looks for its Unix half in the wrong folder.)
rm -rf root/usr/lib/x86_64-linux-gnu/wine/i386-windows
ln -s ../../i386-linux-gnu/wine/i386-windows root/usr/lib/x86_64-linux-gnu/wine/i386-windows
# user32 needs zlib1.dll, which the package's install script would have made from mingw's: a builtin DLL is the
# same file with Wine's mark at byte 64.
for pair in i686:i386-linux-gnu/wine/i386-windows x86_64:x86_64-linux-gnu/wine/x86_64-windows; do
  out=root/usr/lib/${pair#*:}/zlib1.dll
  { head -c 64 "/usr/${pair%%:*}-w64-mingw32/lib/zlib1.dll"; printf 'Wine builtin DLL'; head -c 16 /dev/zero
    tail -c +97 "/usr/${pair%%:*}-w64-mingw32/lib/zlib1.dll"; } > "$out"
done

rm -rf debs lists cache
cd "$root"
rm -rf -- "$dest"
mv "$work" "$dest"
trap - EXIT
version=$("$dest/root/usr/lib/wine/wine64" --version 2>&1) || true
[[ $version == wine-10.* ]] || { echo "fetch-wine10: the unpacked Wine does not start: $version" >&2; exit 1; }
echo "$stamp" > "$dest/.ready"
