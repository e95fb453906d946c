#!/usr/bin/env bash
# Installs and builds everything the project needs that is not in the repository.
# Idempotent: every step checks whether its work is already done.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
deps="$build/deps"
mkdir -p "$deps"
log() { printf '[bootstrap] %s\n' "$*" >&2; }

packages=(g++-mingw-w64-x86-64-posix wine wine64 xvfb nasm imagemagick dpkg-dev googletest
          cmake ninja-build clang libgtest-dev libjpeg-turbo-progs libjpeg62-turbo-dev xdotool
          nsis)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# apt-get source needs a deb-src entry: derive one from the machine's own entries.
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  log "adding a deb-src entry derived from the existing apt sources"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed -e 's/^Types:.*/Types: deb-src/' "$f" >"/etc/apt/sources.list.d/papershift-src-$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/papershift-src.list || true
  fi
  apt-get update -qq
fi

jpeg_prefix="$deps/libjpeg-turbo-win64"
if [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  src=$(ls -d "$deps"/libjpeg-turbo-*/ 2>/dev/null | grep -v win64 | head -n 1 || true)
  if [ -z "$src" ]; then
    log "fetching the libjpeg-turbo source package"
    (cd "$deps" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1)
    src=$(ls -d "$deps"/libjpeg-turbo-*/ | grep -v win64 | head -n 1)
  fi
  log "cross-building libjpeg-turbo from $src"
  cmake -S "$src" -B "$deps/libjpeg-turbo-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DREQUIRE_SIMD=ON >/dev/null
  cmake --build "$deps/libjpeg-turbo-build" >/dev/null
  cmake --install "$deps/libjpeg-turbo-build" >/dev/null
fi

gtest_prefix="$deps/googletest-win64"
if [ ! -f "$gtest_prefix/lib/libgtest.a" ]; then
  log "cross-building GoogleTest"
  cmake -S /usr/src/googletest -B "$deps/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$deps/googletest-build" >/dev/null
  cmake --install "$deps/googletest-build" >/dev/null
fi

"$root/scripts/wine-prefix.sh" "$build/wineprefix"
