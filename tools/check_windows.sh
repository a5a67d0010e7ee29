#!/usr/bin/env bash
# Runs the Windows program under Wine beside the Linux program and compares
# every output file, the standard output and the exit status byte for byte:
#   tools/check_windows.sh LINUX_BUILD WINDOWS_BUILD
# Cases: the shipped example; the same run from a parameter file with CR LF
# lines and backslashes in its paths; a run that stops in its second
# transient year on a damaged grid file; no arguments (the usage stop); the
# full-scale benchmark data set with binary grid files (tools/make_bench).
# WINEPREFIX and WINEDEBUG are taken from the environment when set.
set -euo pipefail
lin=$(realpath "${1:?usage: tools/check_windows.sh LINUX_BUILD WINDOWS_BUILD}")
win=$(realpath "${2:?usage: tools/check_windows.sh LINUX_BUILD WINDOWS_BUILD}")
cd "$(dirname "$0")/.."
export WINEDEBUG=${WINEDEBUG:--all}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
  echo "check_windows: $*" >&2
  exit 1
}

# The example's data, generated on both sides: the generator must agree too.
"$lin/make_example" "$tmp/data" >/dev/null
wine "$win/make_example.exe" "$tmp/windata" >/dev/null
diff -r "$tmp/data" "$tmp/windata" >/dev/null || fail "make_example.exe writes other data"

# run SIDE CASE PARFILE [prepare]: a fresh copy of the data in
# $tmp/SIDE/CASE/run, the parameter file beside it, the program run inside
# run/ with standard output kept in CASE/stdout and the status in CASE/status.
run() {
  local side=$1 case=$2 par=$3 prepare=${4:-}
  local dir=$tmp/$side/$case
  mkdir -p "$dir"
  cp -r "$tmp/data" "$dir/run"
  cp "$par" "$dir/vadz.par"
  [ -n "$prepare" ] && (cd "$dir/run" && $prepare)
  local status=0
  if [ "$side" = linux ]; then
    (cd "$dir/run" && "$lin/vadz" ../vadz.par >../stdout) || status=$?
  else
    (cd "$dir/run" && wine "$win/vadz.exe" '..\vadz.par' >../stdout) || status=$?
  fi
  echo "$status" >"$dir/status"
}

same() {  # CASE_LINUX CASE_WINDOWS [expected status]
  diff -r "$tmp/linux/$1" "$tmp/windows/$2" >/dev/null || {
    diff -r "$tmp/linux/$1" "$tmp/windows/$2" | head -20 >&2
    fail "$2: Windows outputs differ from Linux ($1)"
  }
  if [ -n "${3:-}" ] && [ "$(cat "$tmp/linux/$1/status")" != "$3" ]; then
    fail "$1: status $(cat "$tmp/linux/$1/status"), expected $3"
  fi
  echo "check_windows: $2 identical to Linux (status $(cat "$tmp/windows/$2/status"))"
}

# The shipped example.
run linux example example/vadz.par
run windows example example/vadz.par
same example example 0

# CR LF lines and backslashes (with a trailing one, and through ..) in paths.
sed -e 's#^IBOUND ibound.txt#IBOUND ..\\run\\ibound.txt#' \
  -e 's#^DIR co ks ne#DIR .\\co ..\\run\\ks ne\\#' \
  -e 's#^FILE grids#FILE .\\grids\\#' \
  -e 's#^WELL example.wel#WELL .\\example.wel#' \
  -e 's/$/\r/' example/vadz.par >"$tmp/backslash.par"
grep -q 'DIR .\\co' "$tmp/backslash.par" || fail "backslash parameter file not made"
run windows backslash "$tmp/backslash.par"
cp example/vadz.par "$tmp/windows/backslash/vadz.par"
same example backslash 0

# A stop in 1991: the files written so far, the budget rows and the line.
damage() { printf '1 2 3\n' >ks/1991.mi; }
run linux stopped example/vadz.par damage
run windows stopped example/vadz.par damage
same stopped stopped 1
tail -n 1 "$tmp/windows/stopped/stdout"

# No arguments: the usage line.
mkdir -p "$tmp/linux/usage" "$tmp/windows/usage"
s=0; (cd "$tmp/linux/usage" && "$lin/vadz" >stdout) || s=$?; echo "$s" >"$tmp/linux/usage/status"
s=0; (cd "$tmp/windows/usage" && wine "$win/vadz.exe" >stdout) || s=$?; echo "$s" >"$tmp/windows/usage/status"
same usage usage 1

# Full scale with binary grid files: ten transient years, four recharge
# files, every table and yearly grid (binary grids written too).
"$lin/make_bench" "$tmp/bench" --bin >/dev/null
for side in linux windows; do
  mkdir -p "$tmp/$side/bench"
  ln -s "$tmp/bench" "$tmp/$side/bench/data"
  s=0
  if [ "$side" = linux ]; then
    (cd "$tmp/$side/bench" && "$lin/vadz" data/bench.par >stdout) || s=$?
  else
    (cd "$tmp/$side/bench" && wine "$win/vadz.exe" 'data\bench.par' >stdout) || s=$?
  fi
  echo "$s" >"$tmp/$side/bench/status"
  rm "$tmp/$side/bench/data"
done
same bench bench 0
