# Conversion of a JPEG into the 24-bit BMP file, sourced by bench/run.sh: in process against a
# decode-only pass of the same file (same library), whole process against libjpeg-turbo's own
# `djpeg -bmp`, and peak memory; natively and under Wine.

log "native, in process ($runs rounds per file)"
measure convert-native "$out/native.txt" "$native" inproc "$out" "$runs" "${files[@]}"

log "Windows build under Wine, in process"
measure convert-wine "$out/wine.txt" \
  wine "$winexe" inproc "$(winpath "$out")" "$runs" "${winfiles[@]}"

log "whole processes: ours against djpeg -bmp"
mps=()
for entry in "${sizes[@]}"; do
  mp=${entry%%:*}
  mps+=("$mp")
  f="$images/photo-${mp}mp.jpg"
  {
    best_of "native-ours-$mp" "$native" once "$f" "$out"
    best_of "native-djpeg-$mp" djpeg -bmp -outfile "$out/d.bmp" "$f"
    best_of "wine-ours-$mp" wine "$winexe" once "$(winpath "$f")" "$(winpath "$out")"
    best_of "wine-djpeg-$mp" wine "$windjpeg" -bmp -outfile "$(winpath "$out/d.bmp")" \
      "$(winpath "$f")"
  } >>"$out/proc.txt"
  # Wine's output goes to a file: a pipe could be held open by a helper it starts.
  measure "peak-native-$mp" "$out/once.txt" "$native" once "$f" "$out"
  sed "s/^/native-$mp /" "$out/once.txt" >>"$out/peak.txt"
  measure "peak-wine-$mp" "$out/once.txt" \
    wine "$winexe" once "$(winpath "$f")" "$(winpath "$out")"
  sed "s/^/wine-$mp /" "$out/once.txt" >>"$out/peak.txt"
done

# One row per picture size, whether or not its figures came.
# shellcheck disable=SC2016  # an awk program
table conversion -v runs="$runs" -v sizes="${mps[*]}" '
  FILENAME ~ /native.txt$/ { k = $3 + 0; nd[k] = $4; nc[k] = $5; ndc[k] = $6; ncc[k] = $7; next }
  FILENAME ~ /wine.txt$/ { k = $3 + 0; wd[k] = $4; wc[k] = $5; wdc[k] = $6; wcc[k] = $7; next }
  FILENAME ~ /proc.txt$/ { split($1, a, "-"); key = a[1] "-" a[2]; mp = a[3] + 0; pw[key, mp] = $2; pc[key, mp] = $3; next }
  FILENAME ~ /peak.txt$/ { split($1, a, "-"); mp = a[2] + 0; peak[a[1], mp] = $3; next }
  function kb_mb(kb) { return kb == "" ? "" : kb / 1024 }
  function growth(where, mp) {
    return peak[where, mp] == "" || peak[where, first] == "" ? "" : (peak[where, mp] - peak[where, first]) / 1024
  }
  END {
    count = split(sizes, order, " ")
    printf "\nConversion of a JPEG into the 24-bit BMP file (read, streaming decode, rows written in place,\n"
    printf "temporary file moved over the target; not flushed, the bitmap is made again from its JPEG)\n"
    printf "against a decode-only pass of the same file with the same library.\n"
    printf "Wall: best of %d; cpu: processor time of the process, mean of %d.\n\n", runs, runs
    printf "%-6s | %-37s | %-37s | %s\n", "", "native (system libjpeg-turbo)", "Windows build under Wine", "Wine/native"
    printf "%-6s | %8s %8s %6s %6s %6s | %8s %8s %6s %6s %6s | %6s %6s\n", "MP", "decode", "convert", "wall", "cpu", "", "decode", "convert", "wall", "cpu", "", "wall", "cpu"
    printf "%-6s | %8s %8s %6s %6s %6s | %8s %8s %6s %6s %6s | %6s %6s\n", "", "ms", "ms", "ratio", "ratio", "", "ms", "ms", "ratio", "ratio", "", "ratio", "ratio"
    for (i = 1; i <= count; i++) {
      k = order[i] + 0
      printf "%-6s | %s %s %s %s %6s | %s %s %s %s %6s | %s %s\n", order[i], fig(nd[k], 8, 1), fig(nc[k], 8, 1), ratio(nc[k], nd[k], 6), ratio(ncc[k], ndc[k], 6), "", fig(wd[k], 8, 1), fig(wc[k], 8, 1), ratio(wc[k], wd[k], 6), ratio(wcc[k], wdc[k], 6), "", ratio(wc[k], nc[k], 6), ratio(wcc[k], ncc[k], 6)
    }
    printf "\nWhole process, one conversion: djpeg -bmp against ours (ratio = djpeg / ours, higher is better).\n"
    printf "Under Wine both include the start of a Wine process.\n\n"
    printf "%-6s | %9s %9s %6s %6s | %9s %9s %6s %6s\n", "MP", "native", "djpeg", "wall", "cpu", "Wine", "djpeg", "wall", "cpu"
    printf "%-6s | %9s %9s %6s %6s | %9s %9s %6s %6s\n", "", "ms", "ms", "ratio", "ratio", "ms", "ms", "ratio", "ratio"
    for (i = 1; i <= count; i++) {
      mp = order[i] + 0
      printf "%-6s | %s %s %s %s | %s %s %s %s\n", order[i], fig(pw["native-ours", mp], 9, 1), fig(pw["native-djpeg", mp], 9, 1), ratio(pw["native-djpeg", mp], pw["native-ours", mp], 6), ratio(pc["native-djpeg", mp], pc["native-ours", mp], 6), fig(pw["wine-ours", mp], 9, 1), fig(pw["wine-djpeg", mp], 9, 1), ratio(pw["wine-djpeg", mp], pw["wine-ours", mp], 6), ratio(pc["wine-djpeg", mp], pc["wine-ours", mp], 6)
    }
    printf "\nPeak memory of one conversion (resident / working set, MB), and its growth over the %s MP one.\n\n", order[1]
    printf "%-6s | %8s %8s | %8s %8s\n", "MP", "native", "growth", "Wine", "growth"
    first = order[1] + 0
    for (i = 1; i <= count; i++) {
      mp = order[i] + 0
      printf "%-6s | %s %s | %s %s\n", order[i], fig(kb_mb(peak["native", mp]), 8, 1), fig(growth("native", mp), 8, 1), fig(kb_mb(peak["wine", mp]), 8, 1), fig(growth("wine", mp), 8, 1)
    }
  }' "$out/native.txt" "$out/wine.txt" "$out/proc.txt" "$out/peak.txt"

