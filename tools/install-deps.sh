#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; does nothing when
# they are all present.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev librtmidi-dev libasound2-dev libjack-jackd2-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  jackd2 xvfb xauth imagemagick xdotool fonts-liberation
  clang libclang-rt-14-dev dpkg-dev file appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
# jackd2 asks whether to enable real-time scheduling; we run it without.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $SUDO debconf-set-selections
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
