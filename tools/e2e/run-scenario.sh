#!/usr/bin/env bash
# Runs one end-to-end scenario: a fresh copy of the template Wine prefix, the machine seeded from the
# scenario, the programs driven by the robot, the machine dumped before and after and checked.
#
#   run-scenario.sh [--build DIR] [--interactive] [--print-dumps] SCENARIO.scn
#
#   --build DIR      the win64 build folder (default: build/win64 of the repository)
#   --interactive    no robot: start the program and wait until the user has closed it; uses
#                    $DISPLAY when set, else a private Xvfb (the demo)
#   --print-dumps    print both state dumps and their difference
#
# Environment: QE2E_KEEP=1 keeps the prefix (path printed); QE2E_SHOTS=DIR puts screenshots there;
# QE2E_RUN_NAME names the run instead of the scenario's file name; QE2E_SEEDED=DIR stops the run
# once the machine is seeded and dumped (and its report written) and keeps the prefix, its session
# ended, as DIR, for a driver that runs the program many times on copies of one machine
# (fault-table.sh).
# Artifacts (dumps, robot log, screenshots) go to DIR/e2e/<run name>/.
#
# "machine-of = OTHER.scn" in [machine]: OTHER's machine is seeded before this scenario's own
# sections (see below).
#
# "same-after-as = OTHER.scn" in [machine]: once this scenario's checks hold, OTHER (a scenario
# beside it, usually the same machine driven another way) is run as well, and the two machines
# after their steps must dump alike.
#
# Display: "display = xvfb" in [machine] gives the run its own Xvfb (screenshots, Program Manager
# DDE); otherwise Wine's null graphics driver, where windows, dialogs and messages work without X.
#
# Report and audit (not with --interactive): "report = yes" in [machine] first runs the tool with
# /REPORT and /LOG on the seeded machine (and the [report] section's "arguments": the selection
# the steps will make, as /PRINTER), which must leave it unchanged, gives every start of the steps
# a /LOG, and then holds the removal to the report and the log (removal_oracle.py); "audit = yes"
# adds the whole-machine audit (qe2e_dump --audit) to the dumps those checks compare.
#
# Restart: the robot has no window, so when the program under test restarts Windows (Wine ends
# every process of the prefix that owns a window and carries out the pending renames) the robot
# lives on and goes on checking. A scenario's [after-restart] checks run on a dump taken after the
# runner has ended the session and started a new one, which performs the deferred deletions,
# WININIT.INI and RunOnce the way a restart of Windows does.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$repo/build/win64
interactive=""
print_dumps=""
while [ $# -gt 1 ]; do
    case $1 in
    --build) build=$2; shift 2 ;;
    --interactive) interactive=1; shift ;;
    --print-dumps) print_dumps=1; shift ;;
    *) echo "run-scenario: unknown option $1" >&2; exit 2 ;;
    esac
done
scn=$(cd "$(dirname "${1:?usage: run-scenario.sh [options] SCENARIO.scn}")" && pwd)/$(basename "$1")
name=${QE2E_RUN_NAME:-$(basename "$scn" .scn)}
build=$(cd "$build" && pwd)
bin=$build/bin
work=$build/e2e/$name
root=$build/wine
t_start=$(date +%s.%N)

