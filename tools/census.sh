#!/bin/bash
# What a full scan reports, in a Wine prefix of its own (never the build's test prefix):
#
#   tools/census.sh <builddir> fresh
#       boots a new prefix and scans it untouched; every issue is listed. Whatever a prefix nobody touched reports
#       must be something that is really missing there.
#   tools/census.sh <builddir> planted <valid> <broken>
#       plants that many valid and broken entries of every category into the same prefix (booted if need be),
#       scans, and fails unless every broken entry is reported and no valid one is; then removes them again.
#   tools/census.sh <builddir> stop
#       stops the prefix's wineserver (the other modes stop it when they end).
#
# Needs the x64 build's corvadin-census, corvadin-plant and corvadin-plant-target. Prints timings per scanner.
# A fresh census and a planted one with 20 entries of each kind take a few minutes together.
set -euo pipefail

usage() { echo "usage: tools/census.sh <builddir> fresh | planted <valid> <broken> | stop" >&2; exit 2; }
(($# >= 2)) || usage
build=$(cd "$1" && pwd)
mode=$2
[[ -x $build/wine-exec.sh ]] || { echo "census: $build is not a configured build dir" >&2; exit 2; }

source "$(dirname "$0")/wine-env.sh"
prefix=$build/census-prefix
work=$build/census-work
wine_env "$build" "$prefix"

run() { (cd "$work" && wine_run "$@"); }

boot() {
  if [[ $1 == new ]]; then
    wine_server_stop
    rm -rf -- "$prefix"
  fi
  mkdir -p -- "$prefix" "$work"
  "$build/wine-exec.sh" --prepare   # the build's display
  trap wine_server_stop EXIT
  local start=$SECONDS
  wine_boot -i
  echo "prefix $prefix ready in $((SECONDS - start)) s"
}

census() { run "$build/testsupport/corvadin-census.exe" "$@"; }

case $mode in
  fresh)
    (($# == 2)) || usage
    boot new
    rm -f -- "$work/Corvadin.ini"
    census --issues
    ;;
  planted)
    (($# == 4)) || usage
    [[ -d $prefix/drive_c ]] && boot existing || boot new
    plant() { run "$build/testsupport/corvadin-plant.exe" "$@"; }
    plant remove >/dev/null 2>&1 || true
    rm -f -- "$work/Corvadin.ini"
    status=0
    plant --ini 'Corvadin.ini' plant all "$3" "$4" || status=$?
    ((status == 0)) && { census --check-plant 'C:\CorvadinPlant' || status=$?; }
    plant remove || status=$?
    exit $status
    ;;
  stop) wine_server_stop ;;
  *) usage ;;
esac
