#!/usr/bin/env bash
# Runs every test: the portable core natively, again under the sanitizers and
# built with clang++, and the Windows program's tests under Wine on a virtual
# display. All through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh
# The tests run in the project's own prefixes, whatever WINEPREFIX holds.
env -u WINEPREFIX tools/prepare-wine.sh

tools/build.sh native
ctest --test-dir build/native --output-on-failure

tools/build.sh sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/sanitize --output-on-failure

tools/build.sh clang
ctest --test-dir build/clang --output-on-failure

tools/build.sh windows
xvfb-run -a -s "-screen 0 3200x2400x24" ctest --test-dir build/windows --output-on-failure
