#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tunehoard
# needs. Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev   # native builds, sanitizers, libFuzzer
  clang-format                                    # the format check of changed lines
  googletest                                      # unit tests (built from source per target)
  mingw-w64 wine wine64                           # Windows builds and running them
  msitools wixl                                   # installer packages (wixl, msiinfo)
  xvfb xdotool x11-utils imagemagick              # windows on a virtual display, screenshots
  chromium                                        # the help page rendered by a real browser
  python3 python3-mutagen id3v2 eyed3             # tag writers that generate test files
  strace                                          # the fault countdown fails chosen system calls
  libsqlite3-dev                                  # the catalogue benchmark's baseline (never linked by the product)
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
# Another setup (or the system's own apt) may hold the package lock: wait for it.
wait_for_lock=(-o DPkg::Lock::Timeout=900)
"${sudo_cmd[@]}" apt-get "${wait_for_lock[@]}" update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get "${wait_for_lock[@]}" install -y -qq "${missing[@]}" >/dev/null
echo "setup: done"
