#!/usr/bin/env bash
# Sets up, builds the x64 target and runs the demo host under Wine. Without a display (or with
# --headless) it runs a short scripted session and prints the host calls it receives.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target RVDemo
args=("$@")
if [ -z "${DISPLAY:-}" ] && [[ " ${args[*]-} " != *" --headless "* ]]; then args+=(--headless); fi
prefix=$PWD/build/x64/wineprefix
if [[ " ${args[*]} " == *" --headless "* ]]; then
  exec cmake/wine-run.sh "$prefix" build/x64/bin/RVDemo.exe "${args[@]}"
fi
# With a display, let Wine use it.
export WINEPREFIX=$PWD/build/x64/wineprefix-display WINEDEBUG=-all
exec /usr/lib/wine/wine64 build/x64/bin/RVDemo.exe "${args[@]}"
