#!/usr/bin/env bash
# Packs the x64 and x86 builds' installs into build/package/RVWindow-<version>.zip (both must
# be built), then checks the ZIP as a host would use it: unpacked, the example host project in
# examples/host-consumer is configured against each architecture's folder with find_package,
# built, and the x64 program runs under Wine (registers the DLL, creates the object by CLSID,
# clicks and renames an item and checks every host call).
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
for arch in x64 x86; do
  toolchain=$root/cmake/toolchain-x86_64-mingw.cmake prefixes="$top/x86;$top/x64"
  [ $arch = x86 ] && toolchain=$root/cmake/toolchain-i686-mingw.cmake prefixes="$top/x64;$top/x86"
  cmake -S examples/host-consumer -B build/consumer/$arch -G Ninja --toolchain "$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefixes" >/dev/null
  grep -q "RVWindow_DIR:PATH=$top/$arch/" build/consumer/$arch/CMakeCache.txt ||
    { echo "The $arch build found the wrong package: $(grep RVWindow_DIR build/consumer/$arch/CMakeCache.txt)"; exit 1; }
  cmake --build build/consumer/$arch
done
# Linking RVWindow::RVWindow imports nothing from the DLL: the host creates the object by CLSID.
for arch in x64 x86; do
  triple=x86_64-w64-mingw32; [ $arch = x86 ] && triple=i686-w64-mingw32
  if $triple-objdump -p build/consumer/$arch/HostConsumer.exe | grep -qi 'DLL Name: RVWindow.dll'; then
    echo "The $arch example host imports from RVWindow.dll"; exit 1
  fi
done
cmake/wine-run.sh build/x64/wineprefix build/consumer/x64/HostConsumer.exe
