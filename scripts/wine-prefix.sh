#!/usr/bin/env bash
# Creates a Wine prefix once (64-bit), with Wine's own fonts copied in and the
# crash dialog off. Usage: wine-prefix.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "$1")
if [ -f "$prefix/.papershift-ready" ]; then exit 0; fi
printf '[wine-prefix] creating %s\n' "$prefix" >&2
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The server inherits our output streams: give it a file so pipes end.
wineserver -p >"$prefix/wineserver.log" 2>&1 </dev/null || true
if ! wineboot -i </dev/null >"$prefix/wineboot.log" 2>&1; then
  echo "[wine-prefix] wineboot failed:" >&2
  cat "$prefix/wineboot.log" >&2
  wineserver -k 2>/dev/null || true
  exit 1
fi
# Debian's Wine does not find its own fonts; without them captions render as glyph boxes.
if [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi
cat >"$prefix/papershift.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
wine regedit /S "$(winepath -w "$prefix/papershift.reg" 2>/dev/null)" </dev/null >/dev/null 2>&1 || true
# wineboot returns before the prefix is fully written; ending the server flushes it.
wineserver -k || true
touch "$prefix/.papershift-ready"
