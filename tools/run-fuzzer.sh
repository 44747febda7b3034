#!/usr/bin/env bash
# Fuzzes the metadata reader with libFuzzer (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) for a bounded time:
#   tools/run-fuzzer.sh [seconds]      (default 60)
# Builds into build/fuzz. The seed corpus comes from the tests' own image
# builders; the corpus the fuzzer grows is kept in build/fuzz/corpus between
# runs. A crashing input lands in build/fuzz/crashes/: fix the fault, then
# copy the input into tests/native/fuzz_regressions/, where a native test
# replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh clang libclang-rt-14-dev

seconds="${1:-60}"
out=build/fuzz
mkdir -p "$out/seeds" "$out/corpus" "$out/crashes"

flags=(-std=c++20 -g -O1 -I. -fno-omit-frame-pointer)
sanitizers=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
reader_sources=(image/sources/memory_source.cpp image/sources/read_ahead_source.cpp image/metadata/*.cpp
                image/portable/image_file_portable.cpp image/portable/image_contract_portable.cpp
                image/sources/file_source_posix.cpp platform/posix/clock_posix.cpp platform/civil_time.cpp
                text/text_case.cpp)

clang++ "${flags[@]}" -o "$out/make_seed_corpus" tests/fuzz/make_seed_corpus.cpp tests/native/image_builders.cpp \
  tests/native/media_builders.cpp
"$out/make_seed_corpus" "$out/seeds"

clang++ "${flags[@]}" "${sanitizers[@]}" -o "$out/metadata_reader_fuzz" \
  tests/fuzz/metadata_reader_fuzz.cpp "${reader_sources[@]}"

"$out/metadata_reader_fuzz" "$out/corpus" "$out/seeds" \
  -dict=tests/fuzz/metadata_reader.dict \
  -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/crashes/" -print_final_stats=1
