#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own, headless prefix: 64-bit Wine for x64
# programs, 32-bit Wine (wine32, with a 32-bit prefix) for x86 programs.
# Usage: wine-run.sh <prefix-dir> <program> [args...]
# The prefix is created on first use (under a lock, so parallel tests wait for it) with the
# null graphics driver, so no display is needed. RV_WINE_DPI (default 96) is the DPI a new
# prefix gives its screen (HKCU\Control Panel\Desktop\LogPixels): Wine answers it from
# GetDeviceCaps and scales the system fonts. Give each DPI a prefix of its own.
set -eu
prefix=$(realpath -m "$1"); shift
export WINEPREFIX=$prefix
export WINEDEBUG=${RV_WINEDEBUG:--all}
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
# An x86 program (PE machine 0x14c) needs the 32-bit loader and a 32-bit prefix.
if [ -f "$1" ]; then
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  if [ -n "$pe" ] && [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" = 014c ]; then
    wine=/usr/lib/wine/wine
    export WINEARCH=win32
    [ -x "$wine" ] || { echo "wine-run.sh: $1 is an x86 program and 32-bit Wine ($wine, package wine32:i386) is not installed; scripts/x86.sh says whether this machine can run it" >&2; exit 127; }
  fi
fi
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.rv-ready" ]; then
    # Boot from the prefix's folder: DLLs in the caller's folder must not take part.
    cd "$(dirname "$prefix")"
    rm -rf "$prefix"
    "$wine" wineboot -i >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    if [ "${RV_WINE_DPI:-96}" != 96 ]; then
      "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$RV_WINE_DPI" /f >/dev/null 2>&1
    fi
    # A crashing test ends with its crash instead of waiting for a debugger: the "debugger"
    # started for an unhandled exception exits at once.
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d 'cmd.exe /c exit 1' /f >/dev/null 2>&1 || true
    timeout 300 /usr/lib/wine/wineserver -w || true
    touch "$prefix/.rv-ready"
  fi
) 9>"$prefix.lock"
exec "$wine" "$@"
