#!/usr/bin/env bash
# Runs the fault table: the quiet removal of one machine, once per row with one function of the
# strict QSPOOL01.DLL failing, each on a fresh copy of the machine.
#
#   fault-table.sh [--build DIR] [-j N] [--only TEXT] TABLE
#
# The table (tests/e2e/fault_table.txt) names the machine (a scenario beside run-scenario.sh's
# scenarios) and the tool's arguments in its header, then one row per run:
#
#   function | error | calls | exit | log
#
# calls: "all" (every call fails), "first" (only the first one), or either followed by further keys
# of the strict library's [Fail] section ("all Level=2", "first After=2 Printer=Office").
# exit: the exit code the quiet run must end with. log: a text the action log must hold; "-" for a
# failure that changes nothing and is not logged; "not called" for a function that the machine never
# gets called, which the journal must confirm.
#
# The machine is seeded once (run-scenario.sh with QE2E_SEEDED), with its dumps taken and its
# dry-run report written; each row then runs on a copy of that prefix, in a session of its own, and
# passes when the program ends with the row's exit code within the time-out without a window, the
# log holds the row's text and its last line is the exit code, the journal shows the failure
# injected, and every change to the machine (its dump and the whole-machine audit) is one the
# dry-run report lists or the log names (removal_oracle.py check --partial; a row whose function is
# never called must even leave the complete removal the report promises, and a row that ends with
# 1603 must leave the machine as it was). Rows run N at a time
# (default 4: they wait on the Wine sessions more than they compute).
# Artifacts: DIR/e2e/fault-table-machine/ (the seeding run), DIR/e2e/fault-table/ (a folder per row).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$repo/build/win64
jobs=4
only=""
while [ $# -gt 1 ]; do
    case $1 in
    --build) build=$2; shift 2 ;;
    -j) jobs=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "fault-table: unknown option $1" >&2; exit 2 ;;
    esac
done
table=$(cd "$(dirname "${1:?usage: fault-table.sh [--build DIR] [-j N] [--only TEXT] TABLE}")" && pwd)/$(basename "$1")
build=$(cd "$build" && pwd)
bin=$build/bin
out=$build/e2e/fault-table
t_start=$(date +%s.%N)
elapsed() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
header() { sed -n "s/^$1[[:space:]]*=[[:space:]]*//p" "$table" | head -1; }

machine=$(header machine)
arguments=$(header arguments)
timeout=$(header timeout)
scn=$repo/tests/e2e/scenarios/$machine
[ -f "$scn" ] || { echo "fault-table: $scn does not exist" >&2; exit 2; }
rm -rf "$out"
mkdir -p "$out"

# The machine, once: seeded, dumped, its report written, its session ended.
name=fault-table-machine
seeded=$build/wine/e2e/fault-table.seeded
QE2E_RUN_NAME=$name QE2E_SEEDED=$seeded "$here/run-scenario.sh" --build "$build" "$scn" >"$out/seed.log" 2>&1 ||
    { cat "$out/seed.log" >&2; echo "fault-table: the machine could not be seeded" >&2; exit 1; }
base=$build/e2e/$name
composed=$base/scenario/$(basename "$machine" .scn).composed.scn
[ -f "$composed" ] || composed=$scn
echo "machine $machine seeded in $(elapsed "$t_start") s"

export WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d"
unset DISPLAY
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)

