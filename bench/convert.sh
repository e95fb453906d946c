# Conversion of a JPEG into the 24-bit BMP file, sourced by bench/run.sh: in process against a
# decode-only pass of the same file (same library), whole process against libjpeg-turbo's own
# `djpeg -bmp`, and peak memory; natively and under Wine.

log "native, in process ($runs rounds per file)"
"$native" inproc "$out" "$runs" "${files[@]}" >"$out/native.txt"

log "Windows build under Wine, in process"
wine "$winexe" inproc "$(winpath "$out")" "$runs" "${winfiles[@]}" </dev/null >"$out/wine.txt" 2>"$out/wine.err"

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

awk -v runs="$runs" '
  FILENAME ~ /native.txt$/ { k = $3; nd[k] = $4; nc[k] = $5; ndc[k] = $6; ncc[k] = $7; order[++count] = k; next }
  FILENAME ~ /wine.txt$/ { k = $3; wd[k] = $4; wc[k] = $5; wdc[k] = $6; wcc[k] = $7; next }
  FILENAME ~ /proc.txt$/ { split($1, a, "-"); key = a[1] "-" a[2]; mp = a[3] + 0; pw[key, mp] = $2; pc[key, mp] = $3; next }
  FILENAME ~ /peak.txt$/ { split($1, a, "-"); mp = a[2] + 0; peak[a[1], mp] = $3; next }
  END {
    printf "\nConversion of a JPEG into the 24-bit BMP file (read, streaming decode, rows written in place,\n"
    printf "temporary file moved over the target; not flushed, the bitmap is made again from its JPEG)\n"
    printf "against a decode-only pass of the same file with the same library.\n"
    printf "Wall: best of %d; cpu: processor time of the process, mean of %d.\n\n", runs, runs
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

# One wallpaper change of the running program under Wine (timer tick to the return of
# SystemParametersInfoA) against the same file's conversion alone, in the same process.
log "Windows build under Wine, one wallpaper change"
"$native" once "$images/photo-24mp.jpg" "$out/photo-24mp.bmp" >/dev/null
wine "$winbench/bench_change.exe" "$runs" "$(winpath "$images/photo-24mp.jpg")" \
  "$(winpath "$images/photo-48mp.jpg")" "$(winpath "$out/photo-24mp.bmp")" \
  </dev/null >"$out/change.txt" 2>"$out/change.err" || cat "$out/change.err" >&2
awk -v runs="$runs" '
  BEGIN {
    printf "\nOne wallpaper change under Wine, from the timer tick to the return of SystemParametersInfoA,\n"
    printf "against the conversion of the same file alone (best of %d each). Where the rest goes: the\n", runs
    printf "preview of the picture, which the change shows first (timed alone); the time inside\n"
    printf "SystemParametersInfoA; and a LoadImageA of the installed bitmap alone (Wine loads it there).\n\n"
    printf "%-10s | %8s %8s %8s %6s | %8s %8s %8s\n", "file", "change", "convert", "diff", "bound", "preview", "system", "load"
    printf "%-10s | %8s %8s %8s %6s | %8s %8s %8s\n", "", "ms", "ms", "ms", "ms", "ms", "ms", "ms"
  }
  $1 == "CHANGE" {
    n = split($2, parts, /[\\\/]/); name = parts[n]; sub(/^photo-/, "", name)
    printf "%-10s | %8.1f %8.1f %8.1f %6d | %8.1f %8.1f %8.1f\n", name, $3, $4, $3 - $4, 20, $5, $6, $7
  }' "$out/change.txt"
