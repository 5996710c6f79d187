#!/bin/bash
# Builds Corvadin and starts it under Wine:
#   tools/run.sh [--x86] [--scan [--maximised] | --popup | --settings] [--dpi 96|120|144|192]
# Installs what is missing, configures and builds build/x64 (with --x86 the shipped 32-bit program in build/x86, or
# $CORVADIN_BUILD_DIR either way) and runs Corvadin.exe.
# With a $DISPLAY the window opens there and the script waits for the program to end. Without one the program
# runs on the build's Xvfb: the script waits for the main window, saves a screenshot beside the program's build
# dir (corvadin-screenshot.png; with --scan it first presses Start Scanner and shoots once the scan is over,
# corvadin-scan-screenshot.png), then ends the program. --popup starts it as the log-on scan does (window hidden)
# and shoots the pop-up once the scan is over (corvadin-popup-screenshot.png); --settings opens the settings
# dialog from the menu and shoots it (corvadin-settings-screenshot.png); --maximised maximises the window after
# the scan, before the shot (corvadin-scan-maximised-screenshot.png). --dpi runs it at that scale (Wine's LogPixels, set back to
# 96 afterwards) and adds the DPI to the screenshot's name, as in corvadin-screenshot-192.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env.sh"
arch=x64 scan=0 dpi="" shot=main maximised=0
usage() {
  echo "usage: tools/run.sh [--x86] [--scan [--maximised] | --popup | --settings] [--dpi 96|120|144|192]" >&2
  exit 2
}
while (($#)); do
  case $1 in
    --x86) arch=x86 ;;
    --scan) scan=1 ;;
    --maximised) maximised=1 ;;
    --popup | --settings) shot=${1#--} ;;
    --dpi) [[ ${2:-} =~ ^(96|120|144|192)$ ]] || usage; dpi=$2; shift ;;
    *) usage ;;
  esac
  shift
done
build_dir=${CORVADIN_BUILD_DIR:-build/$arch}
[[ $build_dir == /* ]] || build_dir=$root/$build_dir

"$root/tools/install-deps.sh"
# At 200% the settings dialog alone is taller than 1024 pixels: such a scale goes with a screen of that size.
if [[ $dpi == 192 && -z ${CORVADIN_SCREEN:-} ]]; then
  export CORVADIN_SCREEN=2560x1600
fi
[[ $arch == x86 ]] && "$root/tools/fetch-wine10.sh"
[[ -f $build_dir/build.ninja ]] || "$root/tools/configure.sh" "$build_dir" "$arch" >/dev/null
cmake --build "$build_dir" --target Corvadin corvadin_desktop_keeper >/dev/null
program=$build_dir/app/Corvadin.exe
# The program reads .\Corvadin.ini and writes its log and rollback files in its current folder.
work=$build_dir/run
mkdir -p "$work"
cd "$work"

if [[ -n ${DISPLAY:-} ]]; then
  # A prefix of its own: the build's prefix belongs to the build's Xvfb.
  wine_env_for "$arch" "$DISPLAY" "$build_dir/wineprefix-display"
  exec "$wine_loader" "$program"
fi

wine_exec=$build_dir/wine-exec.sh
wine_env "$build_dir"
# A display of another size is started again at the size asked for.
screen=${CORVADIN_SCREEN:-1280x1024}
shown=$(xdotool getdisplaygeometry 2>/dev/null | tr ' ' x) || true
[[ -z $shown || $shown == "$screen" ]] || "$wine_exec" --stop
"$wine_exec" --prepare
# The scale Wine gives every program: read when a program starts.
set_dpi() {
  wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
[[ -n $dpi ]] && set_dpi "$dpi"
# The window opens at its smallest size, where the clicks below expect it, not where an earlier run left it.
wine_run reg delete 'HKCU\Software\Quenmark\Corvadin' /v MainWindowPlacement /f >/dev/null 2>&1 || true
arguments=()
[[ $shot == popup ]] && arguments=(/scanstartup)
"$wine_exec" "$program" "${arguments[@]}" >/dev/null 2>&1 &
pid=$!
stop_program() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [[ -z $dpi ]] || set_dpi 96
}
trap stop_program EXIT

# The first visible window whose title matches, within tries tenths of a second.
await_window() {
  window=""
  for ((tries = 0; tries < $2; tries++)); do
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [[ -n $window ]] && return
    kill -0 "$pid" 2>/dev/null || { echo "run.sh: Corvadin ended before its window showed" >&2; exit 1; }
    sleep 0.1
  done
  echo "run.sh: no window $1 showed" >&2
  exit 1
}

# The window just awaited, as the screen shows it (with whatever lies over it).
shoot() {
  local file=${1%.png}${dpi:+-$dpi}.png
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$file"
  echo "Screenshot: $file"
}

# The colour of one pixel of the screen.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | sed -n '2s/.*#\([0-9A-F]\{6\}\).*/\1/p'; }

if [[ $shot == popup ]]; then
  # The whole scan runs first, with the main window hidden.
  await_window '^  Corvadin$' 6000
  sleep 2
  shoot "$build_dir/corvadin-popup-screenshot.png"
  exit 0
fi
await_window '^Corvadin$' 600
sleep 2
if [[ $shot == settings ]]; then
  xdotool windowfocus "$window" key alt+o key s
  await_window '^Corvadin settings$' 100
  sleep 2
  shoot "$build_dir/corvadin-settings-screenshot.png"
elif ((scan)); then
  # The window opens at its smallest client area, 625 x 415 pixels at 96 DPI; Wine draws the frame round it.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  scale=${dpi:-96}
  border=$(((WIDTH - 625 * scale / 96) / 2))
  start_x=$((X + border + 70 * scale / 96)) start_y=$((Y + HEIGHT - border - 415 * scale / 96 + 40 * scale / 96))
  xdotool mousemove 0 0
  sleep 0.5
  idle=$(pixel "$start_x" "$start_y")
  xdotool mousemove "$start_x" "$start_y" click 1 mousemove 0 0
  # Start Scanner is disabled while the scan runs and enabled again when it is over.
  for ((tries = 0; tries < 50; tries++)); do
    [[ $(pixel "$start_x" "$start_y") != "$idle" ]] && break
    sleep 0.2
  done
  for ((tries = 0; tries < 1800; tries++)); do
    [[ $(pixel "$start_x" "$start_y") == "$idle" ]] && break
    sleep 0.2
  done
  sleep 1
  if ((maximised)); then
    # Through the window's system menu: with no window manager, Wine draws the frame and answers its keys.
    xdotool windowfocus "$window" key alt+space
    sleep 0.5
    xdotool key x
    sleep 2
    shoot "$build_dir/corvadin-scan-maximised-screenshot.png"
  else
    shoot "$build_dir/corvadin-scan-screenshot.png"
  fi
else
  shoot "$build_dir/corvadin-screenshot.png"
fi
