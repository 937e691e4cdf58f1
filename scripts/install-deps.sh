#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need. Idempotent: packages
# already present are left as they are, and apt's lists are refreshed only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libx11-dev libcairo2-dev libpango1.0-dev libfontconfig-dev
  libcurl4-openssl-dev libssl-dev zlib1g-dev libdeflate-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  openssl xvfb xauth xdotool imagemagick openbox fonts-open-sans procps
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
