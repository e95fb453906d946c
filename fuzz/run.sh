#!/usr/bin/env bash
# Runs the fuzz targets for as long as asked: fuzz/run.sh [SECONDS] [TARGET...]
# (default 300 seconds each, every target, one after another). Each run starts from a
# fresh copy of fuzz/corpus/<target> under build/fuzz-work, so the repository's seeds
# stay as they are; an input that fails is kept there and named in the summary.
# FUZZ_BUILD_DIR=DIR uses an already configured build folder instead of the native preset.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
all_targets=(listfile jpeg bmp icon metafile storedvalue)

seconds=300
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  t=${t#fuzz_}
  [[ " ${all_targets[*]} " == *" $t "* ]] || {
    echo "run.sh: unknown target '$t' (known: ${all_targets[*]})" >&2
    exit 2
  }
done
targets=("${targets[@]#fuzz_}")

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

summary=()
failed=0
for t in "${targets[@]}"; do
  dir=$work/$t
  rm -rf "$dir"
  mkdir -p "$dir/artifacts"
  cp -R "$root/fuzz/corpus/$t" "$dir/corpus"
  log=$dir/fuzz.log
  echo "== fuzz_$t: $seconds s (log: $log)"
  rc=0
  (cd "$dir" && "$build/fuzz/fuzz_$t" "$dir/corpus" -max_total_time="$seconds" \
    -rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/") >"$log" 2>&1 || rc=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  [ -n "$runs" ] || runs=$(sed -n 's/^Done \([0-9]*\) runs in.*/\1/p' "$log" | tail -n 1)
  found=$(find "$dir/artifacts" -type f | sort)
  if [ "$rc" -eq 0 ] && [ -z "$found" ]; then
    result="no finding"
  else
    failed=1
    result="FOUND (exit $rc): ${found:-see the log}"
    grep -m 3 -E '^==[0-9]+==ERROR|runtime error|check failed|^SUMMARY' "$log" || true
  fi
  summary+=("$(printf 'fuzz_%-12s %12s executions  %s' "$t" "${runs:-?}" "$result")")
done

echo
echo "== summary ($seconds s per target)"
printf '%s\n' "${summary[@]}"
exit "$failed"
