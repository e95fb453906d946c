# Lists of 100 000 entries on a real list box under Wine, sourced by bench/run.sh: loading a
# list file (unsorted and sorted) and writing it, against their time bounds; then the fill
# of the list from a Windows directory of 10 000 images, and how long the program leaves a
# message unanswered meanwhile.

log "list file of 100 000 entries under Wine"
wine "$winlists" 100000 3 "$(winpath "$out/bench-list.kvl")" </dev/null >"$out/lists.txt" \
  2>"$out/lists.err"
log "fill from a Windows directory of 10 000 images under Wine"
wine "$winbench/bench_fill.exe" 10000 3 "$(winpath "$out/windows")" </dev/null \
  >"$out/fill.txt" 2>"$out/fill.err"

awk '
  $1 == "LISTS" { n = $2; load = $3; sorted = $4; write = $5; sort = $6; same = $7 }
  $1 == "FILL" { images = $2; fill = $4; wait = $5; fillSorted = $6; waitSorted = $7 }
  END {
    printf "\nList file of %d entries on a real list box, under Wine (best of 3, seconds; ratio =\n", n
    printf "figure / bound, at most 1.00). The comparison sort is the reference the sorted load\n"
    printf "must match in order.\n\n"
    printf "%-36s | %7s %7s %6s\n", "", "s", "bound", "ratio"
    printf "%-36s | %7.3f %7.3f %6.2f\n", "load (read, parse, AddAll)", load, 1.0, load / 1.0
    printf "%-36s | %7.3f %7.3f %6.2f\n", "load, sorted", sorted, 2.0, sorted / 2.0
    printf "%-36s | %7.3f %7.3f %6.2f\n", "write (serialise, SafeFileWriter)", write, 0.3, write / 0.3
    printf "%-36s | %7.3f   (same order: %s)\n", "  sort by CompareStringA per pair", sort, same
    printf "\nFill from a Windows directory of %d bitmaps (and other files), under Wine (best\n", images
    printf "of 3; the wait is the longest a message to the window went unanswered, worst of 3).\n\n"
    printf "%-36s | %7s %7s %6s\n", "", "s/ms", "bound", "ratio"
    printf "%-36s | %7.3f %7.3f %6.2f\n", "FillWithWindowsImages (s)", fill, 2.0, fill / 2.0
    printf "%-36s | %7.1f %7.1f %6.2f\n", "  longest wait (ms)", wait, 100, wait / 100
    printf "%-36s | %7.3f %7.3f %6.2f\n", "FillWithWindowsImages, sorted (s)", fillSorted, 2.0, fillSorted / 2.0
    printf "%-36s | %7.1f %7.1f %6.2f\n", "  longest wait (ms)", waitSorted, 100, waitSorted / 100
  }' "$out/lists.txt" "$out/fill.txt"
