#!/bin/bash
# Configures a Corvadin build dir with Ninja:  tools/configure.sh <builddir> <x64|x86> [display]
# x64 is the Debug build the tests and demos run in; x86 is the shipped 32-bit build, configured as Release so
# its tests exercise what ships. The display (default :99 for x64, :98 for x86) is the Xvfb its windows go to;
# give each of your own build dirs its own. CORVADIN_BUILD_TYPE overrides the build type.
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
# Only running the 32-bit build's programs needs it; building does not.
if [[ $arch == x86 ]] && ! "$root/tools/fetch-wine10.sh"; then
  echo "configure: Wine 10 could not be fetched: build/x86's programs cannot run here" >&2
fi

args=(-G Ninja -S "$root" -B "$build_dir"
      "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-$triple.cmake"
      "-DCMAKE_BUILD_TYPE=${CORVADIN_BUILD_TYPE:-$build_type}")
[[ -n $display ]] && args+=("-DCORVADIN_DISPLAY=$display")
cmake "${args[@]}"
