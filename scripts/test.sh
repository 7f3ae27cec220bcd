#!/usr/bin/env bash
# Sets up, builds both targets (x64 and x86, warnings as errors), runs the whole test suite of
# the x64 build under Wine, then packs both installs into the ZIP and builds the example host
# project against it (x64 and x86 with g++, x64 with clang, the host test kit compiled from the
# package's sources) and runs the x64 ones under Wine.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset x86 >/dev/null
cmake --build --preset x86
cmake --preset x64 >/dev/null
cmake --build --preset x64
ctest --preset x64 "$@"
scripts/package.sh
