#!/bin/bash
# Configures a Corvadin build dir with Ninja:  tools/configure.sh <builddir> <x64|x86> [display]
# x64 is the Debug build the tests and demos run in; x86 is the shipped 32-bit build, configured as Release so
# its tests exercise what ships. The display (default :99 for x64, :98 for x86) is the Xvfb its windows go to;
# give each of your own build dirs its own. CORVADIN_BUILD_TYPE overrides the build type. An x86 build dir takes
# the 64-bit programs for its setup file from a 64-bit Release build dir (see below).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: tools/configure.sh <builddir> <x64|x86> [display, e.g. :97]" >&2; exit 2; }
(($# == 2 || $# == 3)) || usage
build_dir=$1 arch=$2 display=${3:-}

case $arch in
  x64) triple=x86_64-w64-mingw32 build_type=Debug ;;
  x86) triple=i686-w64-mingw32 build_type=Release ;;
  *) usage ;;
esac
[[ -z $display || $display =~ ^:[0-9]+$ ]] || usage

"$root/tools/install-deps.sh"

args=(-G Ninja -S "$root" -B "$build_dir"
      "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-$triple.cmake"
      "-DCMAKE_BUILD_TYPE=${CORVADIN_BUILD_TYPE:-$build_type}")
[[ -n $display ]] && args+=("-DCORVADIN_DISPLAY=$display")
# The one setup file of the 32-bit build packs the 64-bit programs too. They ship, so they come from a Release
# build of their own inside it (configured here when missing; the installer target builds what it needs), not
# from the Debug build the tests run in; CORVADIN_X64_BUILD_DIR names another.
if [[ $arch == x86 ]]; then
  x64_dir=$(realpath -m "${CORVADIN_X64_BUILD_DIR:-$build_dir/x64-release}")
  [[ -f $x64_dir/CMakeCache.txt ]] || CORVADIN_BUILD_TYPE=Release "$root/tools/configure.sh" "$x64_dir" x64
  args+=("-DCORVADIN_X64_BUILD_DIR=$x64_dir")
fi
cmake "${args[@]}"
