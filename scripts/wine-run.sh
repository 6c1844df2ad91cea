#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine with a prefix of its own inside the
# build folder that holds the program (created on first use, once, even when
# ctest starts several tests at the same time).
set -euo pipefail

program="$1"
shift

find_build_dir() {
  local dir
  dir="$(cd "$(dirname "$program")" && pwd)"
  while [ "$dir" != "/" ]; do
    [ -f "$dir/CMakeCache.txt" ] && { echo "$dir"; return; }
    dir="$(dirname "$dir")"
  done
  dirname "$program"
}

export WINEPREFIX="${WINEPREFIX:-$(find_build_dir)/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: their installers would wait for a download that cannot come.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"

(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    "$(dirname "$wine")/wineserver" -w 2>/dev/null || wineserver -w 2>/dev/null || true
  fi
) 9>"${WINEPREFIX}.lock"

exec "$wine" "$program" "$@"
