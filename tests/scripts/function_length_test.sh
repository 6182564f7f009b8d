#!/usr/bin/env bash
# No production function is longer than 60 lines between its braces. The code's style
# opens a function body with a "{" alone at the start of a line and closes it with a "}"
# at the start of a line; anything between (lambdas, nested blocks) counts toward it.
# usage: function_length_test.sh [folder...]   (default: the production folders)
# As a control, a made-up file with a 61-line function must be refused and one with a
# 60-line function accepted, or the check proves nothing.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
LIMIT=60

# Prints "file:line: N lines" for every function body over the limit.
long_functions() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    xargs -0 awk -v limit="$LIMIT" '
      FNR == 1 { open = 0 }
      /^\{[[:space:]]*$/ { open = FNR; next }
      open && /^\}/ {
        if (FNR - open - 1 > limit) printf "%s:%d: %d lines\n", FILENAME, open, FNR - open - 1
        open = 0
      }'
}

# A file holding one function whose body has the given number of lines.
write_function() {
  { echo "int f()"; echo "{"; for ((i = 0; i < $2; ++i)); do echo "    ++x;"; done; echo "}"; } >"$1"
}

fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
write_function "$work/long.cpp" $((LIMIT + 1))
write_function "$work/fits.h" "$LIMIT"
[ -n "$(long_functions "$work/long.cpp")" ] || fail "a $((LIMIT + 1))-line function was not found"
[ -z "$(long_functions "$work/fits.h")" ] || fail "a $LIMIT-line function was refused"

if [ $# -eq 0 ]; then
  set -- "$root/core" "$root/toolkit" "$root/services" "$root/xml" "$root/dialog" "$root/app" "$root/demo" "$root/images"
fi
found=$(long_functions "$@")
[ -z "$found" ] || fail "functions over $LIMIT lines:
$found"
echo "PASS: no function over $LIMIT lines"
