#!/usr/bin/env bash
# Configures and builds one flavour of the project into build/<flavour>:
#   native    the portable core and its tests, for this machine
#   sanitize  the same, with AddressSanitizer and UndefinedBehaviorSanitizer
#   clang     the portable core and its tests built with clang++, the second compiler
#   windows   the Windows program and its tests, cross-built with MinGW-w64
#   bench     the benchmarks, optimised
#   windows-bench  the Windows program's benchmarks, cross-built (needs the
#             Google Benchmark sources in build/third_party, which
#             tools/run-benchmarks.sh fetches)
set -euo pipefail
cd "$(dirname "$0")/.."

flavour="$1"
case "$flavour" in
  native)   args=(-DCMAKE_BUILD_TYPE=Debug) ;;
  sanitize) args=(-DCMAKE_BUILD_TYPE=Debug -DBATCH_RENAME_SANITIZE=ON) ;;
  clang)    args=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  windows)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake) ;;
  bench)    args=(-DCMAKE_BUILD_TYPE=Release -DBATCH_RENAME_TESTS=OFF -DBATCH_RENAME_BENCH=ON) ;;
  windows-bench)
    args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBATCH_RENAME_TESTS=OFF
          -DBATCH_RENAME_BENCH=ON -DBATCH_RENAME_BENCHMARK_SOURCE="$PWD/build/third_party/benchmark") ;;
  *) echo "usage: $0 native|sanitize|clang|windows|bench|windows-bench" >&2; exit 2 ;;
esac

cmake -S . -B "build/$flavour" -G Ninja "${args[@]}" >/dev/null
cmake --build "build/$flavour"
