#!/usr/bin/env bash
# Checks that every folder builds into its own library and that neither a
# link nor an include reaches a folder on a higher floor:
#   platform 0 < text 1 < image, filelist 2 < rename, naming, picker 3 < app 4
# Within a floor, no folder uses another. Run for the native configure and,
# where MinGW-w64 is installed, the Windows one.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

floor_of() {
  case "${1%_win32}" in
    platform) echo 0 ;; text) echo 1 ;; image|filelist) echo 2 ;;
    rename|naming|picker) echo 3 ;; app) echo 4 ;; *) echo "" ;;
  esac
}

failures=0
fail() { echo "floors: $*" >&2; failures=$((failures + 1)); }

check_links() {  # $1: name of the configure, $2: its graphviz file
  local folder
  for folder in platform text image filelist rename naming picker app; do
    grep -q "label = \"$folder\"" "$2" || fail "$1: no library named $folder"
  done
  # Edges read: "nodeA" -> "nodeB" ... // from -> to
  while read -r from to; do
    local f t
    f="$(floor_of "$from")"; t="$(floor_of "$to")"
    [[ -z "$f" || -z "$t" ]] && continue
    [[ "${from%_win32}" == "${to%_win32}" ]] && continue
    (( t < f )) || fail "$1: $from (floor $f) links $to (floor $t)"
  done < <(sed -n 's|.*// \([A-Za-z0-9_:]*\) -> \([A-Za-z0-9_:]*\)$|\1 \2|p' "$2")
}

configure() {  # $1: name, then cmake arguments
  local name="$1"; shift
  cmake -S "$source_dir" -B "$work/$name" -DBATCH_RENAME_TESTS=OFF --graphviz="$work/$name.dot" "$@" >/dev/null
  check_links "$name" "$work/$name.dot"
}

configure native
if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  configure windows -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake"
fi

# Includes follow the same floors.
for folder in platform text image filelist rename naming picker app; do
  floor="$(floor_of "$folder")"
  while IFS=: read -r file used; do
    [[ "$used" == "$folder" ]] && continue
    u="$(floor_of "$used")"
    [[ -z "$u" ]] && continue
    (( u < floor )) || fail "$file includes $used/ (floor $u from floor $floor)"
  done < <(grep -rEo '#include "[a-z_]+/' "$source_dir/$folder" | sed 's|#include "||; s|/$||; s|^'"$source_dir"'/||')
done

if (( failures > 0 )); then exit 1; fi
echo "floors: every folder a library of its own, no link or include upwards"
