# The real program under Wine, sourced by bench/run.sh: idle memory after start-up with a
# 10 000-entry list whose selected entry is the 48 MP picture.

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


awk '
  { idle[$1] = $2; rss[$1] = $3 }
  END {
    printf "\nIdle memory under Wine, 8 s after start with a 10 000-entry list and the 48 MP picture\n"
    printf "previewed (MB; ratio = private / bound 8 MB). Notepad: Wine'"'"'s own floor for a window.\n\n"
    printf "%-10s | %8s %8s %6s\n", "", "private", "resident", "ratio"
    printf "%-10s | %8.1f %8.1f %6.2f\n", "program", idle["program"] / 1024, rss["program"] / 1024, idle["program"] / 1024 / 8
    printf "%-10s | %8.1f %8.1f\n", "notepad", idle["notepad"] / 1024, rss["notepad"] / 1024
  }' "$out/idle.txt"
