#!/usr/bin/env bash
# Prepares Wine once for the program and its tests: a Chinese locale (ANSI
# code page 936, as on the program's users' machines), an initialised prefix
# without installer dialogs, and windows that Wine frames itself, so no window
# manager is needed under Xvfb.
set -euo pipefail

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
prefix="${WINEPREFIX:-$HOME/.wine}"

if [ ! -f "$prefix/.batch-rename-ready" ]; then
  wineboot -u
  wineserver -w
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wineserver -w
  touch "$prefix/.batch-rename-ready"
fi
