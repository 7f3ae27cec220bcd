#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine in the build's own, headless prefix.
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
