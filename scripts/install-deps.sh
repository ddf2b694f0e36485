#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those still missing. With
# --windows, those of the Windows cross build and its tests under Wine as well.
set -euo pipefail

packages=(
    cmake g++ make pkg-config ccache
    juce-modules-source-data
    libsndfile1-dev libfftw3-dev
    libcairo2-dev libpng-dev libfontconfig-dev libfreetype-dev
    fonts-liberation fonts-dejavu-core fonts-dejavu-extra
    libxcb1-dev libxcb-render0-dev libxcb-shm0-dev
    xvfb libx11-dev libxtst-dev libxfixes-dev
    libcli11-dev nlohmann-json3-dev
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    portaudio19-dev libfftw3-dev jackd2 libjack-jackd2-dev
    locales
    dpkg-dev lintian bash-completion netpbm
)
if [ "${1:-}" = "--windows" ]; then
    packages+=(
        g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
        libz-mingw-w64-dev dpkg-dev make ninja-build python3 wine wine64 fonts-wine xvfb xauth
        zip unzip
    )
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
