#!/usr/bin/env bash
# Takes the README's pictures of the five windows at 96 and 144 DPI under
# Wine on a virtual display, into docs/screenshots/<window>-<dpi>.png.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh
env -u WINEPREFIX tools/prepare-wine.sh
tools/build.sh windows

out="$PWD/docs/screenshots"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
exe="$PWD/build/windows/tests/win32/gui_tests.exe"
for dpi in 96 144; do
  prefix="$PWD/build/wine"
  [ "$dpi" = 96 ] || prefix="$PWD/build/wine-dpi$dpi"
  (cd "$work" && WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1600x1200x24" "$OLDPWD/tools/wine-run" "$exe" \
    --gtest_filter=MainUseTest.DISABLED_PicturesForTheReadme --gtest_also_run_disabled_tests >/dev/null)
  for window in main picker numbering naming-rule about; do
    convert "$work/$window.bmp" "$out/$window-$dpi.png"
  done
done
echo "wrote $(ls "$out" | wc -l) pictures to docs/screenshots"
