#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. Without a display it
# runs on a virtual one, saves a screenshot of the main window to
# build/screenshots/main-window.png and closes the program again.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh
tools/prepare-wine.sh
tools/build.sh windows

exe=build/windows/app/BatchRename.exe
if [ -n "${DISPLAY:-}" ]; then
  exec tools/wine-run "$exe"
fi

mkdir -p build/screenshots
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  tools/wine-run "$1" &
  for _ in $(seq 60); do
    xwininfo -root -tree 2>/dev/null | grep -q "Lanmoor" && break
    sleep 0.5
  done
  sleep 2
  import -window root build/screenshots/main-window.png
  wineserver -k || true
' _ "$exe"
echo "Screenshot saved: build/screenshots/main-window.png"
