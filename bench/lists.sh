# Lists of 100 000 entries on a real list box under Wine, sourced by bench/run.sh: loading a
# list file (unsorted and sorted) and writing it, against their time bounds; then the fill
# of the list from a Windows directory of 10 000 images, and how long the program leaves a
# message unanswered meanwhile.

entries=100000 bitmaps=10000
log "list file of $entries entries under Wine"
measure lists "$out/lists.txt" wine "$winlists" "$entries" 3 "$(winpath "$out/bench-list.kvl")"
log "fill from a Windows directory of $bitmaps images under Wine"
measure fill "$out/fill.txt" wine "$winbench/bench_fill.exe" "$bitmaps" 3 "$(winpath "$out/windows")"

# shellcheck disable=SC2016  # an awk program
table lists -v entries="$entries" -v bitmaps="$bitmaps" '
  $1 == "LISTS" { load = $3; sorted = $4; write = $5; sort = $6; same = $7 }
  $1 == "FILL" { fill = $4; wait = $5; fillSorted = $6; waitSorted = $7 }
  END {
    printf "\nList file of %d entries on a real list box, under Wine (best of 3, seconds; ratio =\n", entries
    printf "figure / bound, at most 1.00). The comparison sort is the reference the sorted load\n"
    printf "must match in order.\n\n"
    printf "%-36s | %7s %7s %6s\n", "", "s", "bound", "ratio"
    printf "%-36s | %s %7.3f %s\n", "load (read, parse, AddAll)", fig(load, 7, 3), 1.0, ratio(load, 1.0, 6)
    printf "%-36s | %s %7.3f %s\n", "load, sorted", fig(sorted, 7, 3), 2.0, ratio(sorted, 2.0, 6)
    printf "%-36s | %s %7.3f %s\n", "write (serialise, SafeFileWriter)", fig(write, 7, 3), 0.3, ratio(write, 0.3, 6)
    printf "%-36s | %s   (same order: %s)\n", "  sort by CompareStringA per pair", fig(sort, 7, 3), same == "" ? "failed" : same
    printf "\nFill from a Windows directory of %d bitmaps (and other files), under Wine (best\n", bitmaps
    printf "of 3; the wait is the longest a message to the window went unanswered, worst of 3).\n\n"
    printf "%-36s | %7s %7s %6s\n", "", "s/ms", "bound", "ratio"
    printf "%-36s | %s %7.3f %s\n", "FillWithWindowsImages (s)", fig(fill, 7, 3), 2.0, ratio(fill, 2.0, 6)
    printf "%-36s | %s %7.1f %s\n", "  longest wait (ms)", fig(wait, 7, 1), 100, ratio(wait, 100, 6)
    printf "%-36s | %s %7.3f %s\n", "FillWithWindowsImages, sorted (s)", fig(fillSorted, 7, 3), 2.0, ratio(fillSorted, 2.0, 6)
    printf "%-36s | %s %7.1f %s\n", "  longest wait (ms)", fig(waitSorted, 7, 1), 100, ratio(waitSorted, 100, 6)
  }' "$out/lists.txt" "$out/fill.txt"
