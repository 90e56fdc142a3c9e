#!/usr/bin/env bash
# Installs the Debian 12 packages Sumvelo needs to build, test and run. Run it as root (or with
# sudo available); when every package is already installed it does nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-noto-cjk fonts-wqy-microhei
  xvfb xauth x11-apps imagemagick
  clang libclang-rt-14-dev
  hyperfine
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages are installed"
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "setup: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${packages[@]}"
