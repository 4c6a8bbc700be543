#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; does nothing when
# they are all present.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev librtmidi-dev libasound2-dev libjack-jackd2-dev libjpeg62-turbo-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  jackd2 pipewire pipewire-bin pipewire-jack procps xvfb xauth imagemagick xdotool openbox x11-utils
  fonts-liberation fonts-liberation2 libxcb1-dev
  clang libclang-rt-14-dev dpkg-dev file appstream
  jq g++-mingw-w64-x86-64-posix wine64
  lintian desktop-file-utils qt6-l10n-tools
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  # A fresh install with a root password has no sudo: say what root has to run.
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps.sh: packages are missing, and this is neither root nor has sudo; as root, run:" >&2
    echo "apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
# jackd2 asks whether to enable real-time scheduling; we run it without.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $SUDO debconf-set-selections
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
