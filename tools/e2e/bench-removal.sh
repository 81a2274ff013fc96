#!/usr/bin/env bash
# The removal benchmark: a machine with TOTAL printers, each on a driver of its own, REMOVED of them
# the maker's (the rest another maker's). The quiet removal (QUINST01.EXE /QUIET) is timed against
# qe2e_plain_removal, which deletes the same printers and drivers through the spooler and does
# nothing else. Both start from copies of one seeded prefix, each in a warm Wine session, and must
# leave the same printers and drivers behind.
#
#   bench-removal.sh [--build DIR] [--repeat N] [--max-ratio R] TOTAL:REMOVED ...
#
# One line per size: printers, removed, and for the tool and the plain program the elapsed seconds
# and the CPU seconds (the program's and its Wine server's, which does the registry work), each the
# least of N runs taken in turns on fresh copies (other work on the machine only adds time), and
# the ratio of the CPU seconds. A third run of the tool selects no printer (/PRINTER naming none,
# written without blanks: Wine quotes an argument with blanks whole, and the tool takes no switch
# from a token that begins with a quote):
# its CPU seconds are what the tool spends before removing anything (loading and the census of
# every printer). With --max-ratio the run fails when the ratio is above R.
# Artifacts (logs, times, dumps of the first runs): DIR/bench/removal-TOTAL-REMOVED/.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$repo/build/win64
max_ratio=""
repeat=1
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=$2; shift 2 ;;
    --max-ratio) max_ratio=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: bench-removal.sh [--build DIR] [--repeat N] [--max-ratio R] TOTAL:REMOVED ..." >&2; exit 2; }
build=$(cd "$build" && pwd)
bin=$build/bin
for p in QUINST01.EXE QSPOOL01.DLL qe2e_seed.exe qe2e_dump.exe qe2e_plain_removal.exe; do
    [ -f "$bin/$p" ] || { echo "bench-removal: $bin/$p is not built" >&2; exit 2; }
done

export WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d"
unset DISPLAY
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
QWINE_ROOT=$build/wine QWINE_TEMPLATE_ONLY=1 "$repo/tools/wine-run.sh" "$bin/qe2e_seed.exe"

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
now() { date +%s.%N; }
session_start() {
    export WINEPREFIX=$1
    wineserver -p </dev/null >/dev/null 2>&1
    # The session's first program does Windows' start-up work, and the services it starts settle
    # for a moment after it; neither is part of what is timed.
    "$WINE" "$bin/qe2e_dump.exe" --version </dev/null >/dev/null 2>&1 || true
    sleep 1
}
# CPU ticks of the prefix's Wine server so far (its working folder is named after the prefix's
# device and inode).
server_ticks() {
    local suffix p
    suffix=server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")
    for p in $(pgrep -x wineserver64 || pgrep -x wineserver || true); do
        case $(readlink "/proc/$p/cwd" 2>/dev/null) in
        */"$suffix") awk '{ print $14 + $15 }' "/proc/$p/stat"; return ;;
        esac
    done
    echo 0
}
session_end() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
active=""
trap '[ -n "$active" ] && WINEPREFIX=$active session_end' EXIT

# The machine: the maker's printers on drivers that one script names, and another maker's printers.
write_machine() {
    local dir=$1 total=$2 removed=$3
    {
        echo "; Uninstall script of the benchmark: one driver profile per printer of the maker."
        echo "[UnPrinterDrivers]"
        for ((n = 1; n <= removed; n++)); do echo "Quellan Bench Driver $n,QB$n,1"; done
    } >"$dir/bench.unm"
    cat >"$dir/bench.scn" <<EOF
# $total printers on a driver each, $removed of them the maker's.
[file %DRIVERDIR%\\Qunz__01.unm]
source = bench.unm
[driver Quellan Bench Driver %d]
count = $removed
[printer Quellan Bench %d]
count = $removed
driver = Quellan Bench Driver %d
data QuellanDriver01 = 1
[driver Other Bench Driver %d]
count = $((total - removed))
[printer Other Bench %d]
count = $((total - removed))
driver = Other Bench Driver %d
EOF
}

