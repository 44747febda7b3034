#!/usr/bin/env bash
# The benchmarks of photos on a folder that answers slowly, as a network
# share does: a FUSE passthrough (tools/slow_folder) that waits 2 ms, then
# 10 ms, before every request. Prints the benchmark figures and how many
# requests of each kind the folder answered. Skips with a message where FUSE
# cannot be used (no /dev/fuse, or not allowed to mount).
#   bash tools/run-slow-folder-benchmarks.sh [milliseconds ...]   (default 2 10)
# SLOW_FILTER=<regex> runs only the slow-folder benchmarks whose names it
# matches (CaptureDates, RenameRun, Pick; default: all three).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -e /dev/fuse ]; then
  echo "slow-folder benchmarks skipped: this machine has no /dev/fuse"
  exit 0
fi
tools/install-packages.sh libfuse3-dev fuse3 pkg-config
tools/prepare-wine.sh
tools/fetch-benchmark-source.sh
tools/build.sh windows-bench
mkdir -p build/slow_folder
gcc -std=c11 -D_GNU_SOURCE -O2 -Wall -Wextra -Werror $(pkg-config --cflags fuse3) tools/slow_folder/slow_folder.c \
  -o build/slow_folder/slow_folder $(pkg-config --libs fuse3)

work="$(mktemp -d)"
mounted=""
cleanup() {
  if [ -n "$mounted" ]; then fusermount3 -u "$mounted" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

delays=("$@")
[ ${#delays[@]} -gt 0 ] || delays=(2 10)
for delay in "${delays[@]}"; do
  mkdir -p "$work/source-$delay" "$work/mount-$delay"
  # The kernel keeps names and attributes for a second, as a share's client
  # does; file contents it never keeps (every read reaches the folder).
  build/slow_folder/slow_folder "$work/source-$delay" "$work/mount-$delay" "$delay" 2>"$work/requests-$delay" &
  for _ in $(seq 50); do mountpoint -q "$work/mount-$delay" && break; sleep 0.1; done
  if ! mountpoint -q "$work/mount-$delay"; then
    echo "slow-folder benchmarks skipped: the folder could not be mounted"
    cat "$work/requests-$delay"
    exit 0
  fi
  mounted="$work/mount-$delay"
  echo "== $delay ms per request"
  (cd "$work" && BATCH_RENAME_SLOW_FOLDER="Z:$(echo "$mounted" | tr / '\\')" \
    xvfb-run -a -s "-screen 0 1600x1200x24" "$OLDPWD/tools/wine-run" \
    "$OLDPWD/build/windows-bench/bench/wine_bench.exe" --benchmark_filter="BM_(${SLOW_FILTER:-.*}).*OnASlowFolder")
  fusermount3 -u "$mounted"
  mounted=""
  wait
  echo "requests answered by the folder:"
  cat "$work/requests-$delay"
done
