#!/usr/bin/env bash
# The wallpaper conversion benchmark: JPEG to 24-bit BMP file, on photo-like JPEGs of 2, 12,
# 24 and 48 megapixels, against a decode-only pass of the same file (same library, same
# process) and against libjpeg-turbo's own `djpeg -bmp` (whole process against whole
# process); natively and under Wine, in one run, as one table of ratios. Then the preview
# decode on 24 and 48 MP against a full decode plus reduction (native and Wine), and the
# list file of 100 000 entries on a real list box under Wine against its time bounds, and the
# idle memory of the real program under Wine after start-up with a 10 000-entry list.
#
#   bench/run.sh            RUNS=5 by default (rounds per figure)
#   RUNS=9 bench/run.sh     steadier figures on a busy machine
#
# Test images are generated once (ImageMagick plasma fractals: smooth areas with fine
# detail, about as dense as camera pictures) and cached in build/bench-images.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
images="$build/bench-images"
runs=${RUNS:-5}
mkdir -p "$images"
log() { printf '[bench] %s\n' "$*" >&2; }

"$root/scripts/bootstrap.sh"

# Native: an optimised build of its own. gcc, because with clang the fuzz targets' coverage
# instrumentation would go into the core and slow the conversion.
log "building the native benchmark"
cmake -S "$root" -B "$build/bench-native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build "$build/bench-native" --target bench_convert bench_preview -j2 >/dev/null
native="$build/bench-native/bench/bench_convert"
nativepreview="$build/bench-native/bench/bench_preview"

log "building the Windows benchmark"
cmake --preset win64 -B "$build/bench-win64" >/dev/null
cmake --build "$build/bench-win64" --target bench_convert bench_preview bench_lists Papershift7 \
  -j2 >/dev/null
winexe="$build/bench-win64/bench/bench_convert.exe"
winpreview="$build/bench-win64/bench/bench_preview.exe"
winlists="$build/bench-win64/bench/bench_lists.exe"
winprogram="$build/bench-win64/Papershift7.exe"
windjpeg="$build/deps/libjpeg-turbo-win64/bin/djpeg.exe"

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

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# ---- in process ----
log "native, in process ($runs rounds per file)"
"$native" inproc "$out" "$runs" "${files[@]}" >"$out/native.txt"

winpath() { printf 'Z:%s' "$1"; }
winfiles=()
for f in "${files[@]}"; do winfiles+=("$(winpath "$f")"); done
source "$root/scripts/wine-env.sh"
wine_env_start "$build/bench-win64/prefix"
trap 'wine_env_stop; rm -rf "$out"' EXIT
log "Windows build under Wine, in process"
wine "$winexe" inproc "$(winpath "$out")" "$runs" "${winfiles[@]}" </dev/null >"$out/wine.txt" 2>"$out/wine.err"

# ---- preview: DCT-scaled decode against full decode + box reduction, 24 and 48 MP ----
# The frame is the preview's, 225 x 145.
log "preview decode, native and under Wine"
"$nativepreview" "$runs" 225 145 "${files[2]}" "${files[3]}" | sed 's/^/native /' >"$out/preview.txt"
wine "$winpreview" "$runs" 225 145 "${winfiles[2]}" "${winfiles[3]}" </dev/null \
  >"$out/preview-wine.txt" 2>"$out/preview-wine.err"
sed 's/^/wine /' "$out/preview-wine.txt" >>"$out/preview.txt"

# ---- lists: 100 000 entries, under Wine ----
log "list file of 100 000 entries under Wine"
wine "$winlists" 100000 3 "$(winpath "$out/bench-list.kvl")" </dev/null >"$out/lists.txt" \
  2>"$out/lists.err"

# ---- whole processes ----
# Best of the rounds; "wall" is elapsed time, "cpu" user + system time of the process.
TIMEFORMAT='%3R %3U %3S'
best_of() {  # best_of LABEL COMMAND...  ->  "LABEL wallms cpums"
  local label=$1 best_wall=999999 best_cpu=999999 r t wall cpu
  shift
  for ((r = 0; r < runs; r++)); do
    t=$({ time "$@" </dev/null >/dev/null 2>&1; } 2>&1)
    read -r wall user sys <<<"$t"
    wall=$(awk -v w="$wall" 'BEGIN { printf "%.1f", w * 1000 }')
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f", (u + s) * 1000 }')
    best_wall=$(awk -v a="$best_wall" -v b="$wall" 'BEGIN { print (b < a ? b : a) }')
    best_cpu=$(awk -v a="$best_cpu" -v b="$cpu" 'BEGIN { print (b < a ? b : a) }')
  done
  echo "$label $best_wall $best_cpu"
}
log "whole processes: ours against djpeg -bmp"
for entry in "${sizes[@]}"; do
  mp=${entry%%:*}
  f="$images/photo-${mp}mp.jpg"
  {
    best_of "native-ours-$mp" "$native" once "$f" "$out/o.bmp"
    best_of "native-djpeg-$mp" djpeg -bmp -outfile "$out/d.bmp" "$f"
    best_of "wine-ours-$mp" wine "$winexe" once "$(winpath "$f")" "$(winpath "$out/o.bmp")"
    best_of "wine-djpeg-$mp" wine "$windjpeg" -bmp -outfile "$(winpath "$out/d.bmp")" \
      "$(winpath "$f")"
  } >>"$out/proc.txt"
  {
    "$native" once "$f" "$out/o.bmp" | sed "s/^/native-$mp /"
    # Wine's output goes to a file: a pipe could be held open by a helper it starts.
    wine "$winexe" once "$(winpath "$f")" "$(winpath "$out/o.bmp")" </dev/null >"$out/once.txt"
    sed "s/^/wine-$mp /" "$out/once.txt"
  } >>"$out/peak.txt"
