#!/usr/bin/env bash
# tools/prepare-wine.sh keeps to the project's own Wine prefixes: run again,
# with and without WINEPREFIX set, it leaves prepared prefixes as they are and
# never makes or changes the user's own $HOME/.wine.
set -euo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

fingerprint() { md5sum "$top"/build/wine*/user.reg "$top"/build/wine*/system.reg 2>/dev/null | sort; }

before="$(fingerprint)"
[ -n "$before" ] || fail "the project's prefixes are not prepared"
out="$(HOME="$home" env -u WINEPREFIX "$top/tools/prepare-wine.sh" 2>&1)"
[ -z "$out" ] || fail "prepared prefixes were prepared again: $out"
[ "$(fingerprint)" = "$before" ] || fail "a prepared prefix changed"

other="$home/chosen-dpi144"
HOME="$home" WINEPREFIX="$other" "$top/tools/prepare-wine.sh" >/dev/null 2>&1 || fail "an explicit prefix was not prepared"
grep -q '"LogPixels"=dword:00000090' "$other/user.reg" || fail "an explicit -dpi144 prefix is not at 144 DPI"
out="$(HOME="$home" WINEPREFIX="$other" "$top/tools/prepare-wine.sh" 2>&1)"
[ -z "$out" ] || fail "an explicit prefix was prepared twice: $out"
[ "$(fingerprint)" = "$before" ] || fail "preparing another prefix changed the project's own"
[ ! -e "$home/.wine" ] || fail "the user's own ~/.wine was made"
echo "prepare-wine keeps to its own prefixes"
