#!/usr/bin/env bash
# Installs the Debian packages that tesmora needs to build, run and test, when missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libsdl2-dev libepoxy-dev libstb-dev xvfb xauth xdotool
          imagemagick xclip fonts-dejavu-core googletest libgtest-dev libbenchmark-dev clang-14
          libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
