#!/usr/bin/env bash
# cmake/wine-run --gui with a checkout path that has spaces: a GUI test program copied
# into a folder with spaces in its name runs and passes, an argument with spaces reaches
# it whole (it names the folder of the program's XML report), and a failing exit code
# comes back through the desktop launcher.
# usage: wine_run_test.sh <wine-run> <prefix> <GUI test program> <one test of it>
set -euo pipefail
wine_run=$1; prefix=$2; program=$3; one_test=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

folder="$work/a checkout with spaces"
mkdir -p "$folder" "$work/report folder"
cp "$program" "$folder/program.exe"
report=$(WINEPREFIX=$prefix winepath -w "$work/report folder/report.xml" 2>/dev/null)

"$wine_run" --prefix "$prefix" --gui "$folder/program.exe" "--gtest_filter=$one_test" \
  "--gtest_output=xml:$report" || fail "the program failed from a folder with spaces"
[ -s "$work/report folder/report.xml" ] || fail "the argument with spaces did not arrive whole"

status=0
"$wine_run" --prefix "$prefix" --gui "$folder/program.exe" "--gtest_filter=NoSuchTest.*" || status=$?
[ "$status" -ne 0 ] || fail "a failing exit code did not come back"
echo "PASS"
