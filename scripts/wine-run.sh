#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's own prefix (created on
# first use), quietly and without offering to install Mono or Gecko. 64-bit
# programs go straight to Wine's 64-bit loader, so they run even on machines
# that cannot execute 32-bit code (where /usr/bin/wine would pick the 32-bit one).
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${KW_WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# A test may ask Wine to prefer its own DLLs (KW_WINEDLLOVERRIDES).
export WINEDLLOVERRIDES="mscoree,mshtml=${KW_WINEDLLOVERRIDES:+;$KW_WINEDLLOVERRIDES}"

loader=/usr/lib/wine/wine64
if [ $# -gt 0 ] && [ -f "$1" ] && objdump -f "$1" 2>/dev/null | grep -q 'file format pei-i386'; then
  loader=/usr/lib/wine/wine
fi
export WINELOADER="$loader"

if [ ! -f "$WINEPREFIX/.kelpwright-prefix" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  # Wine draws window frames itself, as Windows does, instead of leaving them
  # to a window manager: the test displays have none, and a managed window
  # would make every DestroyWindow wait two seconds for one.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w || true
  touch "$WINEPREFIX/.kelpwright-prefix"
fi
exec "$loader" "$@"
