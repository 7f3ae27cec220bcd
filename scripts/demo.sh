#!/usr/bin/env bash
# Sets up, builds the x64 target and runs the demo host under Wine. Without a display (or with
# --headless) it runs a scripted session, prints the host calls it receives and writes a PNG
# picture of the window after each step into build/x64/demo-shots.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target RVDemo
args=("$@")
if [ -z "${DISPLAY:-}" ] && [[ " ${args[*]-} " != *" --headless "* ]]; then args+=(--headless); fi
prefix=$PWD/build/x64/wineprefix
if [[ " ${args[*]} " == *" --headless "* ]]; then
  mkdir -p build/x64/demo-shots
  exec cmake/wine-run.sh "$prefix" build/x64/bin/RVDemo.exe --shots "$PWD/build/x64/demo-shots" "${args[@]}"
fi
# With a display, let Wine use it.
export WINEPREFIX=$PWD/build/x64/wineprefix-display WINEDEBUG=-all
exec /usr/lib/wine/wine64 build/x64/bin/RVDemo.exe "${args[@]}"
