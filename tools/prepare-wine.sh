#!/usr/bin/env bash
# Prepares Wine for the program and its tests: a Chinese locale (ANSI code
# page 936, as on the program's users' machines), initialised prefixes
# without installer dialogs, windows that Wine frames itself (so no window
# manager is needed under Xvfb), 宋体 drawn with the installed font whose
# metrics come closest to SimSun's, and Wine's Marlett for the caption buttons.
#
# The prefixes are the project's own, one per display scale the tests cover,
# under build/ (the user's own $HOME/.wine is never touched):
#   build/wine            96 DPI (100 %), also the one the program runs in
#   build/wine-dpi144    144 DPI (150 %)
#   build/wine-dpi192    192 DPI (200 %)
# With WINEPREFIX set, only that prefix is prepared, at 96 DPI unless its
# name ends in -dpiNNN. Every run checks each prefix's settings and mends
# what is missing; a prefix that cannot be prepared stops the script.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Wine has no SimSun. "AR PL SungtiL GB" (fonts-arphic-gbsn00lp) is a Song
# face like it, with the same metrics where the layouts depend on them: a
# line as high as the font's pixel height, Latin letters half as wide as the
# ideographs. The other installed candidates measured wider (AR PL UMing CN,
# the WenQuanYi faces) or taller (AR PL UKai CN, WenQuanYi) on the labels.
song_font="AR PL SungtiL GB"
song_faces=(宋体 SimSun NSimSun 新宋体)

# Whether user.reg has, in the given key, the given value line. Wine writes
# key names with doubled backslashes and non-ASCII value names as \xNNNN.
reg_has() {
  local file="$1" key="$2" line="$3"
  [ -f "$file" ] || return 1
  KEY="[$key]" LINE="$line" awk '
    substr($0, 1, 1) == "[" { inside = (index($0, ENVIRON["KEY"]) == 1); next }
    inside && $0 == ENVIRON["LINE"] { found = 1 }
    END { exit !found }' "$file"
}

reg_name() {  # a value name as user.reg spells it
  local name="$1" out="" ch
  for ((i = 0; i < ${#name}; i++)); do
    ch="${name:i:1}"
    if [[ "$ch" =~ [[:print:]] ]] && [ "$(printf '%d' "'$ch")" -lt 128 ]; then
      out+="$ch"
    else
      out+="$(printf '\\x%x' "'$ch")"
    fi
  done
  printf '%s' "$out"
}

settings_in_place() {
  local prefix="$1" dpi="$2" reg="$1/user.reg" face
  reg_has "$reg" 'Software\\Wine\\X11 Driver' '"Managed"="N"' || return 1
  reg_has "$reg" 'Control Panel\\Desktop' "$(printf '"LogPixels"=dword:%08x' "$dpi")" || return 1
  for face in "${song_faces[@]}"; do
    reg_has "$reg" 'Software\\Wine\\Fonts\\Replacements' "\"$(reg_name "$face")\"=\"$song_font\"" || return 1
  done
  [ -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]
}

prepare() {
  local prefix="$1" dpi="$2" face
  export WINEPREFIX="$prefix"
  settings_in_place "$prefix" "$dpi" && return 0
  echo "Preparing the Wine prefix $prefix ($dpi DPI)"
  mkdir -p "$prefix"
  wineboot -u
  wineserver -w
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  for face in "${song_faces[@]}"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "$song_font" /f >/dev/null
  done
  # Wine draws the caption buttons with Marlett; without it they read 0, 1 and r.
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  wineserver -w
  if ! settings_in_place "$prefix" "$dpi"; then
    echo "prepare-wine: could not prepare the Wine prefix $prefix (its registry or fonts did not take the" \
         "settings). Remove the folder and run this script again." >&2
    exit 1
  fi
}

if [ -n "${WINEPREFIX:-}" ]; then
  dpi=96
  [[ "$WINEPREFIX" =~ -dpi([0-9]+)$ ]] && dpi="${BASH_REMATCH[1]}"
  prepare "$WINEPREFIX" "$dpi"
else
  prepare "$top/build/wine" 96
  prepare "$top/build/wine-dpi144" 144
  prepare "$top/build/wine-dpi192" 192
fi
