#!/usr/bin/env bash
# Builds the release of Papershift 7 and writes the two Windows packages into
# build/package/:
#   Papershift7-<version>-win64.zip   the portable program and a short read-me
#   Papershift7-<version>-setup.exe   a per-user installer (no administrator rights)
# Installs what is missing first (scripts/bootstrap.sh), like ./run.sh and ./test.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/bootstrap.sh"

cmake --preset win64-release >/dev/null
cmake --build --preset win64-release -j2
out="$root/build/package"
cpack --config build/win64-release/CPackConfig.cmake -B "$out"
# CPack's staging area stays beside the packages otherwise.
rm -rf "$out/_CPack_Packages"
version=$(sed -n 's/^#define PS_VERSION_TEXT "\(.*\)"/\1/p' build/win64-release/generated/Version.h)
for f in "Papershift7-$version-win64.zip" "Papershift7-$version-setup.exe"; do
  [ -s "$out/$f" ] || { echo "package.sh: $out/$f was not made" >&2; exit 1; }
  echo "$out/$f"
done