# run_row NUMBER FUNCTION ERROR CALLS EXIT LOG: one row; prints its result line, and on a failure
# writes why to the row's folder.
run_row() {
    local n=$1 function=$2 error=$3 calls=$4 code=$5 text=$6
    local dir
    dir=$out/$(printf %02d "$n")-$function-${calls// /-}
    local prefix=$build/wine/e2e/fault-table.$n
    local t0 why=""
    t0=$(date +%s.%N)
    mkdir -p "$dir"
    rm -rf "$prefix"
    cp -a "$seeded" "$prefix"
    # The strict library's configuration of the machine, and the row's failure.
    {
        cat "$prefix/drive_c/Uninstall/QSPOOL01.INI" 2>/dev/null || true
        printf '[Fail]\r\nFunction=%s\r\nError=%s\r\n' "$function" "$error"
        [ "${calls%% *}" = first ] && printf 'Times=1\r\n'
        # The keys after the first word, each starting with a name and "=" (values may hold blanks).
        [ "${calls#* }" = "$calls" ] || echo "${calls#* }" | sed 's/ \([A-Za-z]*=\)/\n\1/g; s/$/\r/'

    } >"$dir/qspool.ini"
    # The robot's scenario: the machine's [machine] section and the one step.
    {
        awk '/^[ \t]*\[/ { in_m = ($0 ~ /^[ \t]*\[machine\]/) } in_m' "$composed"
        echo "timeout = ${timeout:-60}"
        echo "[steps]"
        echo "start = $arguments /LOG:\"$(winpath "$dir/removal.log")\""
        echo "windowless-exit = $code"
    } >"$dir/row.scn"
    (
        export WINEPREFIX=$prefix
        export QSPOOL_CONFIG QSPOOL_JOURNAL
        QSPOOL_CONFIG=$(winpath "$dir/qspool.ini")
        QSPOOL_JOURNAL=$(winpath "$dir/journal.txt")
        wineserver -p </dev/null >/dev/null 2>&1
        "$WINE" "$bin/qe2e_dump.exe" --version </dev/null >/dev/null 2>&1 || true
        # A Wine process under load now and then dies in its own start-up: the robot starts the
        # tool again when that happens (error 1359), and a dump, which changes nothing, is taken again.
        status=0
        "$WINE" "$bin/qe2e_robot.exe" "$(winpath "$dir/row.scn")" </dev/null >"$dir/robot.log" 2>&1 || status=$?
        dump() { "$WINE" "$bin/qe2e_dump.exe" "$@" </dev/null >>"$dir/dump.log" 2>&1; }
        dump "$(winpath "$composed")" "$(winpath "$dir/after.dump")" ||
            dump "$(winpath "$composed")" "$(winpath "$dir/after.dump")" || true
        dump --audit "$(winpath "$dir/after.audit")" || dump --audit "$(winpath "$dir/after.audit")" || true
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        exit $status
    ) || why="the program did not end with $code without a window ($(grep -m1 FAIL "$dir/robot.log" || true))"
    rm -rf "$prefix"

    local log=$dir/removal.log
    if [ -z "$why" ] && ! tail -1 "$log" 2>/dev/null | tr -d "\r" | grep -q "exit code $code\$"; then
        why="the log does not end with the exit code"
    elif [ -z "$why" ] && [ "$text" = "not called" ]; then
        grep -q "^$function " "$dir/journal.txt" && why="$function was called"
    elif [ -z "$why" ]; then
        [ "$text" = - ] || grep -qF -- "$text" "$log" || why="the log does not say: $text"
        # BOOL functions journal "-> 0 err=E", the others their result "-> E".
        grep -qE "^$function .* -> (0 err=)?$error( |\$)" "$dir/journal.txt" || why="${why:+$why; }no call failed with $error"
    fi
    if [ -z "$why" ]; then
        local partial=(--partial)
        [ "$text" = "not called" ] && partial=()
        python3 "$here/removal_oracle.py" check --before "$base/before.dump,$base/before.audit" \
            --after "$dir/after.dump,$dir/after.audit" --report "$base/report.json" --log "$log" \
            --scenario "$composed" --intact "${partial[@]}" >"$dir/oracle.txt" 2>&1 ||
            why="changed what the report and the log do not name (see $dir/oracle.txt)"
    fi
    # 1603 promises that nothing was removed: the machine must be as it was.
    if [ -z "$why" ] && [ "$code" = 1603 ]; then
        python3 "$here/removal_oracle.py" same "$base/before.dump,$base/before.audit" \
            "$dir/after.dump,$dir/after.audit" >>"$dir/oracle.txt" 2>&1 ||
            why="ended with 1603 but changed the machine (see $dir/oracle.txt)"
    fi
    printf '%-3s %-28s %5s  %-24s %5s  %5ss  %s\n' "$n" "$function" "$error" "$calls" "$code" "$(elapsed "$t0")" \
        "${why:+FAIL: $why}"
    # The audit of a row that passed is kept out of the artifacts: some 4 MB each. A row that failed
    # says so in a file: the status of a background row that ends unwatched would be lost.
    if [ -n "$why" ]; then echo "$why" >"$dir/failed"; else rm -f "$dir/after.audit"; fi
}

# An interrupted table leaves no session and no prefix behind. The table's own status stands: under
# set -e a failing command in the trap (kill with no jobs left) would replace it.
cleanup() {
    local status=$? p running
    running=$(jobs -p)
    [ -z "$running" ] || kill $running 2>/dev/null || true
    wait || true
    for p in "$build"/wine/e2e/fault-table.[0-9]*; do
        [ -d "$p" ] || continue
        WINEPREFIX=$p wineserver -k 2>/dev/null || true
        rm -rf "$p"
    done
    rm -rf "$seeded"
    exit $status
}
trap cleanup EXIT

rows=0
ran=0
trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; echo "${s%"${s##*[![:space:]]}"}"; }
while IFS='|' read -r function error calls code text; do
    function=$(trim "$function")
    [ -z "$function" ] || [ "${function:0:1}" = "#" ] || [[ "$function" == *=* ]] && continue
    rows=$((rows + 1))
    line="$function|$error|$calls"
    [ -n "$only" ] && [[ "$line" != *"$only"* ]] && continue
    ran=$((ran + 1))
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    run_row "$rows" "$function" "$(trim "$error")" "$(trim "$calls")" "$(trim "$code")" "$(trim "$text")" &
done <"$table"
wait
failed=$(find "$out" -name failed | wc -l)
echo "$ran of $rows rows run, $failed failed, $(elapsed "$t_start") s in all"
[ "$failed" -eq 0 ]
