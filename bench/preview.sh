# The preview decode, sourced by bench/run.sh: DCT-scaled decode against a full decode plus a
# box reduction to the same size, 24 and 48 MP, natively and under Wine. The frame is the
# preview's, 225 x 145.

log "preview decode, native and under Wine"
measure preview-native "$out/preview-native.txt" \
  "$nativepreview" "$runs" 225 145 "${files[2]}" "${files[3]}"
measure preview-wine "$out/preview-wine.txt" \
  wine "$winpreview" "$runs" 225 145 "${winfiles[2]}" "${winfiles[3]}"
# shellcheck disable=SC2016  # an awk program
table preview '
  { k = (FILENAME ~ /native.txt$/ ? "native" : "wine") "-" ($3 + 0); pv[k] = $4; ref[k] = $5; full[k] = $6; size[k] = $7 "x" $8 }
  END {
    printf "\nPreview (frame 225 x 145): DCT-scaled decode against a full decode plus box reduction to\n"
    printf "the same size (bound: ratio <= 0.60). Full decode alone for scale. Best of the rounds, ms.\n\n"
    printf "%-6s %-7s | %9s %9s | %9s %6s | %9s %6s\n", "MP", "where", "preview", "size", "full+red", "ratio", "full", "ratio"
    split("native wine", where, " ")
    split("24 48", mps, " ")
    for (w = 1; w <= 2; w++) for (m = 1; m <= 2; m++) {
      k = where[w] "-" mps[m]
      printf "%-6s %-7s | %s %9s | %s %s | %s %s\n", mps[m], where[w], fig(pv[k], 9, 1), (k in size ? size[k] : ""), fig(ref[k], 9, 1), ratio(pv[k], ref[k], 6), fig(full[k], 9, 1), ratio(pv[k], full[k], 6)
    }
  }' "$out/preview-native.txt" "$out/preview-wine.txt"
