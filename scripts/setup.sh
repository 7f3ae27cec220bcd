#!/usr/bin/env bash
# Installs the Debian packages the build needs; does nothing when they are all present.
set -eu
pkgs=(cmake ninja-build mingw-w64 mingw-w64-tools wine64 libwine-dev googletest python3 clang lld doxygen)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
