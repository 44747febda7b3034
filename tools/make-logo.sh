#!/usr/bin/env bash
# Rebuilds the About window's logo, app/about_logo.bmp, and the program's
# icon, app/program.ico, from the generator in tools/logo_generator with this
# machine's own C++ compiler.
set -euo pipefail
cd "$(dirname "$0")/.."

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -I. \
  tools/logo_generator/logo_drawing.cpp tools/logo_generator/icon_file.cpp tools/logo_generator/make_logo_main.cpp \
  -o "$work/make_logo"
"$work/make_logo" app/about_logo.bmp app/program.ico
echo "wrote app/about_logo.bmp ($(stat -c %s app/about_logo.bmp) bytes) and app/program.ico ($(stat -c %s app/program.ico) bytes)"
