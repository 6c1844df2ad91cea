#!/usr/bin/env bash
# Sets up, builds and runs Tunehoard: Tuho.exe (x86_64) under 64-bit Wine with
# a prefix of its own and, on first run, a small demo catalogue. With a
# display the window opens there; without one it runs on a virtual display
# for a few seconds and leaves a screenshot. The i686 build is made beside it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TUHO_OUT:-$root/out}"
run="$out/run"
jobs="${TUHO_JOBS:-2}"
cd "$root"

"$root/scripts/setup.sh"

build() {
  local name="$1" target="$2"
  shift 2
  cmake -S "$root" -B "$out/$name" -G Ninja -DTUHO_TESTS=OFF "$@" >"$out/$name.configure.log" 2>&1 ||
    { cat "$out/$name.configure.log"; exit 1; }
  cmake --build "$out/$name" -j "$jobs" --target "$target"
}
mkdir -p "$run"
# Build folders of their own, so that running never disturbs the test builds.
build app-native tuhodb
build app-win64 Tuho -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
build app-win32 Tuho -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
echo "built: $out/app-win64/ui/Tuho.exe (x86_64) and $out/app-win32/ui/Tuho.exe (i686)"

export WINEPREFIX="$run/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: creating the Wine prefix (once)"
  "$wine" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  # Wine draws its caption buttons with Marlett, which it does not find on
  # its own here.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi

# The program's data folder as Wine keeps it.
appdata="$(find "$WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -type d -path '*/AppData/Roaming' ! -path '*/Public/*' | head -1)"
data="$appdata/Brambleward/Tunehoard"
if [ ! -f "$data/Tuho.dat" ]; then
  echo "run: a demo catalogue in $data"
  mkdir -p "$data" "$run/music"
  /usr/bin/python3 "$root/scripts/demo-music.py" "$run/music"
  # Wine's Z: drive is the Linux root.
  windows_path="Z:$(echo "$run/music" | tr '/' '\\')"
  "$out/app-native/tools/tuhodb/tuhodb" --data "$data" --drive "Z=/" \
    add-source --name "Demo Music" --kind local --path "$windows_path" >/dev/null
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$wine" "$out/app-win64/ui/Tuho.exe"
fi

# No display: a virtual one, Wine's own desktop window for the frame, and a
# screenshot of what a user would see.
Xvfb :97 -screen 0 1024x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:97
sleep 1
"$wine" explorer /desktop=Tunehoard,1024x720 "$out/app-win64/ui/Tuho.exe" &
for _ in $(seq 1 60); do
  xdotool search --name '^Tunehoard$' >/dev/null 2>&1 && break
  sleep 0.5
done
sleep "${TUHO_RUN_SECONDS:-4}"
shot="${TUHO_SCREENSHOT:-$run/tuho.png}"
# The window alone: trim the empty desktop around it.
import -window root png:- | convert - -fuzz 3% -trim +repage "$shot"
echo "run: no display here, so Tuho ran on a virtual one; screenshot: $shot"
