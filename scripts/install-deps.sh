#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Only packages that are missing are installed; nothing is fetched from elsewhere.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev
  libsqlite3-dev sqlite3
  libjpeg62-turbo-dev
  libxlsxwriter-dev libzip-dev libfreexl-dev
  libcurl4-openssl-dev
  socat python3 python3-openpyxl python3-aiosmtpd
  xvfb xauth
  fonts-dejavu-core
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
