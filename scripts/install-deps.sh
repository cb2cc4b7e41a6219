#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and any named on the command line.
# Quick when all are present.
set -euo pipefail
packages=(g++ cmake ninja-build libgtest-dev libbenchmark-dev libzstd-dev zlib1g-dev pkg-config qt6-base-dev qt6-svg-dev
  qt6-translations-l10n xvfb xauth python3-ezdxf desktop-file-utils fonts-liberation fonts-dejavu-core
  emscripten python3 chromium "$@") # the web page: its engine module and its browser tests
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
