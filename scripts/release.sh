#!/usr/bin/env bash
# Builds a release into out/release/: the x64 and x86 programs (Release
# builds without tests), a Windows Installer package of each, and the portable
# zip of the x86 programs, which run on 32- and 64-bit Windows alike. Prints
# each file's path and size.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TUHO_OUT:-$root/out}"
jobs="${TUHO_JOBS:-2}"
release="$out/release"

"$root/scripts/setup.sh"

# build NAME TOOLCHAIN: a Release build of the Windows programs in out/NAME.
build() {
  local name="$1" toolchain="$2"
  echo "release: building $name"
  cmake -S "$root" -B "$out/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUHO_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >"$out/$name.configure.log" 2>&1 ||
    { cat "$out/$name.configure.log" >&2; echo "release: configuring $name failed" >&2; exit 1; }
  cmake --build "$out/$name" -j "$jobs" >"$out/$name.build.log" 2>&1 ||
    { tail -40 "$out/$name.build.log" >&2; echo "release: building $name failed" >&2; exit 1; }
}

mkdir -p "$out"
build release-win64 mingw-x86_64.cmake
build release-win32 mingw-i686.cmake

rm -rf "$release"
mkdir -p "$release"
made="$("$root/packaging/make-package.py" "$out/release-win64" "$release" &&
        "$root/packaging/make-package.py" "$out/release-win32" "$release" --zip)"

echo "release: done"
while read -r file; do
  size="$(stat -c %s "$file")"
  printf '  %s  %s bytes (%s)\n' "$file" "$size" "$(numfmt --to=iec --suffix=B "$size")"
done <<<"$made"
