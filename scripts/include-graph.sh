#!/usr/bin/env bash
# Prints which top-level folder includes which: "FROM -> TO (N)", one line per pair, from
# the #include lines of the program's own sources (tests, benchmarks and fuzz targets are
# left out). A core/ subfolder counts as its own node.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
git ls-files -- '*.cpp' '*.h' | grep -Ev '^(tests|bench|fuzz)/' |
  xargs grep -H '^#include "' |
  awk -F: '
    function node(path,   n, p) {
      n = split(path, p, "/")
      if (n < 2) return "."
      return (n > 2 && p[2] == "core") ? p[1] "/core" : p[1]
    }
    {
      if (!match($0, /#include "[^"]+"/)) next
      inc = substr($0, RSTART + 10, RLENGTH - 11)
      if (index(inc, "/") == 0) next  # generated headers such as Version.h
      from = node($1); to = node(inc)
      if (from != to) count[from " -> " to]++
    }
    END { for (e in count) printf "%s (%d)\n", e, count[e] }' | sort
