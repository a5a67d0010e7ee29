#!/usr/bin/env bash
# Builds a static libpng for the Windows cross-build from Debian's own
# source package (Debian ships no MinGW libpng), into PREFIX:
#
#   tools/mingw_libpng.sh PREFIX
#
# then configure the Windows build with -DCMAKE_FIND_ROOT_PATH=PREFIX.
# Needs g++-mingw-w64-x86-64-posix, libz-mingw-w64-dev (static zlib) and
# dpkg-dev. The source comes through a temporary deb-src list; the system's
# apt configuration is left as it is.
set -euo pipefail
prefix=$(mkdir -p "$1" && cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
[ -f "$prefix/lib/libpng.a" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The deb-src list: the URIs and suite of the system's first Debian source.
uri=$(grep -hm1 '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{print $2}')
suite=$(grep -hm1 '^Suites:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{print $2}')
uri=${uri:-http://deb.debian.org/debian}
suite=${suite:-bookworm}
cat > "$work/src.sources" <<SRC
Types: deb-src
URIs: $uri
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
mkdir -p "$work/lists/partial"
apt=(-o "Dir::Etc::SourceList=$work/src.sources" -o Dir::Etc::SourceParts=/dev/null
     -o "Dir::State::Lists=$work/lists")
apt-get "${apt[@]}" update -qq
(cd "$work" && apt-get "${apt[@]}" source --download-only libpng1.6 >/dev/null 2>&1)
(cd "$work" && dpkg-source -x --skip-debianization libpng1.6_*.dsc src >/dev/null 2>&1 ||
  dpkg-source -x libpng1.6_*.dsc src >/dev/null)

cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON \
  -DSKIP_INSTALL_FILES=ON > /dev/null
cmake --build "$work/build" -j2 > /dev/null
cmake --install "$work/build" > /dev/null
