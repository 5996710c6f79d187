#!/bin/bash
# Corvadin's test command: installs what is missing, builds build/x64 and build/x86, and runs their tests under
# Wine, the 32-bit build's under the Wine 10 of tools/fetch-wine10.sh. Exits non-zero on any failure.
# CORVADIN_REQUIRE_32BIT=1 makes it fail, rather than warn, where this machine cannot run 32-bit programs.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
started=$SECONDS
builds=(x64 x86)

step() { printf '\n== %s\n' "$*"; }
fail() { printf '\ntools/test.sh: %s\n' "$*" >&2; exit 1; }

# Stop this run's wineservers and the Xvfb servers its builds started, however it ends.
stop_wine() {
  local arch
  for arch in "${builds[@]}"; do
    [[ -x build/$arch/wine-exec.sh ]] && build/$arch/wine-exec.sh --stop
  done
}
trap stop_wine EXIT

step "Packages"
tools/install-deps.sh || fail "could not install the packages"

for arch in "${builds[@]}"; do
  step "Configuring and building build/$arch"
  mkdir -p build
  tools/configure.sh "build/$arch" "$arch" >"build/configure-$arch.log" 2>&1 ||
    { cat "build/configure-$arch.log"; fail "configuring build/$arch failed"; }
  cmake --build "build/$arch" || fail "building build/$arch failed"
  # The installer's own tests skip where the build made none, so its absence must fail here.
  setup=build/$arch/Corvadin-Setup.exe
  [[ $arch == x64 ]] && setup=build/$arch/Corvadin-Setup-x64.exe
  [[ -f $setup ]] || fail "building build/$arch made no $setup (is nsis installed?)"
done

# Wine runs 32-bit programs only where its Wine 10 could be fetched (tools/configure.sh tries) and the kernel can run
# 32-bit code; elsewhere they cannot start and every test would fail for a reason that has nothing to do with
# Corvadin.
x86_note=$(source tools/wine-env.sh && wine_env build/x86 && wine_missing)
if [[ -n $x86_note ]]; then
  x86_note="NOT RUN: $x86_note; build/configure-x86.log says why it could not be fetched; build/x86 was only built"
  builds=(x64)
fi

# Brought up before any test, so that no test's output is inherited by Wine's background processes.
step "Starting Xvfb and Wine"
for arch in "${builds[@]}"; do
  build/$arch/wine-exec.sh --prepare &
done
for arch in "${builds[@]}"; do
  wait -n || fail "could not start Xvfb or Wine"
done

run_ctest() {
  local arch=$1
  step "Tests of build/$arch"
  ctest --test-dir "build/$arch" --output-on-failure --no-tests=error 2>&1 | tee "build/$arch/ctest.log"
  return "${PIPESTATUS[0]}"
}

status=0
run_ctest x64 || status=1

if [[ -z $x86_note ]] && ! timeout 120 build/x86/wine-exec.sh build/x86/tests/harness/harness_test.exe \
     --gtest_list_tests 2>/dev/null | grep -q 'RunsAsTheBuildsBitness'; then
  x86_note="NOT RUN: this machine cannot run 32-bit Windows programs (its kernel lacks 32-bit support); build/x86 was only built"
fi
if [[ -z $x86_note ]]; then
  run_ctest x86 || status=1
else
  [[ ${CORVADIN_REQUIRE_32BIT:-0} == 1 ]] && status=1
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
echo "tools/test.sh took $((SECONDS - started)) s"
exit "$status"
