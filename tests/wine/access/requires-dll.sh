#!/usr/bin/env bash
# A program linked against QSPOOL01 must not start without QSPOOL01.DLL beside it, and must start
# with it: the loader refuses the missing import before any of the program's code runs.
#
#   requires-dll.sh WINE_RUN PROGRAM QSPOOL01.DLL [ARGS...]
#
# The program is copied alone into an empty folder and run with ARGS (a mode that exits without a
# window); then the DLL is put beside it and the same run must succeed with status 0.
set -u
runner=$1 program=$2 dll=$3
shift 3
work=$(mktemp -d "${QWINE_ROOT:-${TMPDIR:-/tmp}}/requires-dll.XXXXXX")
trap 'rm -rf "$work"' EXIT
name=$(basename "$program")
cp "$program" "$work/$name"
cd "$work"

"$runner" "./$name" "$@" >/dev/null 2>&1
status=$?
if [ "$status" -eq 0 ]; then
    echo "FAIL: $name started without QSPOOL01.DLL (status 0)"
    exit 1
fi
echo "without QSPOOL01.DLL: status $status"

cp "$dll" "$work/QSPOOL01.DLL"
"$runner" "./$name" "$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: $name with QSPOOL01.DLL beside it ended with status $status"
    exit 1
fi
echo "with QSPOOL01.DLL: status 0"
