#!/usr/bin/env bash
# The cost of REPORT (or of every added output) on the full-scale benchmark.
#
#   bench/report_cost.sh [-n RUNS] [--build-dir DIR] [--variant text|bin] [--all]
#
# Needs the data sets of bench/run_bench.sh (run it once first). For each
# variant runs vadz on bench.par and on bench.par with "REPORT report" added,
# alternately RUNS times (default 9), each in a new folder, and prints the
# median and the smallest wall and cpu (user + system) seconds of both and
# the added share. Then checks that every output of the REPORT run outside
# its report folder has the md5 sum of bench/checksums-<variant>.txt. With
# --all the second run has every added output: "REPORT report", "MF6 mf6"
# and "BUDGETCSV budget.csv"; their sizes are printed.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
runs=9
build=build-release
variants="text bin"
all=0
what=REPORT
while [ $# -gt 0 ]; do
  case "$1" in
    -n) runs=$2; shift 2 ;;
    --build-dir) build=$2; shift 2 ;;
    --variant) variants=$2; shift 2 ;;
    --all) all=1; what="every output"; shift ;;
    *) echo "usage: $0 [-n RUNS] [--build-dir DIR] [--variant text|bin] [--all]" >&2; exit 2 ;;
  esac
done

cd "$root"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j2 --target vadz > /dev/null
vadz=$root/$build/vadz
data=$here/data
scratch=$data/scratch
mkdir -p "$scratch" "$data/pars"

# Median and smallest of a list of numbers.
stats() { printf '%s\n' "$@" | sort -g | awk '{a[NR] = $1} END {m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "%.2f %.2f\n", m, a[1]}'; }
share() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%+.1f%%", 100 * (b / a - 1)}'; }

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for v in $variants; do
  dataset=$data/$v
  [ -f "$dataset/.complete" ] || { echo "no data set $dataset: run bench/run_bench.sh first" >&2; exit 1; }
  cat "$dataset"/*/* "$dataset"/*.* > /dev/null
  par=$data/pars/$v-report.par
  { cat "$dataset/bench.par"; echo "REPORT report"
    if [ "$all" = 1 ]; then echo "MF6 mf6"; echo "BUDGETCSV budget.csv"; fi; } > "$par"
  declare -A wall=() cpu=()
  # Every run in a folder of its own, all removed at the end: files just
  # deleted slow the creation of new ones on some file systems (ext4 without
  # a journal passes over the inodes freed in the last five minutes), which
  # would charge the benchmark's own clean-up to the run that creates the
  # most files. About 1 GB of disk a round meanwhile.
  rm -rf "$data/runs-$v"
  for ((i = 1; i <= runs; i++)); do
    for mode in plain report; do
      dir=$data/runs-$v/$mode-$i
      mkdir -p "$dir"
      ln -s "$dataset" "$dir/data"
      p=data/bench.par
      [ $mode = report ] && p=$par
      # The inputs back in the page cache before every run: this machine
      # reclaims cold pages between runs, and a run that rereads part of its
      # 350 to 680 MB from disk would time the disk, not the program.
      cat "$dataset"/*/* "$dataset"/*.* > /dev/null
      (cd "$dir" && /usr/bin/time -f '%e %U %S' -o "$scratch/time.txt" "$vadz" "$p" > stdout.txt)
      read -r w u s < "$scratch/time.txt"
      wall[$mode]+="$w "
      cpu[$mode]+="$(awk -v u="$u" -v s="$s" 'BEGIN {print u + s}') "
    done
  done
  # shellcheck disable=SC2086
  read -r pw pwmin < <(stats ${wall[plain]}); read -r rw rwmin < <(stats ${wall[report]})
  # shellcheck disable=SC2086
  read -r pc pcmin < <(stats ${cpu[plain]}); read -r rc rcmin < <(stats ${cpu[report]})
  echo
  echo "== variant $v, $runs runs each (median, smallest)"
  echo "without $what: wall $pw s, $pwmin s; cpu $pc s, $pcmin s"
  echo "with $what:    wall $rw s, $rwmin s; cpu $rc s, $rcmin s"
  echo "$what adds:    wall $(share "$pw" "$rw") (median), $(share "$pwmin" "$rwmin") (smallest); cpu $(share "$pc" "$rc"), $(share "$pcmin" "$rcmin")"
  echo "wall of each run without: ${wall[plain]}"
  echo "wall of each run with:    ${wall[report]}"
  last=$data/runs-$v/report-$runs
  if (cd "$last" && find . -type f ! -path './report/*' ! -path './mf6/*' \
      ! -name budget.csv -printf '%P\n' | LC_ALL=C sort |
      xargs md5sum) | diff -q - "$here/checksums-$v.txt" > /dev/null; then
    echo "outputs beside the report: md5 sums as in bench/checksums-$v.txt"
  else
    echo "outputs beside the report DIFFER from bench/checksums-$v.txt"
  fi
  echo "report folder: $(du -sh "$last/report" | cut -f1), $(find "$last/report" -type f | wc -l) files"
  if [ "$all" = 1 ]; then
    echo "MF6 folder: $(du -sh "$last/mf6" | cut -f1), $(find "$last/mf6" -type f | wc -l) files"
  fi
done
for v in $variants; do rm -rf "$data/runs-$v"; done
echo
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
