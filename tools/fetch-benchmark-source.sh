#!/usr/bin/env bash
# Puts Debian's Google Benchmark sources (the same version as its
# libbenchmark-dev) into build/third_party/benchmark, for the Windows
# benchmarks, which build it with the MinGW compiler. Once; nothing of it is
# committed.
set -euo pipefail
cd "$(dirname "$0")/.."

target=build/third_party/benchmark
[ -f "$target/CMakeLists.txt" ] && exit 0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial"
cat > "$work/debian.sources" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_options=(-o Dir::Etc::SourceList="$work/debian.sources" -o Dir::Etc::SourceParts=/dev/null -o Dir::State::Lists="$work/lists")
apt-get "${apt_options[@]}" update >/dev/null
(cd "$work" && apt-get "${apt_options[@]}" source --download-only benchmark >/dev/null 2>&1)
mkdir -p "$target"
tar -xzf "$work"/benchmark_*.orig.tar.gz -C "$target" --strip-components=1
echo "Google Benchmark sources in $target"
