#!/usr/bin/env bash
# A fuzzing campaign: fuzz/run.sh [-r MIN_RUNS] [-n] [SECONDS] [TARGET...]
# Runs each target (default: all, one after another) for SECONDS (default 300) and, with
# -r, on until it has done MIN_RUNS executions. Each starts from a copy of
# fuzz/corpus/<target> under build/fuzz-work, so the grown corpus stays there; afterwards
# libFuzzer's merge adds to fuzz/corpus/<target> only the inputs that reach new code, as
# found-* files (-n skips the merge). An input that fails is kept under
# build/fuzz-work/<target>/artifacts. Ends with a Markdown table of runs, speed, memory,
# new coverage and findings per target.
# FUZZ_BUILD_DIR=DIR uses an already configured build folder instead of the native
# preset; FUZZ_WORK_DIR=DIR works elsewhere than build/fuzz-work.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
all_targets=(listfile jpeg bmp icon metafile storedvalue)

usage() {
  echo "usage: fuzz/run.sh [-r MIN_RUNS] [-n] [SECONDS] [TARGET...] (targets: ${all_targets[*]})" >&2
  exit 2
}
min_runs=0
merge=1
while getopts r:n opt; do
  case $opt in
    r) [[ $OPTARG =~ ^[0-9]+$ ]] || usage; min_runs=$OPTARG ;;
    n) merge=0 ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
seconds=300
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
targets=("${targets[@]#fuzz_}")
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] || {
    echo "run.sh: unknown target '$t'" >&2
    usage
  }
done

cd "$root"
if [ -n "${FUZZ_BUILD_DIR:-}" ]; then
  build=$FUZZ_BUILD_DIR
else
  build=$root/build/native
  cmake --preset native >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"
build=$(cd "$build" && pwd)

work=${FUZZ_WORK_DIR:-$root/build/fuzz-work}
mkdir -p "$work"
work=$(cd "$work" && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

# The last value of a "stat::NAME: value" line in a libFuzzer log.
stat() { sed -n "s/^stat::$1: *\([0-9]*\).*/\1/p" "$2" | tail -n 1; }

rows=()
failed=0
for t in "${targets[@]}"; do
  fuzzer=$build/fuzz/fuzz_$t
  dir=$work/$t
  rm -rf "$dir"
  mkdir -p "$dir/artifacts"
  cp -R "$root/fuzz/corpus/$t" "$dir/corpus"
  log=$dir/fuzz.log
  : >"$log"
  echo "== fuzz_$t: $seconds s, at least $min_runs runs (log: $log)"

  # Sessions until both the time and the runs are done: the first one for the time, then
  # more on the grown corpus while runs are missing.
  runs=0 peak=0 cpu=0 rc=0 session=0
  start=$SECONDS
  start_cov=
  while [ "$rc" -eq 0 ]; do
    left=$((seconds - (SECONDS - start)))
    if [ "$left" -gt 0 ]; then
      limit=(-max_total_time="$left")
    elif [ "$runs" -lt "$min_runs" ]; then
      limit=(-runs=$((min_runs - runs)))
    else
      break
    fi
    session=$((session + 1))
    slog=$dir/session-$session.log
    TIMEFORMAT='%3U %3S'
    # The CPU time, beside the wall time: other work on the machine slows the runs down.
    { time { (cd "$dir" && "$fuzzer" "$dir/corpus" "${limit[@]}" -rss_limit_mb=1024 \
      -malloc_limit_mb=512 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$dir/artifacts/") >"$slog" 2>&1; }; } 2>"$dir/cpu" || rc=$?
    cat "$slog" >>"$log"
    n=$(stat number_of_executed_units "$slog")
    runs=$((runs + ${n:-0}))
    p=$(stat peak_rss_mb "$slog")
    [ "${p:-0}" -le "$peak" ] || peak=$p
    cpu=$(awk -v c="$cpu" '{printf "%.3f", c + $1 + $2}' "$dir/cpu")
    [ -n "$start_cov" ] || start_cov=$(sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p' "$slog" | head -n 1)
    # A session that stops at once (a failing seed) must not loop forever.
    [ -n "$n" ] || break
  done
  wall=$((SECONDS - start))
  end_cov=$(sed -n 's/.*[^a-z]cov: \([0-9]*\) ft:.*/\1/p' "$log" | tail -n 1)

  found=$(find "$dir/artifacts" -type f | sort)
  if [ "$rc" -eq 0 ] && [ -z "$found" ]; then
    result="none"
  else
    failed=1
    result="FOUND (exit $rc): $(echo "${found:-see $log}" | xargs -r -n 1 basename | paste -sd ' ')"
    grep -m 3 -E '^==[0-9]+==ERROR|runtime error|check failed|^SUMMARY' "$log" || true
  fi

  added=-
  if [ "$merge" -eq 1 ]; then
    mlog=$dir/merge.log
    ls "$root/fuzz/corpus/$t" >"$dir/seeds"
    # Without counters, an input must reach new code to be added, not only run known
    # code more often: the repository keeps few seeds.
    if "$fuzzer" -merge=1 -use_counters=0 -rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=10 \
      "$root/fuzz/corpus/$t" "$dir/corpus" >"$mlog" 2>&1; then
      added=$(sed -n 's/^MERGE-OUTER: \([0-9]*\) new files.*/\1/p' "$mlog" | tail -n 1)
      # Named apart from the hand-made seeds, which fuzz/make-corpus.sh remakes.
      comm -13 "$dir/seeds" <(ls "$root/fuzz/corpus/$t") | while read -r f; do
        mv "$root/fuzz/corpus/$t/$f" "$root/fuzz/corpus/$t/found-$f"
      done
    else
      added="merge failed (see $mlog)"
    fi
  fi

  rows+=("$(awk -v t="fuzz_$t" -v runs="$runs" -v wall="$wall" -v cpu="$cpu" -v peak="$peak" \
    -v c0="${start_cov:-?}" -v c1="${end_cov:-?}" -v added="${added:-0}" -v result="$result" \
    'BEGIN {
       printf "| %s | %d | %d s | %d | %d | %d MB | %s -> %s | %s | %s |", t, runs, wall,
         wall ? runs / wall : 0, cpu ? runs / cpu : 0, peak, c0, c1, added, result
     }')")
done

echo
echo "| target | runs | time | runs/s | runs per CPU s | peak memory | coverage (seeds -> end) | inputs merged | findings |"
echo "|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
exit "$failed"