done

# ---- idle memory: the real program after start-up ----
# A 10 000-entry list whose first (selected) entry is the 48 MP picture, so that start-up
# also previews it. Linux has no "private bytes"; the process's anonymous resident memory
# (RssAnon) is the nearest figure, and Wine's own notepad gives Wine's floor for a window.
idle_memory() {  # idle_memory LABEL EXE  ->  "LABEL rssanon_kb vmrss_kb"
  local label=$1 exe=$2 pid p found=""
  wine "$exe" </dev/null >"$out/idle-$label.log" 2>&1 &
  pid=$!
  sleep 8
  for p in /proc/[0-9]*; do
    if tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -qF "$(basename "$exe")"; then
      found=$(awk '/^RssAnon/ { a = $2 } /^VmRSS/ { r = $2 } END { print a, r }' "$p/status")
      break
    fi
  done
  echo "$label ${found:-0 0}"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
log "idle memory of the program under Wine (10 000-entry list)"
idle_list="$out/idle-list.kvl"
pictures=()
for mp in 48 2 12 24; do pictures+=("$(winpath "$images/photo-${mp}mp.jpg")"); done
for ((i = 0; i < 10000; i++)); do printf '%s\r\n' "${pictures[i % 4]}"; done >"$idle_list"
wine reg add 'HKCU\Software\Kestrova\Papershift 7\Program' /v FileListSource \
  /d "$(winpath "$idle_list")" /f </dev/null >/dev/null 2>&1
{
  idle_memory program "$winprogram"
  idle_memory notepad notepad.exe
} >"$out/idle.txt"

# ---- the table ----
awk -v runs="$runs" '
  FILENAME ~ /native.txt$/ { k = $3; nd[k] = $4; nc[k] = $5; ndc[k] = $6; ncc[k] = $7; order[++count] = k; next }
  FILENAME ~ /wine.txt$/ { k = $3; wd[k] = $4; wc[k] = $5; wdc[k] = $6; wcc[k] = $7; next }
  FILENAME ~ /proc.txt$/ { split($1, a, "-"); key = a[1] "-" a[2]; mp = a[3] + 0; pw[key, mp] = $2; pc[key, mp] = $3; next }
  FILENAME ~ /peak.txt$/ { split($1, a, "-"); mp = a[2] + 0; peak[a[1], mp] = $3; next }
  END {
    printf "\nConversion of a JPEG into the 24-bit BMP file (read, streaming decode, rows written in place,\n"
    printf "temporary file flushed and moved over the target) against a decode-only pass of the same file\n"
    printf "with the same library. Wall: best of %d; cpu: processor time of the process, mean of %d.\n\n", runs, runs
    printf "%-6s | %-37s | %-37s | %s\n", "", "native (system libjpeg-turbo)", "Windows build under Wine", "Wine/native"
    printf "%-6s | %8s %8s %6s %6s %6s | %8s %8s %6s %6s %6s | %6s %6s\n", "MP", "decode", "convert", "wall", "cpu", "", "decode", "convert", "wall", "cpu", "", "wall", "cpu"
    printf "%-6s | %8s %8s %6s %6s %6s | %8s %8s %6s %6s %6s | %6s %6s\n", "", "ms", "ms", "ratio", "ratio", "", "ms", "ms", "ratio", "ratio", "", "ratio", "ratio"
    for (i = 1; i <= count; i++) {
      k = order[i]
      printf "%-6s | %8.1f %8.1f %6.2f %6.2f %6s | %8.1f %8.1f %6.2f %6.2f %6s | %6.2f %6.2f\n", k, nd[k], nc[k], nc[k] / nd[k], ncc[k] / ndc[k], "", wd[k], wc[k], wc[k] / wd[k], wcc[k] / wdc[k], "", wc[k] / nc[k], wcc[k] / ncc[k]
    }
    printf "\nWhole process, one conversion: djpeg -bmp against ours (ratio = djpeg / ours, higher is better).\n"
    printf "Under Wine both include the start of a Wine process.\n\n"
    printf "%-6s | %9s %9s %6s %6s | %9s %9s %6s %6s\n", "MP", "native", "djpeg", "wall", "cpu", "Wine", "djpeg", "wall", "cpu"
    printf "%-6s | %9s %9s %6s %6s | %9s %9s %6s %6s\n", "", "ms", "ms", "ratio", "ratio", "ms", "ms", "ratio", "ratio"
    for (i = 1; i <= count; i++) {
      mp = order[i] + 0
      printf "%-6s | %9.1f %9.1f %6.2f %6.2f | %9.1f %9.1f %6.2f %6.2f\n", order[i], pw["native-ours", mp], pw["native-djpeg", mp], pw["native-djpeg", mp] / pw["native-ours", mp], pc["native-djpeg", mp] / pc["native-ours", mp], pw["wine-ours", mp], pw["wine-djpeg", mp], pw["wine-djpeg", mp] / pw["wine-ours", mp], pc["wine-djpeg", mp] / pc["wine-ours", mp]
    }
    printf "\nPeak memory of one conversion (resident / working set, MB), and its growth over the 2 MP one.\n\n"
    printf "%-6s | %8s %8s | %8s %8s\n", "MP", "native", "growth", "Wine", "growth"
    first = order[1] + 0
    for (i = 1; i <= count; i++) {
      mp = order[i] + 0
      printf "%-6s | %8.1f %8.1f | %8.1f %8.1f\n", order[i], peak["native", mp] / 1024, (peak["native", mp] - peak["native", first]) / 1024, peak["wine", mp] / 1024, (peak["wine", mp] - peak["wine", first]) / 1024
    }
  }' "$out/native.txt" "$out/wine.txt" "$out/proc.txt" "$out/peak.txt"

awk '
  FILENAME ~ /preview.txt$/ { k = $1 "-" ($4 + 0); pv[k] = $5; ref[k] = $6; full[k] = $7; size[k] = $8 "x" $9; next }
  FILENAME ~ /idle.txt$/ { idle[$1] = $2; rss[$1] = $3; next }
  FILENAME ~ /lists.txt$/ && $1 == "LISTS" { n = $2; load = $3; sorted = $4; write = $5; sort = $6; keys = $7; same = $8; next }
  END {
    printf "\nPreview (frame 225 x 145): DCT-scaled decode against a full decode plus box reduction to\n"
    printf "the same size (bound: ratio <= 0.60). Full decode alone for scale. Best of the rounds, ms.\n\n"
    printf "%-6s %-7s | %9s %9s | %9s %6s | %9s %6s\n", "MP", "where", "preview", "size", "full+red", "ratio", "full", "ratio"
    split("native wine", where, " ")
    split("24 48", mps, " ")
    for (w = 1; w <= 2; w++) for (m = 1; m <= 2; m++) {
      k = where[w] "-" mps[m]
      printf "%-6s %-7s | %9.1f %9s | %9.1f %6.2f | %9.1f %6.2f\n", mps[m], where[w], pv[k], size[k], ref[k], pv[k] / ref[k], full[k], pv[k] / full[k]
    }
    printf "\nList file of %d entries on a real list box, under Wine (best of 3, seconds; ratio =\n", n
    printf "figure / bound, at most 1.00). The sort lines break the sorted load down.\n\n"
    printf "%-34s | %7s %7s %6s\n", "", "s", "bound", "ratio"
    printf "%-34s | %7.3f %7.3f %6.2f\n", "load (read, parse, AddAll)", load, 1.0, load / 1.0
    printf "%-34s | %7.3f %7.3f %6.2f\n", "load, sorted", sorted, 2.0, sorted / 2.0
    printf "%-34s | %7.3f %7.3f %6.2f\n", "write (serialise, SafeFileWriter)", write, 0.3, write / 0.3
    printf "%-34s | %7.3f\n", "  of it: sort, CompareStringA", sort
    printf "%-34s | %7.3f   (same order: %s)\n", "  sort through LCMapStringA keys", keys, same
    printf "\nIdle memory under Wine, 8 s after start with a 10 000-entry list and the 48 MP picture\n"
    printf "previewed (MB; ratio = private / bound 8 MB). Notepad: Wine'"'"'s own floor for a window.\n\n"
    printf "%-10s | %8s %8s %6s\n", "", "private", "resident", "ratio"
    printf "%-10s | %8.1f %8.1f %6.2f\n", "program", idle["program"] / 1024, rss["program"] / 1024, idle["program"] / 1024 / 8
    printf "%-10s | %8.1f %8.1f\n", "notepad", idle["notepad"] / 1024, rss["notepad"] / 1024
    printf "\nMachine load (1 min average) at the end: "
  }' "$out/preview.txt" "$out/lists.txt" "$out/idle.txt"
cut -d' ' -f1 /proc/loadavg
