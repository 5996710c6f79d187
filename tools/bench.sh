#!/bin/bash
# The scan benchmark under Wine: builds corvadin-bench and corvadin-cli in a configured x64 build dir and runs it.
#   tools/bench.sh <builddir> [sizes] [--even] [--keep] [--rounds N]
#   e.g. tools/bench.sh build/x64                 (1,000 entries, quick)
#        tools/bench.sh build/x64 10000,100000    (the usual table)
# Per size it prints the scan of each category against the bare walk, then rounds of the bare walk, the console
# scan and the console repair of every issue (each repair undone from its run's record), what the repair's backup
# files cost alone, their medians and the ratios: scan / bare walk, repair / scan and the repair without its backup
# files / scan.
# The default mix is a realistic one (a third COM classes, a sixth file classes, ...); --even plants the same number
# of every category. A million entries work too, but planting and removing them takes the better part of an hour.
# It plants into the Wine prefix of that build dir and removes what it planted after each size (--keep leaves the
# last one for a later run of the same size, e.g. of another build run in this prefix). Not part of the
# tests: its times depend on the machine.
set -euo pipefail
build_dir=${1:?usage: tools/bench.sh <builddir> [sizes] [--even] [--keep]}
sizes=${2:-1000}
shift $(($# < 2 ? $# : 2))
cmake --build "$build_dir" --target corvadin-bench corvadin-cli
"$build_dir/wine-exec.sh" "$build_dir/testsupport/corvadin-bench.exe" --sizes "$sizes" "$@"
