#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the extra targets need.
# Idempotent: only missing packages are installed; sudo is used only when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev
  libedit-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev libmuparser-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth imagemagick fonts-dejavu-core openbox xdotool x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
