#!/usr/bin/env bash
# The product's folders are layers, each one library: a file includes headers of its own
# folder and of folders below it, never of a folder above, and no two folders include each
# other. Every folder with a CMakeLists.txt of its own (tests, benchmarks, fuzz targets and
# the SDK's example, built outside this tree, aside) must have its place in the order.
# usage: layering_test.sh [--arrows]   (--arrows also prints the includes between folders)
# As a control, made-up trees with an upward include, two folders including each other and a
# folder without a place must be refused, and one that only includes downward accepted.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Bottom first: a folder may include from the folders before it.
LAYERS=(core services services/crypto xml images toolkit toolkit/controls dialog app demo)
declare -A RANK
for i in "${!LAYERS[@]}"; do RANK[${LAYERS[$i]}]=$i; done

# "file:line included/header.h" for each quoted include of the files directly in a folder.
includes_of() {
  find "$1" -maxdepth 1 -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    xargs -0 -r grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
    sed -E 's#^([^:]*:[0-9]+):.*include[[:space:]]*"([^"]*)".*#\1 \2#' || true
}

# "from to" for every include of a header of another folder, one line per include.
arrows() {
  local tree=$1 folder where header to
  for folder in "${LAYERS[@]}"; do
    [ -d "$tree/$folder" ] || continue
    while read -r where header; do
      to=$(dirname "$header")
      [ "$to" = . ] || [ "$to" = "$folder" ] || echo "$folder $to ${where#"$tree"/}"
    done < <(includes_of "$tree/$folder")
  done
}

# Prints one line for every include that goes up or out of the layers, every pair of folders
# that include each other, and every product folder that has no place.
faults() {
  local tree=$1 from to where folder
  local -A seen=()
  while read -r from to where; do
    seen["$from $to"]=1
    if [ -z "${RANK[$to]+set}" ]; then
      echo "$where: includes from $to/, which is no layer"
    elif [ "${RANK[$to]}" -gt "${RANK[$from]}" ]; then
      echo "$where: $from/ includes from $to/, a folder above it"
    fi
  done < <(arrows "$tree")
  for pair in "${!seen[@]}"; do
    read -r from to <<<"$pair"
    if [[ "$from" < "$to" ]] && [ -n "${seen["$to $from"]+set}" ]; then
      echo "$from/ and $to/ include each other"
    fi
  done
  while read -r folder; do
    [ -n "${RANK[$folder]+set}" ] || echo "$folder/ has a CMakeLists.txt but no place among the layers"
  done < <(find "$tree" \( -path "$tree/build" -o -path "$tree/dist" -o -path "$tree/tests" -o -path "$tree/bench" \
                            -o -path "$tree/fuzz" -o -path "$tree/sdk" -o -path "$tree/.git" \) -prune \
                         -o -name CMakeLists.txt ! -path "$tree/CMakeLists.txt" -printf '%h\n' | sed "s#^$tree/##")
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# A made-up tree: each argument "file=included header" writes one file with one include.
make_tree() {
  local tree=$1 entry file header
  shift
  rm -rf "$tree" && mkdir -p "$tree"
  for entry in "$@"; do
    file=${entry%%=*} header=${entry#*=}
    mkdir -p "$tree/$(dirname "$file")"
    echo "#include \"$header\"" >"$tree/$file"
  done
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_tree "$work/down" core/a.h=core/b.h toolkit/c.cpp=core/a.h app/d.cpp=toolkit/controls/e.h
[ -z "$(faults "$work/down")" ] || fail "includes going only downward were refused: $(faults "$work/down")"
make_tree "$work/up" toolkit/controls/a.cpp=app/b.h
[ -n "$(faults "$work/up")" ] || fail "an include of app/ from toolkit/controls/ was not found"
make_tree "$work/both" images/a.cpp=toolkit/b.h toolkit/b.cpp=images/a.h
faults "$work/both" | grep -q 'include each other' || fail "two folders including each other were not found"
make_tree "$work/unplaced" extra/CMakeLists.txt=core/a.h
[ -n "$(faults "$work/unplaced")" ] || fail "a folder with no place among the layers was not found"

if [ "${1:-}" = --arrows ]; then
  arrows "$root" | cut -d' ' -f1,2 | sort | uniq -c | awk '{ printf "%s -> %s (%d)\n", $2, $3, $1 }'
fi
found=$(faults "$root")
[ -z "$found" ] || fail "includes against the layers (bottom first: ${LAYERS[*]}):
$found"
echo "PASS: every include goes down the layers ${LAYERS[*]}"
