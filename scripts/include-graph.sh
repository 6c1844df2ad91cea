#!/usr/bin/env bash
# Prints which folders of the program include which (one row per pair, with
# the number of #include lines), then every include that points up the
# layers app -> ui -> catalogue -> store/tags -> platform. Exits non-zero
# when there is one. Tests, fuzzers, benchmarks and tools may include any
# layer; they are not counted.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# A folder's height in the layers; a folder not listed is outside them.
layer() {
  case "$1" in
    platform) echo 0 ;;
    store | tags) echo 1 ;;
    catalogue) echo 2 ;;
    ui) echo 3 ;;
    app) echo 4 ;;
    *) echo "" ;;
  esac
}

pairs="$(grep -rEo '^#include "[a-z]+/' --include='*.h' --include='*.cpp' \
  platform store tags catalogue ui app 2>/dev/null |
  sed -E 's#^([a-z]+)/[^:]*:\#include "([a-z]+)/#\1 \2#' | grep -v '^\([a-z]*\) \1$' | sort | uniq -c)"

echo "| from | includes | lines |"
echo "|---|---|---|"
awk '{print "| " $2 " | " $3 " | " $1 " |"}' <<<"$pairs"

upward=0
while read -r count from to; do
  [ -z "$from" ] && continue
  high="$(layer "$from")"
  low="$(layer "$to")"
  [ -z "$low" ] && continue  # resources and the like sit below every layer
  if [ "$low" -gt "$high" ] || { [ "$low" -eq "$high" ] && [ "$from" != "$to" ]; }; then
    echo "upward: $from includes $to ($count)"
    grep -rn "^#include \"$to/" --include='*.h' --include='*.cpp' "$from"
    upward=$((upward + 1))
  fi
done <<<"$pairs"
exit $((upward > 0))
