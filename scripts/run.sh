#!/usr/bin/env bash
# Sets up, builds and runs Tunehoard: the x86_64 Tuho.exe from the build's
# bin/ (beside TuhoKick.exe and the help page, as installed) under 64-bit Wine
# with a prefix of its own and, on first run, a small demo catalogue. With a
# display the window opens there; without one Tuho runs on a virtual display
# of its own for a few seconds and leaves a screenshot of its main window.
# The i686 build is made beside it.
#
# TUHO_RUN_BUILD=DIR runs the programs of an existing x86_64 build folder
# instead, brought up to date and nothing else built (the tests use it).
# TUHO_OUT (default out/) holds the builds and run/: the prefix, the demo
# music, the logs and the screenshot (TUHO_SCREENSHOT to put it elsewhere).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TUHO_OUT:-$root/out}"
run="$out/run"
jobs="${TUHO_JOBS:-2}"
cd "$root"

fail() {
  echo "run: $*" >&2
  exit 1
}

"$root/scripts/setup.sh"

# What runs together: the programs, the help page beside them in bin/, and
# tuhodb.exe, which makes the demo catalogue in the same prefix.
targets=(Tuho TuhoKick help_page tuhodb)
build() {
  local name="$1" toolchain="$2"
  cmake -S "$root" -B "$out/$name" -G Ninja -DTUHO_TESTS=OFF -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    >"$out/$name.configure.log" 2>&1 || { cat "$out/$name.configure.log"; fail "configuring $name failed"; }
  cmake --build "$out/$name" -j "$jobs" --target "${targets[@]}" || fail "building $name failed"
}
mkdir -p "$run"
if [ -n "${TUHO_RUN_BUILD:-}" ]; then
  build_dir="$(cd "$TUHO_RUN_BUILD" && pwd)" || fail "no build folder $TUHO_RUN_BUILD"
  grep -qx 'arch=x64' "$build_dir/package/contents.env" 2>/dev/null ||
    fail "$build_dir is not an x86_64 Windows build (TUHO_RUN_BUILD)"
  cmake --build "$build_dir" -j "$jobs" --target "${targets[@]}" || fail "building $build_dir failed"
  echo "built: $build_dir/bin"
else
  # Build folders of their own, so that running never disturbs the test builds.
  build app-win64 mingw-x86_64.cmake
  build app-win32 mingw-i686.cmake
  build_dir="$out/app-win64"
  echo "built: $build_dir/bin (x86_64) and $out/app-win32/bin (i686)"
fi
bin="$build_dir/bin"
for file in Tuho.exe TuhoKick.exe help.html; do
  [ -f "$bin/$file" ] || fail "the build left no $bin/$file"
done

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$run/wineprefix"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64)"

# No display: an X server of its own on a display number it picks itself.
xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  rm -f "$run/xvfb.display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/xvfb.display" >"$run/xvfb.log" 2>&1 &
  xvfb=$!
  trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
  for _ in $(seq 1 100); do
    grep -qx '[0-9]\+' "$run/xvfb.display" 2>/dev/null && break
    kill -0 "$xvfb" 2>/dev/null || fail "Xvfb did not start: $run/xvfb.log"
    sleep 0.2
  done
  grep -qx '[0-9]\+' "$run/xvfb.display" || fail "Xvfb reported no display: $run/xvfb.log"
  DISPLAY=":$(cat "$run/xvfb.display")"
  export DISPLAY
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: creating the Wine prefix (once)"
  "$wine" wineboot -i >"$run/wineboot.log" 2>&1 || true
  wineserver -w || true
  # Wine draws its caption buttons with Marlett, which it does not find on
  # its own here.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi

# Without a window manager nothing would draw the caption and the frame:
# Wine then draws them itself, as Windows does.
decorations='HKCU\Software\Wine\X11 Driver'
if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  "$wine" reg delete "$decorations" /v Decorated /f >/dev/null 2>&1 || true
else
  "$wine" reg add "$decorations" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 ||
    fail "could not set up the Wine prefix $WINEPREFIX"
fi

# Wine's Z: drive is the Linux root.
windows_path() { echo "Z:${1//\//\\}"; }

# The program's data folder as Wine keeps it.
appdata="$(find "$WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -type d -path '*/AppData/Roaming' ! -path '*/Public/*' | head -1)"
[ -n "$appdata" ] || fail "the Wine prefix $WINEPREFIX has no user folder"
data="$appdata/Brambleward/Tunehoard"
if [ ! -f "$data/Tuho.dat" ]; then
  echo "run: a demo catalogue in $data"
  mkdir -p "$data" "$run/music"
  /usr/bin/python3 "$root/scripts/demo-music.py" "$run/music"
  "$wine" "$build_dir/tools/tuhodb/tuhodb.exe" --data "$(windows_path "$data")" \
    add-source --name "Demo Music" --kind local --path "$(windows_path "$run/music")" >"$run/tuhodb.log" 2>&1 ||
    { rm -f "$data/Tuho.dat"; fail "tuhodb could not make the demo catalogue: $run/tuhodb.log"; }
fi

# Tuho's main window: title "Tunehoard" on a window of the tuho.exe process
# (Wine names an X window's class after its program), never the window of
# Wine's own desktop or of another program.
main_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname '^tuho\.exe$' 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = Tunehoard ]; then
      echo "$id"
      return
    fi
  done
}

(cd "$bin" && exec "$wine" "$bin/Tuho.exe") >"$run/tuho.log" 2>&1 &
tuho=$!
window=""
for _ in $(seq 1 120); do
  window="$(main_window)"
  [ -n "$window" ] && break
  if ! kill -0 "$tuho" 2>/dev/null; then
    code=0
    wait "$tuho" || code=$?
    hint=""
    [ "$code" -eq 0 ] && hint=" (a Tuho of this prefix may already run: it ends a second one)"
    fail "Tuho.exe ended with exit code $code before it showed its main window$hint; its output: $run/tuho.log"
  fi
  sleep 0.5
done
if [ -z "$window" ]; then
  if [ -n "$xvfb" ]; then import -window root "$run/no-window.png" 2>/dev/null || true; fi
  fail "Tuho.exe showed no main window within 60 seconds; its output: $run/tuho.log"
fi

if [ -z "$xvfb" ]; then
  echo "run: Tuho runs on display $DISPLAY; the script ends when it does"
  code=0
  wait "$tuho" || code=$?
  exit "$code"
fi

sleep "${TUHO_RUN_SECONDS:-4}"
kill -0 "$tuho" 2>/dev/null || fail "Tuho.exe ended while it was shown; its output: $run/tuho.log"
# The window as the screen shows it, frame and caption included.
read -r x y width height < <(xdotool getwindowgeometry --shell "$window" |
  awk -F= '{ v[$1] = $2 } END { print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }')
shot="${TUHO_SCREENSHOT:-$run/tuho.png}"
mkdir -p "$(dirname "$shot")"
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$shot" ||
  fail "the screenshot of the main window failed"
echo "run: no display here, so Tuho ran on a virtual one; screenshot of its main window: $shot"
