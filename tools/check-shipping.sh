#!/usr/bin/env bash
# Checks the shipping 32-bit build: every program and library is a PE32 file for i386.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/win32/bin
status=0
shopt -s nullglob
for f in "$bin"/*.exe "$bin"/*.EXE "$bin"/*.dll "$bin"/*.DLL; do
    if ! file "$f" | grep -q 'PE32 executable.*Intel 80386'; then
        echo "not a 32-bit x86 PE file: $f ($(file -b "$f"))" >&2
        status=1
    fi
done
exit $status
