#!/usr/bin/env bash
# Full-scale benchmark of vadz against its input/output floor.
#
#   bench/run_bench.sh [-n RUNS] [--build-dir DIR] [--regen] [--variant text|bin] [--mf6]
#
# Builds Release, generates the two data sets once (bench/data/text and
# bench/data/bin, text and framed binary grid files), then for each variant
# runs vadz and io_floor alternately RUNS times (default 5), each in a clean
# output folder, and prints the median wall time, seconds per transient year,
# input and output MB/s (bytes the process really read and wrote, from the
# kernel's per-process I/O counters), peak resident memory and the ratio
# vadz/floor. The cost of one transient year at each end of the window is the
# median of one-year runs (TRANSIENT 1990 1990 and 1999 1999) minus the median
# of a run without transient years (same parameter file, TRANSIENT removed).
# The md5 sums of every output of the last full vadz run go to
# bench/checksums-<variant>.txt, so that byte identity can be checked before
# and after an optimisation. The cache is warm: every input file is read once
# before the timed runs. With --mf6, vadz also runs RUNS times with the
# parameter file plus an MF6 line, alternating with plain runs, and the cost
# of the MODFLOW 6 files is printed; the other outputs of that run must have
# the sums of the checksum list.
set -euo pipefail

calc() { awk "BEGIN {printf \"%.6f\\n\", $*}"; }
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
runs=5
build=build-release
regen=0
variants="text bin"
mf6=0
while [ $# -gt 0 ]; do
  case "$1" in
    -n) runs=$2; shift 2 ;;
    --build-dir) build=$2; shift 2 ;;
    --regen) regen=1; shift ;;
    --variant) variants=$2; shift 2 ;;
    --mf6) mf6=1; shift ;;
    *) echo "usage: $0 [-n RUNS] [--build-dir DIR] [--regen] [--variant text|bin] [--mf6]" >&2; exit 2 ;;
  esac
done

cd "$root"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j"$(nproc)" --target vadz make_bench io_floor > /dev/null
vadz=$root/$build/vadz
floor=$root/$build/io_floor
data=$here/data

# ---------------------------------------------------------------- data sets
for v in text bin; do
  if [ "$regen" = 1 ] || [ ! -f "$data/$v/.complete" ]; then
    rm -rf "${data:?}/$v"
    flag=""
    [ "$v" = bin ] && flag=--bin
    t0=$(date +%s.%N)
    "$root/$build/make_bench" "$data/$v" $flag
    t1=$(date +%s.%N)
    printf 'generated %s in %.1f s\n' "$v" "$(calc "$t1 - $t0")"
    touch "$data/$v/.complete"
  fi
done

# ---------------------------------------------------------------- measuring
# run_measured DIR DATASET CMD...: runs CMD in the clean folder DIR (holding
# a link "data" to the data set) with standard output to DIR/stdout.txt; sets
# m_wall and m_cpu (user + system seconds), m_rss (KB or n/a), m_read and
# m_write (bytes read and written by the process, /proc/<pid>/io of the shell
# that waited for it, which includes its reaped child).
if [ -x /usr/bin/time ]; then
  rss_tool=/usr/bin/time
elif command -v python3 > /dev/null; then
  rss_tool=python3
else
  rss_tool=none
fi
scratch=$data/scratch
mkdir -p "$scratch"

run_measured() {
  local dir=$1 dataset=$2
  shift 2
  rm -rf "$dir"
  mkdir -p "$dir"
  ln -s "$dataset" "$dir/data"
  local inner='"$@" > stdout.txt; rc=$?; cat /proc/$$/io > "$IOFILE"; exit $rc'
  local t0 t1
  export IOFILE=$scratch/io.txt RUFILE=$scratch/rusage.txt
  t0=$(date +%s.%N)
  case $rss_tool in
    /usr/bin/time)
      (cd "$dir" && /usr/bin/time -f '%M %U %S' -o "$RUFILE" bash -c "$inner" _ "$@") ;;
    python3)
      (cd "$dir" && python3 -c '
import os, resource, subprocess, sys
rc = subprocess.call(sys.argv[1:])
u = resource.getrusage(resource.RUSAGE_CHILDREN)
with open(os.environ["RUFILE"], "w") as f:
    f.write("%d %.2f %.2f\n" % (u.ru_maxrss, u.ru_utime, u.ru_stime))
sys.exit(rc)' bash -c "$inner" _ "$@") ;;
    none)
      (cd "$dir" && bash -c "$inner" _ "$@")
      echo "n/a n/a n/a" > "$RUFILE" ;;
  esac
  t1=$(date +%s.%N)
  m_wall=$(calc "$t1 - $t0")
  read -r m_rss m_user m_sys < <(tail -n 1 "$RUFILE")
  if [ "$m_user" = n/a ]; then m_cpu=0; else m_cpu=$(calc "$m_user + $m_sys"); fi
  m_read=$(awk '/^rchar/ {print $2}' "$IOFILE")
  m_write=$(awk '/^wchar/ {print $2}' "$IOFILE")
}

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

