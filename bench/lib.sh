# Shared set-up of the benchmarks, sourced by bench/run.sh: the optimised builds, the test
# images, a scratch folder and the Wine environment, and small helpers for the parts.
#
#   BENCH_BUILD   where the benchmark builds and their Wine prefix go (default build/)
#   RUNS          rounds per figure (default 5)
#   BENCH_FAIL    one measurement to make fail, by the name a failure is logged under (startup,
#                 change, lists, idle-program, wine-ours-24, ...), to see it through to the
#                 tables and the exit status
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BENCH_BUILD:-$root/build}"
images="$root/build/bench-images"
runs=${RUNS:-5}
mkdir -p "$images" "$build"
log() { printf '[bench] %s\n' "$*" >&2; }

# What could not be measured. Its figures print as "failed", and bench/run.sh ends non-zero.
failures=()

# measure NAME FILE COMMAND...: runs one benchmark program, its output into FILE. A failure
# is logged with the program's last error lines and noted; the other parts still run.
measure() {
  local name=$1 file=$2
  shift 2
  if [ "${BENCH_FAIL:-}" = "$name" ]; then
    set -- sh -c 'echo "made to fail by BENCH_FAIL" >&2; exit 1'
  fi
  if ! "$@" </dev/null >"$file" 2>"$file.err"; then
    log "$name failed: $(tail -n 3 "$file.err")"
    failures+=("$name")
  fi
}

# table NAME [-v VAR=VALUE]... PROGRAM FILE...: a part's table, printed by the awk PROGRAM from
# the programs' output FILEs. The program formats its figures with fig() and ratio(), which
# print "failed" for a figure that is missing; the table is then noted as failed.
table() {
  local name=$1 vars=()
  shift
  while [ "$1" = -v ]; do
    vars+=(-v "$2")
    shift 2
  done
  local program=$1
  shift
  awk "${vars[@]}" '
    function failure(width) { failed++; return sprintf("%" width "s", "failed") }
    function fig(v, width, decimals) {
      return v == "" ? failure(width) : sprintf("%" width "." decimals "f", v)
    }
    function ratio(a, b, width) {
      return a == "" || b == "" || b + 0 == 0 ? failure(width) : sprintf("%" width ".2f", a / b)
    }
    '"$program"'
    END { exit (failed > 0) }' "$@" || failures+=("$name table")
}

"$root/scripts/bootstrap.sh"

# Native: an optimised build of its own. gcc, because with clang the fuzz targets' coverage
# instrumentation would go into the core and slow the conversion.
log "building the native benchmark"
cmake -S "$root" -B "$build/bench-native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build "$build/bench-native" --target bench_native -j2 >/dev/null
native="$build/bench-native/bench/bench_convert"
nativepreview="$build/bench-native/bench/bench_preview"

log "building the Windows benchmark"
cmake --preset win64 -B "$build/bench-win64" >/dev/null
cmake --build "$build/bench-win64" --target bench_windows Papershift7 -j2 >/dev/null
winbench="$build/bench-win64/bench"
winexe="$winbench/bench_convert.exe"
winpreview="$winbench/bench_preview.exe"
winlists="$winbench/bench_lists.exe"
winprogram="$build/bench-win64/Papershift7.exe"
windjpeg="$root/build/deps/libjpeg-turbo-win64/bin/djpeg.exe"

# Photo-like pictures (ImageMagick plasma fractals: smooth areas with fine detail, about as
# dense as camera pictures), made once and kept.
sizes=(2:1632x1224 12:4000x3000 24:6000x4000 48:8000x6000)
files=()
for entry in "${sizes[@]}"; do
  mp=${entry%%:*}
  file="$images/photo-${mp}mp.jpg"
  if [ ! -s "$file" ]; then
    log "generating $file (${entry#*:}, up to a minute or two)"
    convert -size "${entry#*:}" -seed "$mp" plasma:fractal -quality 90 "$file.tmp.jpg"
    mv "$file.tmp.jpg" "$file"
  fi
  files+=("$file")
done

winpath() { printf 'Z:%s' "$1"; }
winfiles=()
for f in "${files[@]}"; do winfiles+=("$(winpath "$f")"); done

out=$(mktemp -d)
source "$root/scripts/wine-env.sh"
wine_env_start "$build/bench-win64/prefix"
trap 'wine_env_stop; rm -rf "$out"' EXIT

# Best of the rounds of a whole process; "wall" is elapsed time, "cpu" user + system time.
# A round that fails leaves the figures out (and is noted, as `measure` does).
TIMEFORMAT='%3R %3U %3S'
best_of() {  # best_of LABEL COMMAND...  ->  "LABEL wallms cpums"
  local label=$1 best_wall=999999 best_cpu=999999 r t wall user sys cpu
  shift
  [ "${BENCH_FAIL:-}" = "$label" ] && set -- false
  for ((r = 0; r < runs; r++)); do
    if ! t=$({ time "$@" </dev/null >/dev/null 2>&1; } 2>&1); then
      log "$label failed"
      failures+=("$label")
      echo "$label"
      return
    fi
    read -r wall user sys <<<"$t"
    wall=$(awk -v w="$wall" 'BEGIN { printf "%.1f", w * 1000 }')
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f", (u + s) * 1000 }')
    best_wall=$(awk -v a="$best_wall" -v b="$wall" 'BEGIN { print (b < a ? b : a) }')
    best_cpu=$(awk -v a="$best_cpu" -v b="$cpu" 'BEGIN { print (b < a ? b : a) }')
  done
  echo "$label $best_wall $best_cpu"
}
