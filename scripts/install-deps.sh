#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the game needs.
# Idempotent: packages already present are skipped, so a second run does nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-mixer-dev libglew-dev libgl-dev libassimp-dev
  libfreetype-dev libglm-dev libstb-dev
  libgtest-dev libbenchmark-dev
  libmp3lame-dev fonts-roboto-unhinted
  python3 xvfb xauth xdotool x11-utils x11-xkb-utils xkb-data imagemagick libgl1-mesa-dri sox libsox-fmt-mp3
  xfonts-base
  dpkg-dev desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
