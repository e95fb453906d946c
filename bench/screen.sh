# What a change costs against what the screen shows, sourced by bench/run.sh: one change of a
# 24 MP and a 48 MP JPEG against one of a 2 MP JPEG on the same screen, and the bytes of the
# bitmap each change installs against a 24-bit bitmap of the screen's own size, in each style;
# "current" with timed changes on (the bitmap made ahead), "now" with them off.
#
#   BENCH_BASELINE=REV   the same figures also for the program as of the git revision REV,
#                        built beside this one and measured in the same run, alternately
# shellcheck disable=SC2154  # root, build, images, out, runs, winbench: set by lib.sh
screen_files=()
for mp in 2 24 48; do screen_files+=("$(winpath "$images/photo-${mp}mp.jpg")"); done

screen_programs=(current)
if [ -n "${BENCH_BASELINE:-}" ]; then
  base="$build/bench-baseline"
  log "building the program as of $BENCH_BASELINE for its figures"
  rev=$(git -C "$root" rev-parse "$BENCH_BASELINE")
  # Kept and built on by the next run for the same revision.
  if [ "$(cat "$base/revision" 2>/dev/null)" != "$rev" ]; then
    rm -rf "$base" && mkdir -p "$base/src/build"
    git -C "$root" archive "$rev" | tar -x -C "$base/src"
    ln -s "$root/build/deps" "$base/src/build/deps"
    echo "$rev" >"$base/revision"
  fi
  # The same benchmark program, on that revision's program.
  cp "$root/bench/bench_change.cpp" "$base/src/bench/"
  (cd "$base/src" && cmake --preset win64 >/dev/null &&
    cmake --build --preset win64 --target bench_change -j2 >/dev/null) &&
    screen_programs=(baseline current) || failures+=("baseline build")
fi
screen_programs+=(now)
# "now": this program with timed changes off, every change decoding its own picture.
screen_exe() { [ "$1" = baseline ] && echo "$base/src/build/win64/bench/bench_change.exe" ||
  echo "$winbench/bench_change.exe"; }

log "Windows build under Wine, one change in each style against the screen"
# Two passes, the programs taking turns, so that both meet the machine's load alike.
for pass in 1 2; do
  for p in "${screen_programs[@]}"; do
    now=()
    [ "$p" = now ] && now=(--now)
    measure "styles-$p" "$out/styles-$p-$pass.txt" \
      wine "$(screen_exe "$p")" --styles "${now[@]}" "$runs" "${screen_files[@]}"
    sed "s/^/$p /" "$out/styles-$p-$pass.txt" >>"$out/styles.txt"
  done
done
# shellcheck disable=SC2016  # an awk program
table styles -v programs="${screen_programs[*]}" '
  $2 == "STYLE" {
    n = split($4, parts, /[\\\/]/); mp = parts[n]; sub(/^photo-/, "", mp); sub(/mp\.jpg$/, "", mp)
    k = $1 SUBSEP $3 SUBSEP mp
    if (!(k in ms) || $5 < ms[k]) ms[k] = $5
    bytes[k] = $6; screen = $7
    if (!(k in ahead) || $8 + 0 < ahead[k]) ahead[k] = $8 + 0 }
  END {
    printf "\nOne change (timer tick to the return of SystemParametersInfoA) of a 24 and a 48 MP JPEG\n"
    printf "against one of a 2 MP JPEG, and the bitmap it installs against a 24-bit bitmap of the\n"
    printf "screen (%.1f MB); best of both passes. Aims: 1.20 and 4.0. \"ahead\": the work the\n", screen / 1e6
    printf "program then goes on with in the background, on the bitmap of the next change.\n\n"
    printf "%-9s %-9s | %8s %8s %8s | %6s %6s | %6s %6s %6s | %8s\n", "program", "style", "2 MP", "24 MP", "48 MP", "24/2", "48/2", "2 MP", "24 MP", "48 MP", "48 MP"
    printf "%-9s %-9s | %8s %8s %8s | %6s %6s | %6s %6s %6s | %8s\n", "", "", "ms", "ms", "ms", "ratio", "ratio", "x scr", "x scr", "x scr", "ahead ms"
    split("tiled centred stretched", names, " ")
    count = split(programs, order, " ")
    for (i = 1; i <= count; i++) {
      for (s = 0; s < 3; s++) {
        p = order[i]
        a = ms[p, s, 2]; b = ms[p, s, 24]; c = ms[p, s, 48]
        printf "%-9s %-9s | %s %s %s | %s %s | %s %s %s | %s\n", p, names[s + 1], fig(a, 8, 1), fig(b, 8, 1), fig(c, 8, 1), ratio(b, a, 6), ratio(c, a, 6), ratio(bytes[p, s, 2], screen, 6), ratio(bytes[p, s, 24], screen, 6), ratio(bytes[p, s, 48], screen, 6), fig(ahead[p, s, 48], 8, 1)
      }
    }
  }' "$out/styles.txt"
