#!/usr/bin/env bash
# Checks the shipping builds:
# - every program and library of the 32-bit build is a PE32 file for i386, QUINST01.EXE and
#   QSPOOL01.DLL among them;
# - QSPOOL01.DLL of the 32-bit and the 64-bit build exports exactly the bound spooler and registry
#   functions, under their plain names;
# - QUINST01.EXE takes those functions from QSPOOL01.DLL and from no other DLL, and imports nothing
#   from winspool.drv;
# - the 32-bit programs and libraries carry no symbols and QUINST01.EXE is at most 512 KB (each
#   file's size is printed);
# - two builds of one commit are the same bytes: the 32-bit build is brought up to date and its
#   shipping programs are built once more into a fresh folder, both with one SOURCE_DATE_EPOCH (the
#   last commit's time unless it is set), and compared.
# QU_WIN32_BIN and QU_WIN64_BIN name other build folders' bin directories (default: the presets').
set -euo pipefail
cd "$(dirname "$0")/.."
bin32=${QU_WIN32_BIN:-build/win32/bin}
bin64=${QU_WIN64_BIN:-build/win64/bin}
# A stripped program with every removal step, the unattended mode and its JSON report is about
# 440 KB; an unstripped one is well over twice that. The limit catches a lost strip or a library
# linked by mistake, with room for the tool to grow a little.
max_quinst_bytes=$((512 * 1024))
status=0
fail() { echo "$*" >&2; status=1; }

# The build stamp and so the programs' bytes follow SOURCE_DATE_EPOCH: both builds get the same one.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
        { echo "outside a git checkout set SOURCE_DATE_EPOCH (seconds since 1970)" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH
cmake --build "$(dirname "$bin32")" >/dev/null

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

shipping=()
for f in "$bin32"/*.exe "$bin32"/*.EXE "$bin32"/*.dll "$bin32"/*.DLL; do shipping+=("$(basename "$f")"); done
for f in "${shipping[@]}"; do
    size=$(stat -c %s "$bin32/$f")
    printf '%-16s %8d bytes\n' "$f" "$size"
    case $(i686-w64-mingw32-nm "$bin32/$f" 2>&1 || true) in
    *"no symbols"*) ;;
    *) fail "$bin32/$f is not stripped" ;;
    esac
done
if [ -f "$bin32/QUINST01.EXE" ] && [ "$(stat -c %s "$bin32/QUINST01.EXE")" -gt $max_quinst_bytes ]; then
    fail "$bin32/QUINST01.EXE is larger than $((max_quinst_bytes / 1024)) KB"
fi

# The second build: a fresh folder, only the shipping targets.
second=$(mktemp -d "$(dirname "$(dirname "$bin32")")/win32-second.XXXXXX")
trap 'rm -rf "$second"' EXIT
cmake --preset win32 -B "$second" >/dev/null
targets=()
for f in "${shipping[@]}"; do targets+=("${f%.*}"); done
cmake --build "$second" --target "${targets[@]}" >/dev/null
for f in "${shipping[@]}"; do
    cmp -s "$bin32/$f" "$second/bin/$f" || fail "two builds of one commit differ: $f of $bin32 and of a fresh build"
done

check_library i686-w64-mingw32-objdump "$bin32/QSPOOL01.DLL"
check_program i686-w64-mingw32-objdump "$bin32/QUINST01.EXE"
if [ -d "$bin64" ]; then
    check_library x86_64-w64-mingw32-objdump "$bin64/QSPOOL01.DLL"
    check_program x86_64-w64-mingw32-objdump "$bin64/QUINST01.EXE"
fi
exit $status