say() { awk -v a="$t_start" -v b="$(date +%s.%N)" -v m="$*" 'BEGIN { printf "[%5.1fs] %s\n", b - a, m }'; }
fail() { echo "FAIL $scn: $*" >&2; exit 1; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
# [machine] key of the scenario (last one wins), blanks trimmed.
machine() {
    awk -v key="$1" '
        /^[ \t]*\[/ { in_m = ($0 ~ /^[ \t]*\[machine\][ \t]*$/); next }
        in_m { line = $0; sub(/[ \t]+;.*$/, "", line)
               if (match(line, /^[ \t]*[^=]+=/)) { k = substr(line, 1, RLENGTH - 1); gsub(/^[ \t]+|[ \t]+$/, "", k)
                   if (tolower(k) == key) { v = substr(line, RLENGTH + 1); gsub(/^[ \t]+|[ \t]+$/, "", v); val = v } } }
        END { print val }' "$scn"
}

for p in qe2e_seed qe2e_dump qe2e_robot; do
    [ -f "$bin/$p.exe" ] || fail "$bin/$p.exe is not built"
done
program=$(machine program)
program=${program:-%TOOLDIR%\\QUINST01.EXE}
program_file=${program##*\\}
[ -f "$bin/$program_file" ] || fail "$program_file is not built yet (nothing to run)"

rm -rf "$work"
mkdir -p "$work"

# "machine-of = OTHER.scn" in [machine]: the machine of OTHER (a scenario beside it; every section
# but its steps and checks) is seeded first, then this scenario's own sections; the two [machine]
# sections become one, in which this scenario's keys win. One machine, several ways to drive it, written down once. The composed scenario goes into the
# run's folder beside links to the files that "source =" lines name.
base=$(machine machine-of)
if [ -n "$base" ]; then
    dir=$(dirname "$scn")
    [ -f "$dir/$base" ] || fail "machine-of: $base is not beside the scenario"
    mkdir -p "$work/scenario"
    ln -s "$dir"/* "$work/scenario/"
    composed=$work/scenario/$name.composed.scn
    # part machine: the [machine] lines; part rest: every other section but steps and checks.
    part() {
        awk -v want="$1" -v keep_checks="${3:-}" '
            /^[ \t]*\[/ { sec = tolower($0); gsub(/^[ \t]*\[|\][ \t]*$/, "", sec)
                           skip = (keep_checks == "" && sec ~ /^(steps|expect|after-restart|journal)$/)
                           if (sec == "machine") next }
            want == "machine" && sec == "machine" { print; next }
            want == "rest" && sec != "machine" && sec != "" && !skip { print }' "$2"
    }
    { echo "[machine]"; part machine "$dir/$base"; part machine "$scn"
      part rest "$dir/$base"; part rest "$scn" checks; } >"$composed"
    scn=$composed
fi
shots=${QE2E_SHOTS:-$work/shots}

export WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d"
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)

# The template prefix is the one tools/wine-run.sh makes (null driver, no crash dialog, no links
# into the host's home); a real copy keeps every run independent.
QWINE_ROOT=$root QWINE_TEMPLATE_ONLY=1 "$repo/tools/wine-run.sh" "$bin/qe2e_seed.exe"
mkdir -p "$root/e2e"
prefix=$(mktemp -d "$root/e2e/$name.XXXXXX")
rmdir "$prefix"
cp -a "$root/template" "$prefix"
export WINEPREFIX=$prefix

xvfb_pid=""
watch_pid=""
cleanup() {
    [ -n "$watch_pid" ] && kill "$watch_pid" 2>/dev/null
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    if [ -n "${QE2E_KEEP:-}" ]; then echo "kept prefix: $prefix" >&2; else rm -rf "$prefix"; fi
}
trap cleanup EXIT

# Settings that must hold from the session's first program on are written into the copied
# registry file before any Wine process reads it: faster than reg.exe and a session restart.
user_reg=$prefix/user.reg
add_user_key() { printf '\n[%s] 0\n%s\n' "$1" "$2" >>"$user_reg"; }
display=$(machine display)
use_x=""
if [ -n "$interactive" ] && [ -n "${DISPLAY:-}" ]; then
    use_x=user
elif [ -n "$interactive" ] || [ "$display" = xvfb ]; then
    use_x=xvfb
fi
if [ -n "$use_x" ]; then
    sed -i '/^"Graphics"="null"$/d' "$user_reg"
fi
if [ "$use_x" = xvfb ]; then
    # Without a window manager every hide waits ~2 s unless Wine manages the windows itself.
    add_user_key 'Software\\Wine\\X11 Driver' '"Managed"="N"'
    Xvfb -displayfd 6 -screen 0 1024x768x24 -nolisten tcp 6>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.02; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
elif [ -z "$use_x" ]; then
    unset DISPLAY
fi
windows=$(machine windows)
if [ -n "$windows" ]; then
    for exe in QUINST01.EXE "$program_file"; do
        add_user_key "Software\\\\Wine\\\\AppDefaults\\\\$exe" "\"Version\"=\"$windows\""
    done
fi

# The program and its companion library go where the scenario says the tool lives.
tooldir=$(machine tooldir)
tooldir=${tooldir:-C:\\Uninstall}
unix_tooldir=$prefix/drive_c/$(echo "${tooldir:3}" | tr '\\' '/')
mkdir -p "$unix_tooldir"
for f in QUINST01.EXE QSPOOL01.DLL qe2e_fake_tool.exe; do
    [ -f "$bin/$f" ] && cp "$bin/$f" "$unix_tooldir/"
done
# The strict spooler library (job queues, print servers, failures on demand, a call journal) when
# the scenario asks for it; the seeder writes its QSPOOL01.INI from the [strict ...] sections.
if [ "$(machine library)" = strict ] || grep -qi '^\[strict ' "$scn"; then
    [ -f "$bin/strict/QSPOOL01.DLL" ] || fail "the scenario needs the strict spooler library, which is not built"
    cp "$bin/strict/QSPOOL01.DLL" "$unix_tooldir/QSPOOL01.DLL"
fi
# The strict library's call journal goes with the artifacts, outside the folders the dumps compare.
export QSPOOL_JOURNAL
QSPOOL_JOURNAL=$(winpath "$work/journal.txt")

wineserver -p </dev/null >/dev/null 2>&1
# The first program of a session carries out what a Windows start would (pending renames,
# WININIT.INI, HKLM RunOnce): let that happen before the machine is seeded, not to the seed.
"$WINE" "$bin/qe2e_dump.exe" --version </dev/null >/dev/null 2>&1 || true
say "prefix ready ($prefix)"

w_scn=$(winpath "$scn")
"$WINE" "$bin/qe2e_seed.exe" "$w_scn" </dev/null >"$work/seed.log" 2>&1 || { cat "$work/seed.log" >&2; fail "seeding failed"; }
say "seeder done"
if grep -qiE '^[[:space:]]*held[[:space:]]*=[[:space:]]*yes' "$scn"; then
    "$WINE" "$bin/qe2e_seed.exe" --hold "$w_scn" "$(winpath "$work/held")" </dev/null >>"$work/seed.log" 2>&1 &
    for _ in $(seq 500); do [ -f "$work/held" ] && break; sleep 0.02; done
    [ -f "$work/held" ] || { cat "$work/seed.log" >&2; fail "the held files could not be opened"; }
fi
# A person at the screen chooses what to remove, which no report run beforehand can know.
report=""
audit=""
unset QE2E_TOOL_ARGS QE2E_TOOL_LOG  # a run started by another (same-after-as) sets its own
if [ -z "$interactive" ]; then
    report=$(machine report)
    audit=$(machine audit)
fi
# DUMP NAME: the scenario's dump into NAME.dump and, with "audit = yes", the audit into NAME.audit.
# A dump only reads the machine, so one that fails is run once more: a Wine process now and then
# dies in its own start-up on a loaded machine. A dump that fails twice fails the scenario.
run_dump() {
    local rc=0 try
    for try in 1 2; do
        "$WINE" "$bin/qe2e_dump.exe" "$@" </dev/null && return 0 || rc=$?
        echo "the dump into ${!#} failed with exit $rc (attempt $try of 2)" >&2
    done
    return $rc
}
dump() {
    run_dump "$w_scn" "$(winpath "$work/$1.dump")" || fail "the state dump failed"
    if [ "$audit" = yes ]; then
        run_dump --audit "$(winpath "$work/$1.audit")" || fail "the audit failed"
    fi
}
dumps() { local d=$work/$1.dump; [ "$audit" = yes ] && d+=",$work/$1.audit"; echo "$d"; }
oracle=("python3" "$here/removal_oracle.py")
dump before
say "machine seeded"

# The dry run: it must change nothing, and its JSON must parse (the oracle reads it at the end).
if [ "$report" = yes ]; then
    # The strict library's calls of the dry run go to a journal of their own: [journal] is about the steps.
    QSPOOL_JOURNAL=$(winpath "$work/report-journal.txt") "$WINE" "$bin/qe2e_robot.exe" --report "$w_scn" \
        "$(winpath "$work/report.json")" "$(winpath "$work/report.log")" </dev/null >"$work/report.out" 2>&1 ||
        { cat "$work/report.out" >&2; fail "the report run failed"; }
    dump report
    "${oracle[@]}" same "$(dumps before)" "$(dumps report)" || fail "the report run changed the machine"
    python3 -m json.tool "$work/report.json" >/dev/null || fail "the report is not JSON"
    say "report written"
fi
if [ -n "${QE2E_SEEDED:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$QE2E_SEEDED"
    mv "$prefix" "$QE2E_SEEDED"
    prefix=""
    say "seeded machine kept in $QE2E_SEEDED"
    exit 0
fi
if [ "$report" = yes ] || [ "$audit" = yes ]; then
    export QE2E_TOOL_ARGS QE2E_TOOL_LOG
    QE2E_TOOL_LOG=$(winpath "$work/removal.log")
    QE2E_TOOL_ARGS="/LOG:$QE2E_TOOL_LOG"
fi

if [ -n "$use_x" ]; then
    # The robot asks for pictures by leaving NAME.req files; this loop takes them from outside Wine.
    mkdir -p "$shots"
    (
        while :; do
            for req in "$shots"/*.req; do
                [ -e "$req" ] || continue
                import -display "$DISPLAY" -window root "${req%.req}.png" 2>/dev/null || true
                rm -f "$req"
            done
            sleep 0.05
        done
    ) &
    watch_pid=$!
fi

status=0
if [ -n "$interactive" ]; then
    echo "Starting $program_file on display ${DISPLAY:-?}; close it to see the state afterwards."
    cd "$unix_tooldir"
    "$WINE" "$program_file" </dev/null || true
    if [ "$use_x" = xvfb ]; then import -display "$DISPLAY" -window root "$shots/end.png" 2>/dev/null || true; fi
else
    robot_args=("$w_scn")
    [ -n "$use_x" ] && robot_args+=("$(winpath "$shots")")
    set +e
    "$WINE" "$bin/qe2e_robot.exe" "${robot_args[@]}" </dev/null 2>&1 | tee "$work/robot.log"
    status=${PIPESTATUS[0]}
    set -e
fi
say "steps done"

dump after
if [ -n "$print_dumps" ]; then
    echo "=== machine before ==="; cat "$work/before.dump"
    echo "=== machine after ==="; cat "$work/after.dump"
    echo "=== difference ==="; diff "$work/before.dump" "$work/after.dump" || true
fi
[ "$status" -eq 0 ] || fail "a step failed (see above; log in $work/robot.log)"

journal=()
[ -f "$work/journal.txt" ] && journal=("$QSPOOL_JOURNAL")
"$WINE" "$bin/qe2e_dump.exe" --check "$w_scn" "$(winpath "$work/before.dump")" "$(winpath "$work/after.dump")" \
    "${journal[@]}" </dev/null || fail "the machine is not as expected"
if [ -n "${QE2E_TOOL_ARGS:-}" ]; then
    report_args=()
    [ "$report" = yes ] && report_args=(--report "$work/report.json")
    "${oracle[@]}" check --before "$(dumps before)" --after "$(dumps after)" "${report_args[@]}" \
        --log "$work/removal.log" --scenario "$scn" || fail "the removal is not what its report and log say"
fi

same_as=$(machine same-after-as)
if [ -n "$same_as" ]; then
    other=$name-as-$(basename "$same_as" .scn)
    # On failure the other run's log goes to the output too: a CI run keeps nothing but that.
    QE2E_RUN_NAME=$other "$0" --build "$build" "$(dirname "$scn")/$same_as" >"$work/same-after-as.log" 2>&1 ||
        { tail -n 60 "$work/same-after-as.log" >&2; fail "$same_as failed (log in $work/same-after-as.log)"; }
    diff "$build/e2e/$other/after.dump" "$work/after.dump" >"$work/same-after-as.diff" ||
        { cat "$work/same-after-as.diff" >&2; fail "the machine is not as $same_as leaves it (< $same_as, > this run)"; }
    say "same machine as $same_as leaves"
fi

if grep -q '^\[after-restart\]' "$scn"; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p </dev/null >/dev/null 2>&1
    run_dump "$w_scn" "$(winpath "$work/restarted.dump")" || fail "the state dump failed"
    "$WINE" "$bin/qe2e_dump.exe" --check-restart "$w_scn" "$(winpath "$work/after.dump")" \
        "$(winpath "$work/restarted.dump")" </dev/null || fail "the machine is not as expected after the restart"
fi
say "passed"
