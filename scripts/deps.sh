#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, tests and benchmarks need and is missing.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools libqt6test6 libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic fonts-ipafont-mincho
          clang-format libc-bin xdg-utils python3-fonttools fonts-noto-color-emoji unicode-data)
options=()
# --package: also what making the Debian package needs (dpkg-shlibdeps for its Depends line).
if [ "${1:-}" = "--package" ]; then
    packages+=(dpkg-dev file)
fi
# --windows: the cross build for Windows and Wine to run its tests (without Wine's many extras).
if [ "${1:-}" = "--windows" ]; then
    packages=(cmake libgtest-dev g++-mingw-w64-x86-64-posix wine wine64)
    options=(--no-install-recommends)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}"
fi
