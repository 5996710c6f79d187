#!/bin/bash
# Corvadin's test command: installs what is missing, builds build/x64 and build/x86, and runs their tests under
# Wine, the 32-bit build's under the Wine 10 of tools/fetch-wine10.sh. Exits non-zero on any failure.
# Where this machine cannot run 32-bit code, build/x86 builds only what ships (the programs and the setup file, with
# warnings as errors) and its tests are not built; CORVADIN_REQUIRE_32BIT=1 makes that a failure rather than a note.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
started=$SECONDS

step() { printf '\n== %s\n' "$*"; }
fail() { printf '\ntools/test.sh: %s\n' "$*" >&2; exit 1; }

# Each phase's name and seconds, for the summary.
phase_names=() phase_seconds=()
timed() {
  local name=$1 begun=$SECONDS status
  shift
  "$@"
  status=$?
  phase_names+=("$name")
  phase_seconds+=($((SECONDS - begun)))
  return "$status"
}

# A process and all it started.
kill_tree() {
  local child
  for child in $(pgrep -P "$1"); do
    kill_tree "$child"
  done
  kill "$1" 2>/dev/null
}

# Stop a build still running, this run's wineservers and the Xvfb servers its builds started, however it ends.
stop_all() {
  local arch
  [[ -n ${x86_build:-} ]] && kill_tree "$x86_build"
  for arch in x64 x86; do
    [[ -x build/$arch/wine-exec.sh ]] && build/$arch/wine-exec.sh --stop
  done
}
trap stop_all EXIT

step "Packages"
timed "packages" tools/install-deps.sh || fail "could not install the packages"

# The 32-bit tests need a kernel that runs 32-bit code and the Wine 10 that shows 32-bit windows; without either
# they could only fail, so neither Wine 10 nor the tests are fetched or built.
x86_note=""
if ! (source tools/wine-env.sh && kernel_runs_32bit); then
  x86_note="NOT RUN: this machine's kernel runs no 32-bit code; build/x86 built only what ships"
else
  step "Wine 10 for the 32-bit tests"
  timed "Wine 10" tools/fetch-wine10.sh ||
    x86_note="NOT RUN: Wine 10 could not be fetched (see above); build/x86 built only what ships"
fi

# Once per build dir (with build/x86 its 64-bit Release build): after that Ninja reruns CMake itself when a
# CMakeLists.txt changes.
configure() {
  local arch=$1
  [[ -f build/$arch/build.ninja && ($arch == x64 || -f build/$arch/x64-release/build.ninja) ]] && return 0
  mkdir -p build
  tools/configure.sh "build/$arch" "$arch" >"build/configure-$arch.log" 2>&1 ||
    { cat "build/configure-$arch.log"; fail "configuring build/$arch failed"; }
}

# The installer's own tests skip where the build made none, so its absence must fail here.
check_setup() {
  local setup=build/$1/Corvadin-Setup.exe
  [[ $1 == x64 ]] && setup=build/$1/Corvadin-Setup-x64.exe
  [[ -f $setup ]] || fail "building build/$1 made no $setup (is nsis installed?)"
}

step "Configuring and building build/x64"
timed "configure x64" configure x64
timed "build x64" cmake --build build/x64 || fail "building build/x64 failed"
check_setup x64

# build/x86 builds while the 64-bit tests run, at a lower priority: the tests mostly wait for the wineserver, so
# the build takes the processor time they leave. Its output goes to build/x86-build.log.
build_x86() {
  local begun=$SECONDS target=()
  [[ -n $x86_note ]] && target=(--target installer)
  configure x86 && nice -n 10 cmake --build build/x86 "${target[@]}"
  local status=$?
  echo $((SECONDS - begun)) > build/x86-build.seconds
  return "$status"
}
step "Configuring and building build/x86 beside the 64-bit tests (build/x86-build.log)"
build_x86 >build/x86-build.log 2>&1 &
x86_build=$!

# Brought up before any test, so that no test's output is inherited by Wine's background processes.
step "Starting Xvfb and Wine"
timed "Xvfb and Wine x64" build/x64/wine-exec.sh --prepare || fail "could not start Xvfb or Wine"

# One test at a time: many plant entries in the system's own keys, which another test's scan would see.
run_ctest() {
  local arch=$1
  step "Tests of build/$arch"
  ctest --test-dir "build/$arch" --output-on-failure --no-tests=error 2>&1 | tee "build/$arch/ctest.log"
  return "${PIPESTATUS[0]}"
}

status=0
timed "tests x64" run_ctest x64 || status=1

step "Waiting for build/x86"
waited=$SECONDS
wait "$x86_build" || { x86_build=""; tail -n 60 build/x86-build.log; fail "building build/x86 failed"; }
x86_build=""
phase_names+=("configure and build x86${x86_note:+ (shipped only)}")
phase_seconds+=("$(cat build/x86-build.seconds)")
phase_names+=("  of which after the tests")
phase_seconds+=($((SECONDS - waited)))
check_setup x86

if [[ -z $x86_note ]]; then
  timed "Xvfb and Wine x86" build/x86/wine-exec.sh --prepare || fail "could not start Xvfb or Wine for build/x86"
fi
# The kernel may run 32-bit code while this Wine still cannot.
if [[ -z $x86_note ]] && ! timeout 120 build/x86/wine-exec.sh build/x86/tests/harness/harness_test.exe \
     --gtest_list_tests 2>/dev/null | grep -q 'RunsAsTheBuildsBitness'; then
  x86_note="NOT RUN: Wine cannot run this build's 32-bit programs here; build/x86 was only built"
fi
if [[ -z $x86_note ]]; then
  timed "tests x86" run_ctest x86 || status=1
elif [[ ${CORVADIN_REQUIRE_32BIT:-0} == 1 ]]; then
  status=1
fi

step "Summary"
echo "64-bit:"
sed -n '/tests passed/,$p' build/x64/ctest.log
echo "32-bit:"
if [[ -n $x86_note ]]; then
  echo "$x86_note (the programs and the setup file)"
else
  sed -n '/tests passed/,$p' build/x86/ctest.log
fi
echo
for i in "${!phase_names[@]}"; do
  printf '%-40s %6d s\n' "${phase_names[i]}" "${phase_seconds[i]}"
done
printf '%-40s %6d s\n' "tools/test.sh took" $((SECONDS - started))
exit "$status"
