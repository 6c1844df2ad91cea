#!/usr/bin/env bash
# Checks that the C++ lines a change adds or edits are formatted as
# .clang-format says; lines nobody touched are left alone, and a renamed file
# counts only for what changed in it. The change is
# everything since the branch left main (a working tree that is not on main),
# else the last commit. Exits non-zero and prints the reformatting when a
# changed line differs; passes when git or clang-format is missing or
# there is no earlier commit to compare with (a shallow or single-commit
# clone). With --fix the changed lines are formatted in place instead.
set -uo pipefail
fix="${1:-}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

if ! command -v git >/dev/null || ! git rev-parse --git-dir >/dev/null 2>&1; then
  echo "format: not a git checkout, nothing to compare"
  exit 0
fi
formatter="$(command -v clang-format || command -v clang-format-14 || true)"
if [ -z "$formatter" ]; then
  echo "format: clang-format missing (scripts/setup.sh installs it)"
  exit 0
fi

base=""
main="$(git rev-parse --verify -q refs/heads/main || git rev-parse --verify -q refs/remotes/origin/main || true)"
if [ -n "$main" ] && [ "$(git rev-parse HEAD)" != "$main" ]; then
  base="$(git merge-base HEAD "$main" 2>/dev/null || true)"
fi
[ -z "$base" ] && base="$(git rev-parse --verify -q HEAD~1 || true)"
if [ -z "$base" ]; then
  echo "format: no earlier commit to compare with"
  exit 0
fi

# The changed lines of each file (renamed files count only for what changed
# in them), formatted as a whole file with only those lines free to move.
git diff -U0 -M --no-color --diff-filter=AMR "$base" -- '*.h' '*.cpp' |
  FORMATTER="$formatter" BASE="${base:0:10}" FIX="$fix" python3 -c '
import difflib, os, re, subprocess, sys
ranges, path = {}, None
for line in sys.stdin:
    if line.startswith("+++ "):
        path = line[6:].rstrip("\n") if line.startswith("+++ b/") else None
    elif line.startswith("@@") and path:
        start, _, count = re.match(r"@@ -\S+ \+(\d+)(,(\d+))? @@", line).groups()
        count = 1 if count is None else int(count)
        if count:
            ranges.setdefault(path, []).append(f"{start}:{int(start) + count - 1}")
faults = 0
for path, lines in sorted(ranges.items()):
    original = open(path, encoding="latin-1").read()
    options = [f"--lines={each}" for each in lines]
    formatted = subprocess.run([os.environ["FORMATTER"], "--style=file", *options, path],
                               capture_output=True, text=True, encoding="latin-1").stdout
    if formatted != original and os.environ["FIX"] == "--fix":
        open(path, "w", encoding="latin-1").write(formatted)
    elif formatted != original:
        faults += 1
        sys.stdout.writelines(difflib.unified_diff(original.splitlines(True), formatted.splitlines(True),
                                                   "a/" + path, "b/" + path, n=1))
base = os.environ["BASE"]
if faults:
    print(f"format: {faults} files have changed lines since {base} that differ from .clang-format (above)")
    sys.exit(1)
print(f"format: changed lines since {base} follow .clang-format ({len(ranges)} files)")
'