# One wallpaper change of the running program under Wine (timer tick to the return of
# SystemParametersInfoA) against the same file's conversion alone, in the same process.
log "Windows build under Wine, one wallpaper change"
measure change-bitmap "$out/bitmap.txt" "$native" once "$images/photo-24mp.jpg" "$out"
if [ -f "$out/Kestrova.bmp" ]; then mv "$out/Kestrova.bmp" "$out/photo-24mp.bmp"; fi
changed=("$images/photo-24mp.jpg" "$images/photo-48mp.jpg" "$out/photo-24mp.bmp")
winchanged=()
for f in "${changed[@]}"; do winchanged+=("$(winpath "$f")"); done
measure change "$out/change.txt" wine "$winbench/bench_change.exe" "$runs" "${winchanged[@]}"
# shellcheck disable=SC2016  # an awk program
table change -v runs="$runs" -v names="${changed[*]##*/photo-}" '
  $1 == "CHANGE" {
    n = split($2, parts, /[\\\/]/); k = parts[n]; sub(/^photo-/, "", k)
    change[k] = $3; convert[k] = $4; preview[k] = $5; sys[k] = $6; load[k] = $7 }
  END {
    printf "\nOne wallpaper change under Wine, from the timer tick to the return of SystemParametersInfoA,\n"
    printf "against the conversion of the same file alone (best of %d each). Where the rest goes: the\n", runs
    printf "preview of the picture, which the change shows first (timed alone); the time inside\n"
    printf "SystemParametersInfoA; and a LoadImageA of the installed bitmap alone (Wine loads it there).\n\n"
    printf "%-10s | %8s %8s %8s %6s | %8s %8s %8s\n", "file", "change", "convert", "diff", "bound", "preview", "system", "load"
    printf "%-10s | %8s %8s %8s %6s | %8s %8s %8s\n", "", "ms", "ms", "ms", "ms", "ms", "ms", "ms"
    count = split(names, order, " ")
    for (i = 1; i <= count; i++) {
      k = order[i]
      diff = change[k] == "" || convert[k] == "" ? "" : change[k] - convert[k]
      printf "%-10s | %s %s %s %6d | %s %s %s\n", k, fig(change[k], 8, 1), fig(convert[k], 8, 1), fig(diff, 8, 1), 20, fig(preview[k], 8, 1), fig(sys[k], 8, 1), fig(load[k], 8, 1)
    }
  }' "$out/change.txt"
