#!/usr/bin/env bash
# Release archives: tools/release.sh VERSION makes
#   dist/vadz-VERSION-linux-x86_64.tar.gz
#   dist/vadz-VERSION-windows-x86_64.zip
# each holding bin/vadz (bin/vadz.exe; the Linux one also bin/vadz-grid when
# GDAL is installed), README.md, the user's guide docs/
# and example/ (the parameter file and its data, ready to run), then unpacks
# both and runs the example from them (the Windows one under Wine when Wine
# is there).
# Needs g++, cmake, make, zip, unzip, g++-mingw-w64-x86-64-posix and
# libpng-dev (its static library); libgdal-dev for vadz grid.
set -euo pipefail
version=${1:?usage: tools/release.sh VERSION}
cd "$(dirname "$0")/.."
root=$PWD
for tool in cmake zip unzip x86_64-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || { echo "release: $tool is missing" >&2; exit 1; }
done

build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVADZ_TESTS=OFF "$@" >/dev/null
  cmake --build "$dir" -j2 --target vadz make_example >/dev/null
  # vadz grid, where GDAL and PROJ were found.
  if grep -q '^vadz-grid:' "$dir/Makefile" 2>/dev/null; then
    cmake --build "$dir" -j2 --target vadz-grid >/dev/null
  fi
}
# Linux: libstdc++, libgcc, libpng and zlib inside the program, so it needs
# only the C library; PROJ is loaded when a CRS line is read (a stop names it
# where it is missing). vadz-grid uses the host's GDAL and PROJ (README).
multiarch=$(gcc -print-multiarch)
build build-release-linux -DCMAKE_EXE_LINKER_FLAGS="-static-libstdc++ -static-libgcc" \
  -DPNG_LIBRARY="/usr/lib/$multiarch/libpng16.a" -DZLIB_LIBRARY="/usr/lib/$multiarch/libz.a"
"$root/tools/mingw_libpng.sh" "$root/build-release-win/libpng-root"
build build-release-win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_FIND_ROOT_PATH="$root/build-release-win/libpng-root"

# The archive name and the program's own version must agree.
said=$(build-release-linux/vadz --version)
if [ "$said" != "vadz $version" ]; then
  echo "release: the program says '$said' (project version in CMakeLists.txt), not 'vadz $version'" >&2
  exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
build-release-linux/make_example "$stage/example-run" >/dev/null
build-release-linux/make_example --grid 60 90 2640 1000000 300000 "$stage/halfmile-run" >/dev/null

# Same content in both archives apart from the program (and the half-mile
# example's CRS line).
pack_tree() {  # build dir, tree, sed script for the half-mile parameter file
  cmake --install "$1" --prefix "$2" --strip >/dev/null
  cp README.md "$2/"
  cp -r docs "$2/"
  mkdir -p "$2/example"
  cp example/vadz.par "$2/example/"
  cp -r "$stage/example-run" "$2/example/run"
  mkdir -p "$2/example/halfmile"
  sed "$3" example/halfmile/vadz.par > "$2/example/halfmile/vadz.par"
  cp -r "$stage/halfmile-run" "$2/example/halfmile/run"
}
linux=vadz-$version-linux-x86_64
windows=vadz-$version-windows-x86_64
pack_tree build-release-linux "$stage/$linux" ''
# The Windows program has no PROJ: its CRS line is left as a comment.
pack_tree build-release-win "$stage/$windows" 's/^CRS /# (CRS needs a program built with PROJ) CRS /'

mkdir -p dist
rm -f "dist/$linux.tar.gz" "dist/$windows.zip"
# Fixed owner, order and times: the same sources give the same archive bytes.
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 0)
find "$stage/$linux" "$stage/$windows" -exec touch -h -d "@$stamp" {} +
tar -C "$stage" --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$stamp" -cf - "$linux" |
  gzip -9n >"dist/$linux.tar.gz"
(cd "$stage" && find "$windows" | LC_ALL=C sort | zip -qX9 "$root/dist/$windows.zip" -@)

# Unpack both and run the example from each: every output the same.
check=$stage/check
mkdir -p "$check/linux" "$check/windows"
tar -C "$check/linux" -xzf "dist/$linux.tar.gz"
unzip -q "dist/$windows.zip" -d "$check/windows"
(cd "$check/linux/$linux/example/run" && ../../bin/vadz ../vadz.par >../stdout.txt)
echo "linux archive: example runs"
if ldd "$check/linux/$linux/bin/vadz" | grep -Eq 'libpng|libz\.'; then
  echo "release: bin/vadz should not need the host's libpng or zlib" >&2
  exit 1
fi
if command -v wine >/dev/null; then
  export WINEDEBUG=-all WINEPREFIX=$stage/wine
  (cd "$check/windows/$windows/example/run" && wine ../../bin/vadz.exe ../vadz.par >../stdout.txt)
  wineserver -k 2>/dev/null || true
  rm -rf "$check/linux/$linux/bin" "$check/windows/$windows/bin"
  diff -r "$check/linux/$linux" "$check/windows/$windows" >/dev/null ||
    { echo "release: the two archives' example outputs differ" >&2; exit 1; }
  echo "windows archive: example runs under Wine, outputs identical to Linux"
else
  echo "windows archive: not run (no Wine)"
fi
ls -l "dist/$linux.tar.gz" "dist/$windows.zip"
