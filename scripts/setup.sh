#!/usr/bin/env bash
# Installs the Debian packages the game needs (and, with --tests, what the tests need), then builds.
# Usage: scripts/setup.sh [--tests]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libstb-dev libgl-dev
          libgl1-mesa-dri fonts-wine fonts-liberation2)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(libgtest-dev googletest xvfb xauth xdotool imagemagick x11-apps locales)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  line="apt-get install -y ${missing[*]}"
  if [[ $(id -u) -eq 0 ]]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo apt-get update -qq
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "These Debian packages are missing. Install them as root, then run this again:" >&2
    echo "  sudo apt-get update && sudo $line" >&2
    exit 1
  fi
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