status=0
echo "printers  removed  tool (s)     CPU  plain (s)     CPU  ratio  census CPU"
TIMEFORMAT="%R %U %S"
for size in "$@"; do
    total=${size%%:*}
    removed=${size##*:}
    work=$build/bench/removal-$total-$removed
    rm -rf "$work"
    mkdir -p "$work"
    write_machine "$work" "$total" "$removed"
    scn=$(winpath "$work/bench.scn")

    active=$work/seeded
    cp -a "$build/wine/template" "$work/seeded"
    session_start "$work/seeded"
    t0=$(now)
    "$WINE" "$bin/qe2e_seed.exe" "$scn" </dev/null >"$work/seed.log" 2>&1 || { cat "$work/seed.log" >&2; exit 1; }
    seed_s=$(awk -v a="$t0" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }')
    session_end
    mkdir -p "$work/seeded/drive_c/Uninstall"
    cp "$bin/QUINST01.EXE" "$bin/QSPOOL01.DLL" "$work/seeded/drive_c/Uninstall/"

    : >"$work/tool.times"
    : >"$work/plain.times"
    : >"$work/census.times"
    for ((r = 1; r <= repeat; r++)); do
        for who in tool plain census; do
            active=$work/$who
            rm -rf "$work/$who"
            cp -a "$work/seeded" "$work/$who"
            session_start "$work/$who"
            ticks=$(server_ticks)
            set +e
            {
                time if [ "$who" = tool ]; then
                    (cd "$work/tool/drive_c/Uninstall" &&
                        "$WINE" QUINST01.EXE /QUIET "/LOG:$(winpath "$work/tool-$r.log")" </dev/null)
                elif [ "$who" = census ]; then
                    (cd "$work/census/drive_c/Uninstall" && "$WINE" QUINST01.EXE /QUIET /PRINTER:NoSuchPrinter \
                        "/LOG:$(winpath "$work/census-$r.log")" </dev/null)
                else
                    "$WINE" "$bin/qe2e_plain_removal.exe" "Quellan Bench %d" "Quellan Bench Driver %d" "$removed" \
                        </dev/null >"$work/plain-$r.log"
                fi
            } 2>"$work/$who-$r.time"
            rc=$?
            set -e
            # elapsed, CPU (the program's user and system time and the server's ticks since the start)
            read -r real user sys <"$work/$who-$r.time"
            awk -v r="$real" -v u="$user" -v s="$sys" -v t="$(($(server_ticks) - ticks))" -v hz="$(getconf CLK_TCK)" \
                'BEGIN { printf "%.2f %.2f\n", r, u + s + t / hz }' >>"$work/$who.times"
            [ "$rc" -eq 0 ] || { echo "bench-removal: the $who removal ended with status $rc" >&2; status=1; }
            [ "$r" -eq 1 ] && [ "$who" != census ] &&
                "$WINE" "$bin/qe2e_dump.exe" "$scn" "$(winpath "$work/$who.dump")" </dev/null
            session_end
            rm -rf "$work/$who"
        done
    done
    active=""
    least() { sort -n -k "$2" "$1" | awk -v k="$2" 'NR == 1 { print $k }'; }
    tool_s=$(least "$work/tool.times" 1)
    tool_cpu=$(least "$work/tool.times" 2)
    plain_s=$(least "$work/plain.times" 1)
    plain_cpu=$(least "$work/plain.times" 2)
    census_cpu=$(least "$work/census.times" 2)

    # Both must have removed the same: what stays is the other maker's printers and drivers.
    for who in tool plain; do grep -E '^(printer|driver) ' "$work/$who.dump" >"$work/$who.left" || true; done
    left=$(grep -c '^printer ' "$work/tool.left" || true)
    if ! cmp -s "$work/tool.left" "$work/plain.left" || [ "$left" -ne $((total - removed)) ]; then
        echo "bench-removal: the two removals left different printers or drivers (see $work/*.left)" >&2
        status=1
    fi
    ratio=$(awk -v a="$tool_cpu" -v b="$plain_cpu" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
    printf "%8d  %7d  %8s %7s  %9s %7s  %5s  %10s   (seeding %s s)\n" "$total" "$removed" "$tool_s" "$tool_cpu" \
        "$plain_s" "$plain_cpu" "$ratio" "$census_cpu" "$seed_s"
    if [ -n "$max_ratio" ] && awk -v r="$ratio" -v m="$max_ratio" 'BEGIN { exit !(r > m) }'; then
        echo "bench-removal: the tool took $ratio times the plain program's CPU time (at most $max_ratio)" >&2
        status=1
    fi
    rm -rf "$work/seeded"
done
exit $status
