#!/usr/bin/env bash
# Runs the fuzz targets for a long time each, one after the other, and keeps what they found.
#
#   tools/fuzz-long.sh [--seconds N] [TARGET...]
#
#   --seconds N   CPU seconds per target (default 3600); the run is ended once the fuzzer process has
#                 used that much CPU, however long that takes on a busy machine
#   TARGET        fuzz_ini_text or ini_text, ...; default: every target of tests/fuzz/CMakeLists.txt
#
# Each target runs at nice 19 as one process on one CPU (no -fork, -jobs or -workers), with ASan and
# UBSan (a UBSan report ends the run like a crash). New inputs grow build/fuzz/long/<target>-corpus
# from the seeds in tests/fuzz/corpus/<name>; a crashing input is written as
# build/fuzz/long/<target>-crash-*. The log build/fuzz/long/<target>.log holds libFuzzer's output and
# ends with a summary: CPU seconds, executions, coverage (cov and ft of libFuzzer's last report), the
# corpus size and the findings. After its run each grown corpus is minimised (-merge=1) into
# tests/fuzz/corpus/<name>: the inputs that add coverage to the seeds there are copied in, ready to
# commit. The exit status is 1 when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

seconds=3600
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) seconds=${2:?--seconds needs a number}; shift 2 ;;
    -*) echo "fuzz-long: unknown option $1" >&2; exit 2 ;;
    *) break ;;
    esac
done
[[ $seconds =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || { echo "fuzz-long: --seconds takes a positive number" >&2; exit 2; }

# "qu_fuzz_target(fuzz_x Source.cpp corpus)" lines name every target and its corpus folder.
declare -A corpus_of
all=()
while read -r target corpus; do
    corpus_of[$target]=$corpus
    all+=("$target")
done < <(sed -n 's/^qu_fuzz_target(\(fuzz_[a-z_]*\) [^ ]* \([a-z_]*\))$/\1 \2/p' tests/fuzz/CMakeLists.txt)
[ $# -gt 0 ] || set -- "${all[@]}"
targets=()
for t in "$@"; do
    t=fuzz_${t#fuzz_}
    [ -n "${corpus_of[$t]:-}" ] || { echo "fuzz-long: no target $t (known: ${all[*]})" >&2; exit 2; }
    targets+=("$t")
done

nice -n 19 cmake --preset fuzz >/dev/null
nice -n 19 cmake --build --preset fuzz -j1 --target "${targets[@]}"
bin=$repo/build/fuzz/bin
out=$repo/build/fuzz/long
mkdir -p "$out"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
clock_ticks=$(getconf CLK_TCK)

# CPU seconds (user and system) that process pid has used so far.
cpu_seconds() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
    # Fields after the command name: state is 3, utime 14 and stime 15 of the whole line.
    set -- ${stat##*) }
    echo $(((${12} + ${13}) / clock_ticks))
}

pid=""
trap '[ -n "$pid" ] && kill -INT "$pid" 2>/dev/null; exit 130' INT TERM

status=0
for t in "${targets[@]}"; do
    log=$out/$t.log
    grown=$out/$t-corpus
    seeds=$repo/tests/fuzz/corpus/${corpus_of[$t]}
    mkdir -p "$grown" "$seeds"
    rm -f "$out/$t"-crash-* "$out/$t"-leak-* "$out/$t"-timeout-* "$out/$t"-oom-*
    echo "== $t: $seconds CPU seconds, log $log"
    # No time limit of libFuzzer's own (it counts wall time); the loop below ends the run with SIGINT,
    # on which libFuzzer prints its final statistics.
    nice -n 19 "$bin/$t" -max_total_time=0 -print_final_stats=1 -rss_limit_mb=2048 -timeout=20 \
        -artifact_prefix="$out/$t-" "$grown" "$seeds" >"$log" 2>&1 &
    pid=$!
    used=0
    while kill -0 "$pid" 2>/dev/null; do
        used=$(cpu_seconds "$pid")
        [ "$used" -ge "$seconds" ] && kill -INT "$pid" 2>/dev/null
        sleep 1
    done
    wait "$pid" || true
    pid=""

    # libFuzzer's reports: "#<executions> <event> cov: <n> ft: <n> corp: <n>/<size> ..."
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    [ -n "$executions" ] || executions=$(echo "$last" | sed -n 's/^#\([0-9]*\).*/\1/p')
    cov=$(echo "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
    ft=$(echo "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
    findings=$(ls "$out/$t"-crash-* "$out/$t"-leak-* "$out/$t"-timeout-* "$out/$t"-oom-* 2>/dev/null || true)
    [ -z "$findings" ] || status=1

    # The seeds stay as they are; of the grown inputs only those that add coverage to them are copied.
    before=$(find "$seeds" -type f | wc -l)
    if nice -n 19 "$bin/$t" -merge=1 -rss_limit_mb=2048 -timeout=20 "$seeds" "$grown" >"$out/$t.merge.log" 2>&1; then
        merged="$(($(find "$seeds" -type f | wc -l) - before)) inputs added to ${seeds#"$repo"/}"
    else
        merged="failed (see $out/$t.merge.log)"
        status=1
    fi
    {
        echo "== summary"
        echo "target: $t"
        echo "cpu seconds: $used"
        echo "executions: ${executions:-?}"
        echo "coverage: cov ${cov:-?} ft ${ft:-?}"
        echo "corpus: $(find "$grown" -type f | wc -l) grown inputs, $merged"
        echo "findings: ${findings:-none}"
    } >>"$log"
    sed -n '/^== summary/,$p' "$log" | tail -n +2 | sed 's/^/   /'
done
exit $status
