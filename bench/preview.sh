# The preview decode, sourced by bench/run.sh: DCT-scaled decode against a full decode plus a
# box reduction to the same size, 24 and 48 MP, natively and under Wine. The frame is the
# preview's, 225 x 145.

log "preview decode, native and under Wine"
"$nativepreview" "$runs" 225 145 "${files[2]}" "${files[3]}" | sed 's/^/native /' >"$out/preview.txt"
wine "$winpreview" "$runs" 225 145 "${winfiles[2]}" "${winfiles[3]}" </dev/null \
  >"$out/preview-wine.txt" 2>"$out/preview-wine.err"
sed 's/^/wine /' "$out/preview-wine.txt" >>"$out/preview.txt"


awk '
  { k = $1 "-" ($4 + 0); pv[k] = $5; ref[k] = $6; full[k] = $7; size[k] = $8 "x" $9 }
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
  }' "$out/preview.txt"
