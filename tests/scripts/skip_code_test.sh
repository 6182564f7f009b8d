#!/usr/bin/env bash
# What a test program tells ctest through its exit code: a program whose every case
# skipped ends with the skip code, which ctest reports as skipped, and one that ran no
# case at all fails. The full-disk cases of the fault test, without a disk named, skip.
# usage: skip_code_test.sh <wine-run> <prefix> <fault test program> <skip code>
set -euo pipefail
wine_run=$1; prefix=$2; program=$3; skip_code=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
unset QN_FULL_DISK

status=0
GTEST_FILTER='FullDiskTest.*' "$wine_run" --prefix "$prefix" --gui "$program" || status=$?
[ "$status" -eq "$skip_code" ] || fail "a program whose every case skipped ended with $status"

status=0
GTEST_FILTER='NoSuchTest.*' "$wine_run" --prefix "$prefix" --gui "$program" || status=$?
[ "$status" -ne 0 ] && [ "$status" -ne "$skip_code" ] || fail "a program that ran no case ended with $status"
echo "PASS"
