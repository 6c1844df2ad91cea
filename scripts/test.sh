#!/usr/bin/env bash
# Sets up, builds and runs every test: native unit tests, the same under
# ASan+UBSan, the Windows x86_64 build's tests under Wine (its installer
# package among them), the i686 build and its installer package, and bounded
# fuzz runs. Exits non-zero when anything fails.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${TUHO_OUT:-$root/out}"
jobs="${TUHO_JOBS:-2}"
fuzz_seconds="${TUHO_FUZZ_SECONDS:-60}"
cd "$root"

"$root/scripts/setup.sh" || exit 1
"$root/scripts/check-test-data.sh" || { echo "tests: 0 passed, 1 failed"; exit 1; }

failures=()
passed=0
failed=0

# configure NAME ARGS...: a build folder of its own under out/.
configure() {
  local name="$1"
  shift
  cmake -S "$root" -B "$out/$name" -G Ninja "$@" >"$out/$name.configure.log" 2>&1 ||
    { cat "$out/$name.configure.log"; return 1; }
}

build() { cmake --build "$out/$1" -j "$jobs"; }

# Runs ctest in a build (extra arguments go to ctest) and adds its counts to
# the totals.
run_tests() {
  local name="$1"
  shift
  local log="$out/$name.ctest.log"
  (cd "$out/$name" && ctest -j "$jobs" --output-on-failure "$@") 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local summary
  summary="$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)"
  if [ -n "$summary" ]; then
    local total fails
    total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")"
    fails="$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$summary")"
    passed=$((passed + total - fails))
    failed=$((failed + fails))
  fi
  return "$status"
}

stage() {
  local name="$1"
  shift
  echo "=== $name"
  "$@" || failures+=("$name")
}

mkdir -p "$out"

native() { configure native && build native && run_tests native; }
sanitized() {
  configure asan -DTUHO_SANITIZE=address,undefined && build asan &&
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests asan
}
threads() {
  configure tsan -DTUHO_SANITIZE=thread && cmake --build "$out/tsan" -j "$jobs" --target catalogue_tests &&
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_tests tsan -R catalogue_tests
}
windows64() {
  configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" && build win64 && run_tests win64
}
# The i686 programs cannot run here; their installer package can be installed.
windows32() {
  configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" && build win32 && run_tests win32 -L package
}
fuzzing() {
  CC=clang CXX=clang++ configure fuzz -DTUHO_FUZZ=ON -DTUHO_TESTS=OFF -DTUHO_FUZZ_SECONDS="$fuzz_seconds" &&
    build fuzz && run_tests fuzz
}

stage native native
stage "asan+ubsan" sanitized
stage "tsan (catalogue threads)" threads
stage "windows x86_64 (wine)" windows64
stage "windows i686 (build, package)" windows32
stage fuzz fuzzing

echo
if [ ${#failures[@]} -gt 0 ]; then
  echo "FAILED stages: ${failures[*]}"
  failed=$((failed > 0 ? failed : 1))
fi
echo "tests: $passed passed, $failed failed"
[ ${#failures[@]} -eq 0 ]
