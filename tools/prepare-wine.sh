#!/usr/bin/env bash
# Prepares Wine once for the program and its tests: a Chinese locale (ANSI
# code page 936, as on the program's users' machines), initialised prefixes
# without installer dialogs, windows that Wine frames itself (so no window
# manager is needed under Xvfb), and 宋体 drawn with the installed font whose
# metrics come closest to SimSun's, and Wine's Marlett for the caption buttons.
#
# Three prefixes, one per display scale the tests cover:
#   $HOME/.wine           96 DPI (100 %), also the one the program runs in
#   $HOME/.wine-dpi144   144 DPI (150 %)
#   $HOME/.wine-dpi192   192 DPI (200 %)
# With WINEPREFIX set, only that prefix is prepared, at 96 DPI unless its
# name ends in -dpiNNN.
set -euo pipefail

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
ready_mark=".batch-rename-ready-3"

prepare() {
  local prefix="$1" dpi="$2"
  export WINEPREFIX="$prefix"
  [ -f "$prefix/$ready_mark" ] && return 0
  wineboot -u
  wineserver -w
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  for face in 宋体 SimSun NSimSun 新宋体; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "$song_font" /f >/dev/null
  done
  # Wine draws the caption buttons with Marlett; without it they read 0, 1 and r.
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  wineserver -w
  touch "$prefix/$ready_mark"
}

if [ -n "${WINEPREFIX:-}" ]; then
  dpi=96
  [[ "$WINEPREFIX" =~ -dpi([0-9]+)$ ]] && dpi="${BASH_REMATCH[1]}"
  prepare "$WINEPREFIX" "$dpi"
else
  prepare "$HOME/.wine" 96
  prepare "$HOME/.wine-dpi144" 144
  prepare "$HOME/.wine-dpi192" 192
fi
