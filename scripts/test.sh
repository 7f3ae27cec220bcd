#!/usr/bin/env bash
# Sets up, builds both targets (x64 and x86, warnings as errors), runs the whole test suite of
# the x64 build under Wine, then packs both installs into the ZIP and builds the example host
# project against it (x64 and x86 with g++, x64 with clang, the host test kit compiled from the
# package's sources) and runs the x64 ones under Wine.
# Where the kernel runs 32-bit programs it installs 32-bit Wine and runs the x86 suite and the
# x86 example host too; where it cannot, one line at the end says that x86 did not run and why
# (scripts/x86.sh).
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/x86-test.sh
. scripts/x86.sh
x86_runs=OFF
if rv_x86_ready; then x86_runs=ON; fi
cmake --preset x86 -DRV_X86_WINE=$x86_runs >/dev/null
cmake --build --preset x86
cmake --preset x64 >/dev/null
cmake --build --preset x64
ctest --preset x64 "$@"
if [ $x86_runs = ON ]; then
  echo "x86: running the x86 suite under 32-bit Wine"
  ctest --preset x86 "$@"
fi
RV_X86_RUNS=$x86_runs scripts/package.sh
if [ $x86_runs = ON ]; then
  echo "x86: the x86 suite and the x86 example host ran under 32-bit Wine and passed."
else
  rv_x86_not_run_line
fi