# Prints "name size" of every output file of a run folder, sorted.
sizes() { (cd "$1" && find . -type f ! -name stdout.txt -printf '%P %s\n' | LC_ALL=C sort); }

mb() { awk -v k="$1" 'BEGIN { if (k ~ /^[0-9]+$/) printf "%.1f", k / 1024; else print k }'; }

echo
echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo)"
echo "runs per program: $runs (median), warm cache, rusage via $rss_tool"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"

# The programs compared: vadz, the floor (the year's mi file read in each of
# the twelve months, as a straightforward run does) and the floor reading it
# once per year.
names=(vadz io_floor floor_mi1)
for v in $variants; do
  dataset=$data/$v
  cat "$dataset"/*/* "$dataset"/*.* > /dev/null
  ntr=$(awk '$1 == "TRANSIENT" {print $3 - $2 + 1}' "$dataset/bench.par")
  declare -A wall=() cpu=() rss=() rd=() wr=()
  for ((i = 1; i <= runs; i++)); do
    for p in 0 1 2; do
      case $p in
        0) cmd=("$vadz" data/bench.par) ;;
        1) cmd=("$floor" data/bench.par) ;;
        2) cmd=("$floor" data/bench.par --mi-once) ;;
      esac
      run_measured "$data/run-$v-${names[$p]}" "$dataset" "${cmd[@]}"
      wall[$p]+="$m_wall "; cpu[$p]+="$m_cpu "; rss[$p]+="$m_rss "
      rd[$p]=$m_read; wr[$p]=$m_write
    done
  done
  # The outputs of the last full vadz run: checksums and size check.
  (cd "$data/run-$v-vadz" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs md5sum) \
    > "$here/checksums-$v.txt"
  if diff <(sizes "$data/run-$v-vadz") <(sizes "$data/run-$v-io_floor") > "$scratch/sizes-$v.diff"; then
    size_check="output sizes of vadz and io_floor equal ($(sizes "$data/run-$v-vadz" | wc -l) files)"
  else
    size_check="output sizes of vadz and io_floor DIFFER, see $scratch/sizes-$v.diff"
  fi

  # One-year runs at both ends of the window and a run without transient years.
  pars=$data/pars
  mkdir -p "$pars"
  sed '/^TRANSIENT/d' "$dataset/bench.par" > "$pars/$v-none.par"
  sed 's/^TRANSIENT.*/TRANSIENT 1990 1990/' "$dataset/bench.par" > "$pars/$v-first.par"
  sed 's/^TRANSIENT.*/TRANSIENT 1999 1999/' "$dataset/bench.par" > "$pars/$v-last.par"
  y0=""; y1=""; y2=""; c0=""; c1=""; c2=""
  for ((i = 1; i <= runs; i++)); do
    run_measured "$data/run-$v-year" "$dataset" "$vadz" "$pars/$v-none.par"; y0+="$m_wall "; c0+="$m_cpu "
    run_measured "$data/run-$v-year" "$dataset" "$vadz" "$pars/$v-first.par"; y1+="$m_wall "; c1+="$m_cpu "
    run_measured "$data/run-$v-year" "$dataset" "$vadz" "$pars/$v-last.par"; y2+="$m_wall "; c2+="$m_cpu "
  done
  rm -rf "$data/run-$v-year"

  echo
  echo "== variant $v: $ntr transient years; $size_check"
  printf '%-10s %8s %8s %8s %9s %9s %9s %9s %8s\n' program "wall s" "cpu s" "s/year" \
    "in MB/s" "out MB/s" "read MB" "wrote MB" "peak MB"
  for p in 0 1 2; do
    # shellcheck disable=SC2086
    w=$(median ${wall[$p]}); c=$(median ${cpu[$p]}); r=$(median ${rss[$p]})
    printf '%-10s %8.2f %8.2f %8.3f %9.1f %9.1f %9.1f %9.1f %8s\n' "${names[$p]}" "$w" "$c" \
      "$(calc "$w / $ntr")" "$(calc "${rd[$p]} / 1e6 / $w")" "$(calc "${wr[$p]} / 1e6 / $w")" \
      "$(calc "${rd[$p]} / 1e6")" "$(calc "${wr[$p]} / 1e6")" "$(mb "$r")"
  done
  # shellcheck disable=SC2086
  vm=$(median ${wall[0]}); fm=$(median ${wall[1]}); gm=$(median ${wall[2]})
  # shellcheck disable=SC2086
  vc=$(median ${cpu[0]}); fc=$(median ${cpu[1]}); gc=$(median ${cpu[2]})
  printf 'ratio vadz/io_floor: wall %.2f, cpu %.2f; vadz/floor_mi1: wall %.2f, cpu %.2f\n' \
    "$(calc "$vm / $fm")" "$(calc "$vc / $fc")" "$(calc "$vm / $gm")" "$(calc "$vc / $gc")"
  for p in 0 1 2; do printf 'wall of each run, %-10s: %s\n' "${names[$p]}" "${wall[$p]}"; done
  # shellcheck disable=SC2086
  m0=$(median $y0); m1=$(median $y1); m2=$(median $y2)
  # shellcheck disable=SC2086
  n0=$(median $c0); n1=$(median $c1); n2=$(median $c2)
  printf 'vadz without transient years %.2f s (cpu %.2f), with 1990 only %.2f s (cpu %.2f), with 1999 only %.2f s (cpu %.2f)\n' \
    "$m0" "$n0" "$m1" "$n1" "$m2" "$n2"
  printf 'cost of one transient year: first (1990) wall %.2f s, cpu %.2f s; last (1999) wall %.2f s, cpu %.2f s\n' \
    "$(calc "$m1 - $m0")" "$(calc "$n1 - $n0")" "$(calc "$m2 - $m0")" "$(calc "$n2 - $n0")"
  echo "checksums of the vadz outputs: bench/checksums-$v.txt"

  # The cost of the MODFLOW 6 files: plain runs and runs with MF6 alternately.
  if [ "$mf6" = 1 ]; then
    { cat "$dataset/bench.par"; echo "MF6 mf6"; } > "$pars/$v-mf6.par"
    a=""; b=""; ac=""; bc=""
    for ((i = 1; i <= runs; i++)); do
      run_measured "$data/run-$v-plain" "$dataset" "$vadz" data/bench.par; a+="$m_wall "; ac+="$m_cpu "
      run_measured "$data/run-$v-mf6" "$dataset" "$vadz" "$pars/$v-mf6.par"; b+="$m_wall "; bc+="$m_cpu "
    done
    mf6_mb=$(du -sm "$data/run-$v-mf6/mf6" | cut -f1)
    if (cd "$data/run-$v-mf6" && find . -type f ! -path './mf6/*' -printf '%P\n' | LC_ALL=C sort | xargs md5sum) \
      | cmp -s - "$here/checksums-$v.txt"; then
      same="other outputs identical to bench/checksums-$v.txt"
    else
      same="other outputs DIFFER from bench/checksums-$v.txt"
    fi
    # shellcheck disable=SC2086
    ma=$(median $a); mb6=$(median $b); mac=$(median $ac); mbc=$(median $bc)
    printf 'MF6: wall %.2f s without, %.2f s with (+%.0f%%); cpu %.2f s without, %.2f s with (+%.0f%%); %s MB of MF6 files; %s\n' \
      "$ma" "$mb6" "$(calc "100 * ($mb6 - $ma) / $ma")" "$mac" "$mbc" "$(calc "100 * ($mbc - $mac) / $mac")" \
      "$mf6_mb" "$same"
    printf 'wall of each run without MF6: %s\nwall of each run with MF6:    %s\n' "$a" "$b"
    rm -rf "$data/run-$v-plain"
  fi
done
echo
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
