#!/usr/bin/env bash
# Installs and builds everything the project needs that is not in the repository.
# Idempotent: every step checks whether its work is already done. Each step's output is
# kept in build/logs/STEP.log; a step that fails is named, with the end of its log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
deps="$build/deps"
logs="$build/logs"
mkdir -p "$deps" "$logs"
log() { printf '[bootstrap] %s\n' "$*" >&2; }

# step NAME WHAT COMMAND...: says WHAT, runs COMMAND with its output in build/logs/NAME.log
# and ends the bootstrap when it fails.
step() {
  local name=$1 what=$2 rc=0
  shift 2
  log "$what"
  # Not inside a condition: bash ignores set -e in functions called from one, and a
  # step's later commands would then run on after a failed one.
  set +e
  (set -e; "$@") >"$logs/$name.log" 2>&1 </dev/null
  rc=$?
  set -e
  [ "$rc" -eq 0 ] && return 0
  log "step '$name' failed (exit status $rc); its log, $logs/$name.log, ends with:"
  tail -n 40 "$logs/$name.log" | sed 's/^/    /' >&2
  exit "$rc"
}

install_packages() {
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@"
}

packages=(g++-mingw-w64-x86-64-posix wine wine64 xvfb nasm imagemagick dpkg-dev googletest
          cmake ninja-build clang libgtest-dev libjpeg-turbo-progs libjpeg62-turbo-dev xdotool
          nsis)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  step packages "installing: ${missing[*]}" install_packages "${missing[@]}"
fi

# apt-get source needs a deb-src entry: derive one from the machine's own entries.
add_source_entries() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed -e 's/^Types:.*/Types: deb-src/' "$f" >"/etc/apt/sources.list.d/papershift-src-$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/papershift-src.list || true
  fi
  apt-get update -qq
}
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  step apt-sources "adding a deb-src entry derived from the existing apt sources" add_source_entries
fi

# The unpacked source folder (libjpeg-turbo-VERSION), if there is one.
jpeg_source() {
  local d
  for d in "$deps"/libjpeg-turbo-[0-9]*/; do
    if [ -d "$d" ]; then
      printf '%s\n' "${d%/}"
      break
    fi
  done
}
fetch_jpeg_source() {
  cd "$deps"
  apt-get source -qq libjpeg-turbo
}
build_jpeg() {
  cmake -S "$1" -B "$deps/libjpeg-turbo-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DREQUIRE_SIMD=ON
  cmake --build "$deps/libjpeg-turbo-build"
  cmake --install "$deps/libjpeg-turbo-build"
}
jpeg_prefix="$deps/libjpeg-turbo-win64"
if [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  src=$(jpeg_source)
  if [ -z "$src" ]; then
    step libjpeg-turbo-source "fetching the libjpeg-turbo source package" fetch_jpeg_source
    src=$(jpeg_source)
    if [ -z "$src" ]; then
      log "apt-get source left no libjpeg-turbo folder in $deps; see $logs/libjpeg-turbo-source.log"
      exit 1
    fi
  fi
  step libjpeg-turbo "cross-building libjpeg-turbo from $src" build_jpeg "$src"
fi

build_gtest() {
  cmake -S /usr/src/googletest -B "$deps/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF
  cmake --build "$deps/googletest-build"
  cmake --install "$deps/googletest-build"
}
gtest_prefix="$deps/googletest-win64"
if [ ! -f "$gtest_prefix/lib/libgtest.a" ]; then
  step googletest "cross-building GoogleTest" build_gtest
fi

# wine-prefix.sh makes the prefix once; asked here too so that a ready one costs no line.
if [ ! -f "$build/wineprefix/.papershift-ready" ]; then
  step wine-prefix "creating the Wine prefix $build/wineprefix" \
    "$root/scripts/wine-prefix.sh" "$build/wineprefix"
fi
