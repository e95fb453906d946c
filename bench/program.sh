# The real program under Wine, sourced by bench/run.sh: its start (to the icon in the
# notification area and to the end of its start-up sequence) with a 10 000-entry list whose
# selected entry is the 24 MP picture; its idle memory and wake-ups with the 48 MP picture
# selected; Wine's notepad and a minimal notification-area program as Wine's floors. The
# settings are the defaults otherwise, so start-up also changes the wallpaper once, to the
# list's next entry (a 2 MP picture); the idle figure is taken without that change too, so
# that the 48 MP picture is the one previewed last.

# A virtual desktop with a taskbar, as the session's default, so that the icon has a place.
# Its own name, not Wine's standard "Default": in a new prefix the standard desktop is
# already up without a taskbar (the session's wineboot started it before this setting
# existed), and a running desktop keeps what it started with, so the icons would go to
# a hidden notification area. A new name makes Wine start the desktop from this setting.
cat >"$out/desktop.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Bench"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Bench"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Bench]
"EnableShell"=dword:00000001
REG
wine regedit /S "$(winpath "$out/desktop.reg")" </dev/null >/dev/null 2>&1

program_key='HKCU\Software\Kestrova\Papershift 7\Program'
use_list() {  # use_list FILE FIRST_MP: a 10 000-entry list, its first (selected) entry FIRST_MP
  local first=$2 i pictures=()
  for mp in "$first" 2 12 48 24; do
    [ "$mp" = "$first" ] && [ ${#pictures[@]} -gt 0 ] && continue
    pictures+=("$(winpath "$images/photo-${mp}mp.jpg")")
  done
  for ((i = 0; i < 10000; i++)); do printf '%s\r\n' "${pictures[i % 4]}"; done >"$1"
  wine reg add "$program_key" /v FileListSource /d "$(winpath "$1")" /f </dev/null >/dev/null 2>&1
  wine reg add "$program_key" /v ItemIndex /d 0 /f </dev/null >/dev/null 2>&1
}

log "start-up of the program under Wine (10 000-entry list, 24 MP picture selected)"
use_list "$out/start-list.kvl" 24
measure startup "$out/startup.txt" \
  wine "$winbench/bench_startup.exe" "$(winpath "$winprogram")" "$runs"

# Linux has no "private bytes"; the process's anonymous resident memory (RssAnon) is the
# nearest figure. Wake-ups: the process's context switches while it idles for 10 s. A
# process that is not there to measure gives the label alone, which the table shows as failed.
idle_memory() {  # idle_memory LABEL EXE [RESTARTCHANGE] -> "LABEL rssanon_kb vmrss_kb wakeups"
  local label=$1 exe=$2 name pid p q="" found before after
  name=$(basename "$exe")
  # Every round starts on the first entry (a start-up change moves the stored position on).
  wine reg add "$program_key" /v ItemIndex /d 0 /f </dev/null >/dev/null 2>&1
  wine reg add "$program_key" /v RestartChange /d "${3:-1}" /f </dev/null >/dev/null 2>&1
  wine "$exe" </dev/null >"$out/idle-$label.log" 2>&1 &
  pid=$!
  sleep 6
  for p in /proc/[0-9]*; do
    [ "$(cat "$p/comm" 2>/dev/null)" = "${name:0:15}" ] && q=$p
  done
  if [ -n "$q" ] && [ "${BENCH_FAIL:-}" != "idle-$label" ]; then
    found=$(awk '/^RssAnon/ { a = $2 } /^VmRSS/ { r = $2 } END { print a, r }' "$q/status")
    before=$(cat "$q"/task/*/status | awk '/ctxt_switches/ { s += $2 } END { print s }')
    sleep 10
    after=$(cat "$q"/task/*/status | awk '/ctxt_switches/ { s += $2 } END { print s }')
  fi
  # Both readings, or the process went away meanwhile.
  if [ -n "$q" ] && [ -e "$q" ] && [ -n "${after:-}" ]; then
    echo "$label $found $((after - before))"
  else
    log "idle-$label failed: $name not measured (not running 6 s after its start?)"
    echo "$label"
  fi
  [ -n "$q" ] && kill "${q#/proc/}" 2>/dev/null
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
log "idle memory and wake-ups under Wine (10 000-entry list, 48 MP picture selected)"
use_list "$out/idle-list.kvl" 48
# Wine's own helper processes are started by the first program; keep them out of the figure.
wine "$winbench/bench_startup.exe" empty </dev/null >/dev/null 2>&1
for round in 1 2 3; do
  idle_memory program "$winprogram" 0
  idle_memory changed "$winprogram" 1
  idle_memory notepad notepad.exe
done >"$out/idle.txt"

# shellcheck disable=SC2016  # an awk program
table program '
  FILENAME ~ /startup.txt$/ && $1 == "STARTUP" { icon = $2; iconmed = $3; idle = $4; idlemed = $5; empty = $6; tray = $7; next }
  FILENAME ~ /idle.txt$/ { n[$1]++; mem[$1, n[$1]] = $2; rss[$1, n[$1]] = $3; wake[$1, n[$1]] = $4; next }
  # The median of the rounds of a label, or nothing when a round has no figure.
  function median(label, arr,   i, j, t, v) {
    if (!n[label]) return ""
    for (i = 1; i <= n[label]; i++) if ((v[i] = arr[label, i]) == "") return ""
    for (i = 1; i <= n[label]; i++) for (j = i + 1; j <= n[label]; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return v[int((n[label] + 1) / 2)]
  }
  function mb(kb) { return kb == "" ? "" : kb / 1024 }
  function row(title, label, bound,   own) {
    own = mb(median(label, mem))
    printf "%-24s | %s %s %s | %s\n", title, fig(own, 8, 1), fig(mb(median(label, rss)), 8, 1), bound ? ratio(own, bound, 6) : sprintf("%6s", ""), fig(median(label, wake), 8, 0)
  }
  END {
    printf "\nStart-up under Wine, from process creation (ms; best and median of the rounds). Bound: icon\n"
    printf "<= 500 ms. References: an empty process, and a program that only makes a window and its icon.\n\n"
    printf "%-48s | %8s %8s %6s\n", "", "best", "median", "ratio"
    printf "%-48s | %s %s %s\n", "icon in the notification area", fig(icon, 8, 1), fig(iconmed, 8, 1), ratio(icon, 500, 6)
    printf "%-48s | %s %s\n", "start-up sequence done (list, preview, change)", fig(idle, 8, 1), fig(idlemed, 8, 1)
    printf "%-48s | %s\n", "  reference: empty process", fig(empty, 8, 1)
    printf "%-48s | %s\n", "  reference: minimal icon program", fig(tray, 8, 1)
    printf "\nIdle under Wine, 6 s after start with a 10 000-entry list (median of 3; MB; ratio = private /\n"
    printf "bound 8 MB). Wake-ups: context switches in 10 s of idling. \"48 MP shown\": the selected\n"
    printf "48 MP picture previewed at start, no change at start; \"defaults\": start-up also changes the\n"
    printf "wallpaper to the next entry (2 MP). Notepad: Wine'"'"'s own floor for a window.\n\n"
    printf "%-24s | %8s %8s %6s | %8s\n", "", "private", "resident", "ratio", "wake-ups"
    row("program, 48 MP shown", "program", 8)
    row("program, defaults", "changed", 8)
    row("notepad", "notepad", 0)
  }' "$out/startup.txt" "$out/idle.txt"
