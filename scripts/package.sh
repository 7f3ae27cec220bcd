#!/usr/bin/env bash
# Packs the x64 and x86 builds' installs into build/package/RVWindow-<version>.zip (both must
# be built), then checks the ZIP as a host would use it: unpacked, the example host project in
# examples/host-consumer is configured against each architecture's folder with find_package and
# built with mingw-w64 g++, the host test kit compiled from the package's sources, and once more
# for x64 with clang (warnings as errors in all three); the x64 programs run under Wine (each
# registers the DLL, creates the object by CLSID, clicks and renames an item and checks every
# host call); so does the x86 one under 32-bit Wine when RV_X86_RUNS=ON.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
rm -rf build/package build/consumer
cpack --config build/x64/CPackConfig.cmake -B "$root/build/package" >/dev/null
zip=$(ls build/package/RVWindow-*.zip)
echo "Package: $zip"
mkdir -p build/package/unpacked
(cd build/package/unpacked && cmake -E tar xf "$root/$zip")
top=$(ls -d "$root"/build/package/unpacked/RVWindow-*)
# Each build is given both folders, the other architecture's first: the package declines it.
for build in x64 x86 x64-clang; do
  arch=${build%-clang}
  case $build in
    x64) toolchain=$root/cmake/toolchain-x86_64-mingw.cmake prefixes="$top/x86;$top/x64" ;;
    x86) toolchain=$root/cmake/toolchain-i686-mingw.cmake prefixes="$top/x64;$top/x86" ;;
    x64-clang) toolchain=$root/cmake/toolchain-x86_64-mingw-clang.cmake prefixes="$top/x86;$top/x64" ;;
  esac
  cmake -S examples/host-consumer -B build/consumer/$build -G Ninja --toolchain "$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefixes" >/dev/null
  grep -q "RVWindow_DIR:PATH=$top/$arch/" build/consumer/$build/CMakeCache.txt ||
    { echo "The $build build found the wrong package: $(grep RVWindow_DIR build/consumer/$build/CMakeCache.txt)"; exit 1; }
  cmake --build build/consumer/$build
  # The kit was compiled here, from the package's sources.
  [ -n "$(find build/consumer/$build -path '*RVWindowHostTestKit*' -name 'CallLog.cpp.obj')" ] ||
    { echo "The $build build did not compile the host test kit from the package's sources"; exit 1; }
done
# Linking RVWindow::RVWindow imports nothing from the DLL: the host creates the object by CLSID.
for build in x64 x86 x64-clang; do
  triple=x86_64-w64-mingw32; [ $build = x86 ] && triple=i686-w64-mingw32
  if $triple-objdump -p build/consumer/$build/HostConsumer.exe | grep -qi 'DLL Name: RVWindow.dll'; then
    echo "The $build example host imports from RVWindow.dll"; exit 1
  fi
done
runs="x64 x64-clang"
[ "${RV_X86_RUNS:-OFF}" = ON ] && runs="$runs x86" # under 32-bit Wine (scripts/test.sh decides)
for build in $runs; do
  echo "The example host ($build):"
  cmake/wine-run.sh build/${build%-clang}/wineprefix build/consumer/$build/HostConsumer.exe
done
