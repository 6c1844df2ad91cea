#!/usr/bin/env bash
# Prints which folders of the program include which (one row per pair, with
# the number of #include lines), then every include that points up the
# layers app -> ui -> catalogue -> store/tags -> platform. Inside ui/ the
# same for its sub-folders (the windows in ui/ over browse/, dialogs/ and
# desktop/, all over kit/), and every circle of files that include one
# another (a header and its source files count as one). Exits non-zero when
# there is an upward include or a circle, or when a file of store/, tags/ or
# platform/ (other than platform's box code) shows a message box. Tests, fuzzers, benchmarks and
# tools may include any layer; they are not counted.
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

# ui/ inside: folder pairs, upward includes between its sub-folders, and
# circles of files.
python3 - <<'PY'
import collections, os, re, sys

levels = {"ui/kit": 0, "ui/browse": 1, "ui/dialogs": 1, "ui/desktop": 1, "ui": 2}

def folder(path):
    parts = path.split("/")
    return "/".join(parts[:2]) if len(parts) > 2 else parts[0]

def unit(path):
    return re.sub(r"(_win)?\.(h|cpp)$", "", path)

includes = []
for top, _, names in os.walk("ui"):
    for name in sorted(names):
        if name.endswith((".h", ".cpp")):
            path = os.path.join(top, name)
            for line in open(path, encoding="latin-1"):
                found = re.match(r'#include "(ui/[^"]+)"', line)
                if found:
                    includes.append((path, found.group(1)))

pairs = collections.Counter((folder(a), folder(b)) for a, b in includes if folder(a) != folder(b))
print("| from (ui) | includes | lines |")
print("|---|---|---|")
for (a, b), count in sorted(pairs.items()):
    print(f"| {a} | {b} | {count} |")

faults = 0
for (a, b), count in sorted(pairs.items()):
    if a not in levels or b not in levels or levels[b] >= levels[a]:
        print(f"upward: {a} includes {b} ({count})")
        faults += 1

graph = collections.defaultdict(set)
for a, b in includes:
    if unit(a) != unit(b):
        graph[unit(a)].add(unit(b))

# Tarjan's strongly connected components: any with more than one unit is a
# circle.
index, low, stack, on_stack, circles = {}, {}, [], set(), []
def visit(node):
    index[node] = low[node] = len(index)
    stack.append(node)
    on_stack.add(node)
    for next_node in sorted(graph[node]):
        if next_node not in index:
            visit(next_node)
            low[node] = min(low[node], low[next_node])
        elif next_node in on_stack:
            low[node] = min(low[node], index[next_node])
    if low[node] == index[node]:
        component = []
        while True:
            member = stack.pop()
            on_stack.discard(member)
            component.append(member)
            if member == node:
                break
        if len(component) > 1:
            circles.append(sorted(component))
sys.setrecursionlimit(10000)
for node in sorted(list(graph)):
    if node not in index:
        visit(node)
for circle in circles:
    print("circle: " + " <-> ".join(circle))
    faults += 1
print(f"ui: {len(circles)} include circles")
sys.exit(1 if faults else 0)
PY
ui_faults=$?

# Message boxes are the program's to show: below catalogue/ a failure
# travels up as a value, so only platform's own box code may call alert().
boxes="$(grep -rnE '(^|[^A-Za-z0-9_])alert\(' --include='*.h' --include='*.cpp' store tags platform |
  grep -vE '^platform/((win32|posix)/)?Alert(_win|_posix)?\.(h|cpp):')"
if [ -n "$boxes" ]; then
  echo "message box below catalogue/:"
  echo "$boxes"
fi

exit $(((upward > 0) || (ui_faults > 0) || ${#boxes} > 0))
