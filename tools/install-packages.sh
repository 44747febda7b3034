#!/usr/bin/env bash
# Installs, on Debian as root, what building, testing and running the program
# need. Runs apt-get only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick fonts-wqy-microhei fonts-arphic-gbsn00lp locales
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
