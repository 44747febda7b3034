#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them: the portable core natively,
# then the Windows program under Wine. Extra arguments go to Google Benchmark
# (for example --benchmark_filter=FillList). The native capture-date
# benchmarks run exiftool over the same photos as their baseline.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh libimage-exiftool-perl
tools/build.sh bench
build/bench/bench/core_bench "$@"
build/bench/bench/metadata_bench "$@"

# The Windows program under Wine, on a virtual display.
tools/prepare-wine.sh
tools/fetch-benchmark-source.sh
tools/build.sh windows-bench
(cd "$(mktemp -d)" && xvfb-run -a -s "-screen 0 1600x1200x24" "$OLDPWD/tools/wine-run" \
  "$OLDPWD/build/windows-bench/bench/wine_bench.exe" "$@")
