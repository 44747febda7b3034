#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them; extra arguments go to Google
# Benchmark (for example --benchmark_filter=FillList). The capture-date
# benchmarks run exiftool over the same photos as their baseline.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh libimage-exiftool-perl
tools/build.sh bench
build/bench/bench/core_bench "$@"
build/bench/bench/metadata_bench "$@"
