#!/usr/bin/env bash
# Sets up, builds the x64 target and runs the demo host under Wine. Without a display (or with
# --headless) it runs a scripted session, prints the host calls it receives and writes a PNG
# picture of the window after each step into build/x64/demo-shots. RV_DEMO_DPI (say 144) runs
# it on a screen of that DPI, in a Wine prefix of its own; its pictures go into
# build/x64/demo-shots-<dpi>dpi.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target RVDemo
args=("$@")
if [ -z "${DISPLAY:-}" ] && [[ " ${args[*]-} " != *" --headless "* ]]; then args+=(--headless); fi
dpi=${RV_DEMO_DPI:-96}
case "$dpi" in
  ''|*[!0-9]*) echo "RV_DEMO_DPI must be a number of dots per inch, such as 144" >&2; exit 2 ;;
esac
suffix=
if [ "$dpi" != 96 ]; then suffix=-${dpi}dpi; fi
export RV_WINE_DPI=$dpi
prefix=$PWD/build/x64/wineprefix$suffix
if [[ " ${args[*]} " == *" --headless "* ]]; then
  mkdir -p build/x64/demo-shots$suffix
  exec cmake/wine-run.sh "$prefix" build/x64/bin/RVDemo.exe --shots "$PWD/build/x64/demo-shots$suffix" "${args[@]}"
fi
# With a display, let Wine use it.
export WINEPREFIX=$PWD/build/x64/wineprefix-display$suffix WINEDEBUG=-all
if [ ! -d "$WINEPREFIX" ] && [ "$dpi" != 96 ]; then
  /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
exec /usr/lib/wine/wine64 build/x64/bin/RVDemo.exe "${args[@]}"
