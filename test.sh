#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the platform-free core natively
# under AddressSanitizer and UBSan, then the Windows build's tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
"$root/scripts/bootstrap.sh"

echo "== native core (ASan + UBSan) =="
cmake --preset native >/dev/null
cmake --build --preset native -j2
(cd build/native && ctest --output-on-failure)

echo "== Windows build =="
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2

# A private X display and Wine server for the tests; both stopped on exit.
source "$root/scripts/wine-env.sh"
wine_env_start "$root/build/test-prefix"
trap wine_env_stop EXIT
(cd build/win64 && ctest --output-on-failure)
