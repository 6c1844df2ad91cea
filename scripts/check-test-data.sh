#!/usr/bin/env bash
# Checks that every file the corpus manifest lists is in tests/data/id3 with
# the content the manifest names (the first 12 hex digits of its SHA-256).
# A missing or changed file is one clear line and a non-zero exit, before any
# test runs against it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
data="$root/tests/data/id3"
manifest="$data/MANIFEST.tsv"

[ -f "$manifest" ] || { echo "test data missing: tests/data/id3/MANIFEST.tsv" >&2; exit 1; }

status=0
while IFS=$'\t' read -r file _bytes sha _rest; do
  [ "$file" = file ] && continue
  if [ ! -f "$data/$file" ]; then
    echo "test data missing: tests/data/id3/$file (listed in MANIFEST.tsv)" >&2
    status=1
  elif [ "$(sha256sum "$data/$file" | cut -c1-12)" != "$sha" ]; then
    echo "test data changed: tests/data/id3/$file does not match MANIFEST.tsv" >&2
    status=1
  fi
done <"$manifest"
exit "$status"
