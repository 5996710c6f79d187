#!/bin/bash
# Corvadin's test command: installs what is missing, builds build/x64 and build/x86, and runs their tests under
# Wine, the 32-bit build's under the Wine 10 of tools/fetch-wine10.sh. Exits non-zero on any failure.
# Where this machine cannot run 32-bit code, build/x86 builds only what ships (the programs and the setup file, with
# warnings as errors) and its tests are not built; CORVADIN_REQUIRE_32BIT=1 makes that a failure rather than a note.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
started=$SECONDS
builds=(x64)

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

# Stop this run's wineservers and the Xvfb servers its builds started, however it ends.
stop_wine() {
  local arch
  for arch in x64 x86; do
    [[ -x build/$arch/wine-exec.sh ]] && build/$arch/wine-exec.sh --stop
  done
}
trap stop_wine EXIT

step "Packages"
timed "packages" tools/install-deps.sh || fail "could not install the packages"

# The 32-bit tests need a kernel that runs 32-bit code and the Wine 10 that shows 32-bit windows; without either
# they could only fail, so neither Wine 10 nor the tests are fetched or built.
x86_note=""
shipped_only="build/x86 built only what ships (the programs and the setup file)"
if ! (source tools/wine-env.sh && kernel_runs_32bit); then
  x86_note="NOT RUN: this machine's kernel runs no 32-bit code; $shipped_only"
else
  step "Wine 10 for the 32-bit tests"
  timed "Wine 10" tools/fetch-wine10.sh || x86_note="NOT RUN: Wine 10 could not be fetched (see above); $shipped_only"
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

for arch in x64 x86; do
  step "Configuring and building build/$arch"
  timed "configure $arch" configure "$arch"
  if [[ $arch == x86 && -n $x86_note ]]; then
    timed "build $arch (shipped only)" cmake --build "build/$arch" --target installer ||
      fail "building build/$arch failed"
  else
    timed "build $arch" cmake --build "build/$arch" || fail "building build/$arch failed"
  fi
  # The installer's own tests skip where the build made none, so its absence must fail here.
  setup=build/$arch/Corvadin-Setup.exe
  [[ $arch == x64 ]] && setup=build/$arch/Corvadin-Setup-x64.exe
  [[ -f $setup ]] || fail "building build/$arch made no $setup (is nsis installed?)"
done
[[ -z $x86_note ]] && builds+=(x86)

# Brought up before any test, so that no test's output is inherited by Wine's background processes.
start_wine() {
  local arch
  for arch in "${builds[@]}"; do
    build/$arch/wine-exec.sh --prepare &
  done
  for arch in "${builds[@]}"; do
    wait -n || fail "could not start Xvfb or Wine"
  done
}
step "Starting Xvfb and Wine"
timed "Xvfb and Wine" start_wine

# One test at a time: many plant entries in the system's own keys, which another test's scan would see.
run_ctest() {
  local arch=$1
  step "Tests of build/$arch"
  ctest --test-dir "build/$arch" --output-on-failure --no-tests=error 2>&1 | tee "build/$arch/ctest.log"
  return "${PIPESTATUS[0]}"
}

status=0
timed "tests x64" run_ctest x64 || status=1

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
  echo "$x86_note"
else
  sed -n '/tests passed/,$p' build/x86/ctest.log
fi
echo
for i in "${!phase_names[@]}"; do
  printf '%-28s %6d s\n' "${phase_names[i]}" "${phase_seconds[i]}"
done
printf '%-28s %6d s\n' "tools/test.sh took" $((SECONDS - started))
exit "$status"
