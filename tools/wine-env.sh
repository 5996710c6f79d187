# The Wine a Corvadin build dir runs under, and how its prefix is set up: sourced by the build's wine-exec.sh,
# tools/run.sh and tools/census.sh, so that each of these facts is written once.
#
#   wine_env <builddir> [prefix]        the build's arch and display (from its wine-exec.sh), prefix
#                                       default <builddir>/wineprefix
#   wine_env_for <arch> <display> <prefix>
#
# set wine_loader and wine_server and export WINEPREFIX, DISPLAY, WINEDEBUG and WINEDLLOVERRIDES (and, for Wine
# 10, WINELOADER and WINESERVER). The 64-bit build runs under the system's Wine, the one a newcomer installs; the
# 32-bit build under the Wine 10 that tools/fetch-wine10.sh unpacks, as Debian 12's Wine never shows 32-bit
# windows.

# Without a subshell: wine-exec.sh sources this before every test program.
wine10_root=${BASH_SOURCE[0]%/*}/../build/wine10

wine_env_for() {
  export WINEPREFIX=$3 DISPLAY=$2 WINEDEBUG=${WINEDEBUG:--all}
  # No prompts to install Mono or Gecko (they would wait forever for a click), and no menu entries in $HOME.
  local ours="mscoree,mshtml=;winemenubuilder.exe=d"
  [[ ${WINEDLLOVERRIDES:-} == "$ours"* ]] || export WINEDLLOVERRIDES="$ours${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  if [[ $1 == x86 ]]; then
    wine_loader=$wine10_root/root/usr/lib/wine/wine64 wine_server=$wine10_root/root/usr/lib/wine/wineserver64
    export WINELOADER=$wine_loader WINESERVER=$wine_server
  else
    wine_loader=/usr/lib/wine/wine64 wine_server=/usr/lib/wine/wineserver64
    unset WINELOADER WINESERVER
  fi
}

wine_env() {
  local facts=$1/wine-exec.sh
  [[ -x $facts ]] || { echo "$1 is not a configured build dir" >&2; return 2; }
  wine_env_for "$(sed -n 's/^arch=//p' "$facts")" "$(sed -n 's/^display=//p' "$facts")" "${2:-$1/wineprefix}"
}

# Why the build's Wine cannot run, if it cannot.
wine_missing() {
  [[ -x $wine_loader ]] && return
  if [[ $wine_loader == "$wine10_root"/* ]]; then
    echo "the Wine that shows 32-bit windows is missing at $(realpath -m "$wine10_root") (run tools/fetch-wine10.sh)"
  else
    echo "Wine is missing at $wine_loader (run tools/install-deps.sh)"
  fi
}

# Runs a Wine program detached from the caller's terminal and output.
wine_run() { setsid -w "$wine_loader" "$@" </dev/null; }

# The wineserver of a prefix works in a folder named server-<device>-<inode of the prefix>, under a temporary
# folder whose name varies.
wine_server_up() {
  [[ -d $WINEPREFIX ]] || return 1
  local dir pid
  dir=server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")
  for pid in $(pgrep -x wineserver64 || true); do
    [[ $(readlink "/proc/$pid/cwd" 2>/dev/null) == */"$dir" ]] && return 0
  done
  return 1
}

wine_server_stop() {
  if wine_server_up; then
    "$wine_server" -k >/dev/null 2>&1 || true
    "$wine_server" -w >/dev/null 2>&1 || true
  fi
}

# Boots the prefix and leaves its wineserver running; -i first creates it. Wine's services inherit the output of
# whoever starts them and keep it open, so they get none of the caller's.
wine_boot() {
  mkdir -p -- "$WINEPREFIX"
  if [[ ${1:-} == -i ]]; then
    # wineboot -i makes the prefix with a server of its own (Wine 10 under a persistent server started first in
    # the empty folder made no syswow64); that first boot leaves duplicate services behind, on which later
    # programs stall 10 s, so the server is then stopped and started again.
    wine_run wineboot -i >/dev/null 2>&1 || return 1
    wine_server_stop
  fi
  "$wine_server" -p </dev/null >/dev/null 2>&1 || return 1
  wine_run wineboot >/dev/null 2>&1
  wine_like_windows
}

# What every Windows has and a new prefix lacks: the caption buttons' symbol font, which Wine's own font folder
# holds but does not load, and web pages opened by their .html association (Wine's handler passes them on to a
# browser), so that the windows and the help look as a Windows user sees them.
wine_like_windows() {
  local fonts=${wine_loader%/lib/wine/*}/share/wine/fonts
  [[ -f $fonts/marlett.ttf ]] || fonts=/usr/share/wine/fonts
  cp -n -- "$fonts/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wine_run reg query 'HKCR\.html' >/dev/null 2>&1 || wine_run reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1
}

# Whether the kernel runs 32-bit x86 programs at all (many run with IA-32 emulation off): a 93-byte 32-bit Linux
# program that only exits 0 is started, from the build folder (a temporary folder may forbid running programs).
# A kernel without it refuses the file ("Exec format error").
kernel_runs_32bit() {
  local dir=${wine10_root%/*} elf status
  elf='\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0'                       # 32-bit, little-endian
  elf+='\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0'    # executable, i386, entry after the headers
  elf+='\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0'                      # one program header
  elf+='\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0'  # load the file
  elf+='\xb8\x01\0\0\0\x31\xdb\xcd\x80'                              # exit(0) through int 0x80
  mkdir -p -- "$dir" && printf "$elf" > "$dir/.probe-32bit" && chmod +x "$dir/.probe-32bit" || return 1
  "$dir/.probe-32bit" 2>/dev/null
  status=$?
  rm -f -- "$dir/.probe-32bit"
  return "$status"
}
