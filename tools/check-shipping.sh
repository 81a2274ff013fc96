#!/usr/bin/env bash
# Checks the shipping builds:
# - every program and library of the 32-bit build is a PE32 file for i386, QUINST01.EXE and
#   QSPOOL01.DLL among them;
# - QSPOOL01.DLL of the 32-bit and the 64-bit build exports exactly the bound spooler and registry
#   functions, under their plain names;
# - QUINST01.EXE takes those functions from QSPOOL01.DLL and from no other DLL, and imports nothing
#   from winspool.drv.
# QU_WIN32_BIN and QU_WIN64_BIN name other build folders' bin directories (default: the presets').
set -euo pipefail
cd "$(dirname "$0")/.."
bin32=${QU_WIN32_BIN:-build/win32/bin}
bin64=${QU_WIN64_BIN:-build/win64/bin}
status=0
fail() { echo "$*" >&2; status=1; }

bound="ClosePrinter DeleteMonitorA DeletePrintProcessorA DeletePrinter DeletePrinterConnectionA
DeletePrinterDriverA EnumJobsA EnumPrintProcessorsA EnumPrinterDriversA EnumPrintersA
GetPrintProcessorDirectoryA GetPrinterA GetPrinterDataA GetPrinterDriverA GetPrinterDriverDirectoryA
OpenPrinterA RegCloseKey RegDeleteKeyA RegDeleteValueA RegEnumKeyA RegEnumValueA RegOpenKeyA
RegOpenKeyExA RegQueryValueExA RegSetValueExA SetJobA SetPrinterA"
expected_exports=$(echo $bound | tr ' ' '\n' | sort)

# Exported names of a PE file, one per line, sorted.
exports_of() {
    "$1" -p "$2" | awk '/\[Ordinal\/Name Pointer\] Table/ {t=1; next} t && NF == 0 {t=0} t {print $NF}' | sort
}

# "DLL function" for every function a PE file imports by name, the DLL name in upper case.
imports_of() {
    "$1" -p "$2" | awk '/DLL Name:/ {dll=toupper($3); next}
        dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ {print dll, $NF}
        NF == 0 {dll=""}'
}

check_library() {
    local objdump=$1 dll=$2
    [ -f "$dll" ] || { fail "missing: $dll"; return; }
    local got
    got=$(exports_of "$objdump" "$dll")
    if [ "$got" != "$expected_exports" ]; then
        fail "$dll does not export exactly the bound functions:"
        diff <(echo "$expected_exports") <(echo "$got") >&2 || true
    fi
}

check_program() {
    local objdump=$1 exe=$2
    [ -f "$exe" ] || { fail "missing: $exe"; return; }
    local imports
    imports=$(imports_of "$objdump" "$exe")
    echo "$imports" | grep -q '^QSPOOL01.DLL ' || fail "$exe imports nothing from QSPOOL01.DLL"
    if echo "$imports" | grep -q '^WINSPOOL.DRV '; then fail "$exe imports from winspool.drv"; fi
    local dll fn
    while read -r dll fn; do
        [ "$dll" = QSPOOL01.DLL ] && continue
        if echo "$bound" | tr ' ' '\n' | grep -qx "$fn"; then fail "$exe takes $fn from $dll, not QSPOOL01.DLL"; fi
    done <<<"$imports"
    while read -r dll fn; do
        [ "$dll" = QSPOOL01.DLL ] || continue
        echo "$bound" | tr ' ' '\n' | grep -qx "$fn" || fail "$exe imports $fn, not a bound function, from QSPOOL01.DLL"
    done <<<"$imports"
}

shopt -s nullglob
for f in "$bin32"/*.exe "$bin32"/*.EXE "$bin32"/*.dll "$bin32"/*.DLL; do
    if ! file "$f" | grep -q 'PE32 executable.*Intel 80386'; then
        fail "not a 32-bit x86 PE file: $f ($(file -b "$f"))"
    fi
done
for f in QUINST01.EXE QSPOOL01.DLL; do
    [ -f "$bin32/$f" ] || fail "missing from the 32-bit build: $bin32/$f"
done

check_library i686-w64-mingw32-objdump "$bin32/QSPOOL01.DLL"
check_program i686-w64-mingw32-objdump "$bin32/QUINST01.EXE"
if [ -d "$bin64" ]; then
    check_library x86_64-w64-mingw32-objdump "$bin64/QSPOOL01.DLL"
    check_program x86_64-w64-mingw32-objdump "$bin64/QUINST01.EXE"
fi
exit $status
