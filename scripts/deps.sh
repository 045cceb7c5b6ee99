#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with. Idempotent: when everything is
# present it only runs dpkg-query and returns at once.
set -euo pipefail
PKGS=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins libqt6opengl6-dev
  libsqlite3-dev sqlite3
  libxlsxwriter-dev libcurl4-openssl-dev libcups2-dev cups cups-daemon cups-client
  fonts-liberation2 poppler-utils xvfb unzip openssl python3-aiosmtpd
)
missing=()
for p in "${PKGS[@]}"; do
  st=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$st" == "install ok installed" ]] || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
