#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# skipping the download when everything is already there.
set -euo pipefail
PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-nanum fonts-ipafont-gothic fonts-ipafont-mincho
  python3 desktop-file-utils
  clang-14 libclang-rt-14-dev clang-format-14
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
