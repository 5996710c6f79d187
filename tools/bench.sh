#!/bin/bash
# The scan benchmark under Wine: builds corvadin-bench in a configured x64 build dir and runs it.
#   tools/bench.sh <builddir> [sizes]     e.g. tools/bench.sh build/x64                    (1,000 entries, quick)
#                                              tools/bench.sh build/x64 1000,10000,100000   (the full table)
# It plants into the Wine prefix of that build dir and removes what it planted after each size. Not part of the
# tests: its times depend on the machine.
set -euo pipefail
build_dir=${1:?usage: tools/bench.sh <builddir> [sizes]}
sizes=${2:-1000}
cmake --build "$build_dir" --target corvadin-bench
"$build_dir/wine-exec.sh" "$build_dir/testsupport/corvadin-bench.exe" --sizes "$sizes"
