#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine with a prefix of its own inside the
# build folder that holds the program (created on first use, once, even when
# ctest starts several tests at the same time).
#
# The build's prefix is made by cloning a template prefix ("wineprefix.template"
# beside it) that is booted once and then never runs a program, so a clone
# never reads a prefix that another test is writing.
#
# A program that needs a display (TUHO_NEEDS_DISPLAY=1, set per test by ctest)
# gets, when DISPLAY is unset or TUHO_OWN_DISPLAY=1, an Xvfb of its own on a
# display number that Xvfb picks, and a private clone of the template, so that
# its wineserver can be stopped without touching other tests. Both are gone
# when the program has ended; the program's exit code is passed on.
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
wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"

template="${WINEPREFIX}.template"

# clone_prefix FROM TO: copies a prefix but hard-links system32, the bulk of
# it, which Wine only reads: well under a second instead of a fresh wineboot.
clone_prefix() {
  mkdir -p "$2"
  (cd "$1" && tar --exclude=./drive_c/windows/system32 -cf - .) | tar -C "$2" -xf -
  cp -al "$1/drive_c/windows/system32" "$2/drive_c/windows/"
}

# The template is complete once "ready" exists inside it: a boot cut short
# (killed, failed) is thrown away and made again by the next caller.
(
  flock 9
  if [ ! -f "$template/ready" ]; then
    rm -rf "$template"
    WINEPREFIX="$template" "$wine" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$template" "$wineserver" -w 2>/dev/null || true
    [ -f "$template/system.reg" ] || { echo "wine-run: could not create a Wine prefix" >&2; exit 1; }
    touch "$template/ready"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    rm -rf "$WINEPREFIX"
    clone_prefix "$template" "$WINEPREFIX"
  fi
) 9>"${WINEPREFIX}.lock"

if [ "${TUHO_NEEDS_DISPLAY:-0}" != 1 ] || { [ -n "${DISPLAY:-}" ] && [ "${TUHO_OWN_DISPLAY:-0}" != 1 ]; }; then
  exec "$wine" "$program" "$@"
fi

run_dir="$(mktemp -d "${WINEPREFIX}-run.XXXXXX")"
xvfb_pid=""
private_prefix="$run_dir/prefix"

cleanup() {
  if [ -d "$private_prefix" ]; then
    WINEPREFIX="$private_prefix" "$wineserver" -k 2>/dev/null || true
    WINEPREFIX="$private_prefix" timeout 30 "$wineserver" -w 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$run_dir"
}
trap cleanup EXIT
trap 'exit 143' INT TERM

clone_prefix "$template" "$private_prefix"
export WINEPREFIX="$private_prefix"

# Xvfb writes the display number it chose to descriptor 3, then a newline.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run_dir/display" >"$run_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 200); do
  grep -q . "$run_dir/display" 2>/dev/null && [ "$(tail -c 1 "$run_dir/display" | od -An -c | tr -d ' ')" = '\n' ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$run_dir/xvfb.log" >&2; echo "wine-run: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
display_number="$(tr -dc 0-9 <"$run_dir/display")"
[ -n "$display_number" ] || { echo "wine-run: Xvfb did not report its display" >&2; exit 1; }
export DISPLAY=":$display_number"

status=0
"$wine" "$program" "$@" || status=$?
exit "$status"
