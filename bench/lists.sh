# Lists of 100 000 entries on a real list box under Wine, sourced by bench/run.sh: loading a
# list file (unsorted and sorted) and writing it, against their time bounds.

log "list file of 100 000 entries under Wine"
wine "$winlists" 100000 3 "$(winpath "$out/bench-list.kvl")" </dev/null >"$out/lists.txt" \
  2>"$out/lists.err"


awk '
  $1 == "LISTS" { n = $2; load = $3; sorted = $4; write = $5; sort = $6; keys = $7; same = $8 }
  END {
    printf "\nList file of %d entries on a real list box, under Wine (best of 3, seconds; ratio =\n", n
    printf "figure / bound, at most 1.00). The sort lines break the sorted load down.\n\n"
    printf "%-34s | %7s %7s %6s\n", "", "s", "bound", "ratio"
    printf "%-34s | %7.3f %7.3f %6.2f\n", "load (read, parse, AddAll)", load, 1.0, load / 1.0
    printf "%-34s | %7.3f %7.3f %6.2f\n", "load, sorted", sorted, 2.0, sorted / 2.0
    printf "%-34s | %7.3f %7.3f %6.2f\n", "write (serialise, SafeFileWriter)", write, 0.3, write / 0.3
    printf "%-34s | %7.3f\n", "  of it: sort, CompareStringA", sort
    printf "%-34s | %7.3f   (same order: %s)\n", "  sort through LCMapStringA keys", keys, same
  }' "$out/lists.txt"
