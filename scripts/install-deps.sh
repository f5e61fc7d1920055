#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the program need.
# Idempotent: packages already present are skipped without touching apt.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-image-formats-plugins qt6-translations-l10n
  libsqlite3-dev sqlite3 zlib1g-dev
  fonts-noto-cjk
  libbenchmark-dev
  xvfb xauth x11-utils imagemagick
  poppler-utils python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
