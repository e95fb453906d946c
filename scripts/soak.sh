#!/usr/bin/env bash
# The full soak: 5000 wallpaper changes in one process under a private Xvfb and Wine,
# printing the object and memory figures. Usage: scripts/soak.sh [BUILD_DIR] [CHANGES]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/win64}"
changes="${2:-5000}"
exe="$build/tests/tests_reliability.exe"
[ -f "$exe" ] || { echo "missing $exe (build the tests_reliability target)" >&2; exit 2; }
log="$(mktemp /tmp/soak.XXXXXX.log)"
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env_start "$build/soak-prefix"
trap wine_env_stop EXIT
rc=0
(cd "$build/tests" && PS_SOAK_CHANGES="$changes" wine tests_reliability.exe \
  --gtest_filter='Soak.*' </dev/null >"$log" 2>&1) || rc=$?
grep -E '^\[ *(figures|FAILED|OK) +\]' "$log" || true
grep -A4 'Failure' "$log" || true
echo "log: $log"
exit "$rc"
