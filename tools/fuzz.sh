#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (Debian clang, libFuzzer, address and
# undefined-behaviour sanitizers) and runs each for SECONDS on its corpus,
# seeded from the shipped example. Prints the executions of every target;
# exits non-zero on any finding (the input is kept in build-fuzz/findings).
#
#   tools/fuzz.sh SECONDS [TARGET...]     e.g. tools/fuzz.sh 20, tools/fuzz.sh 240 textgrid
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
secs=${1:?usage: tools/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(params textgrid bingrid flags stations function terrain)

B=$root/build-fuzz
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ not found (apt-get install clang)" >&2; exit 2; }
mkdir -p "$B"
if ! { CXX=clang++ cmake -S . -B "$B" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVADZ_FUZZ=ON -DVADZ_TESTS=OFF &&
       cmake --build "$B" -j2 --target fuzzers make_example; } >"$B/build.log" 2>&1; then
  cat "$B/build.log" >&2
  echo "fuzz.sh: the fuzz targets do not build" >&2
  exit 2
fi

# Seeds from the example: whole files, short cuts of them, and the inputs
# framed as each target reads them (see the comment at the top of each).
ex=$B/example
rm -rf "$ex" "$B/seeds" "$B/tmp"
ASAN_OPTIONS=detect_leaks=0 "$B/make_example" "$ex" >/dev/null
S=$B/seeds
mkdir -p "$S"/{params,textgrid,bingrid,flags,stations,function,terrain} "$B/tmp" "$B/findings" "$B/logs"

cp "$root/example/vadz.par" "$S/params/example"
# Names of files the fuzzing folder lacks replaced, so the whole file is read.
sed -e 's/^SOIL .*/SOIL */' -e 's/^BUDGET .*/BUDGET */' -e 's/^STATIONS .*/PRISM ppt/' \
    -e '/^IBOUND/d' -e '/^TERRAIN/d' "$root/example/vadz.par" > "$S/params/complete"
printf 'STRESSF 1 0.5 1.5+0 2D-1\nNOPUMP ks\nOPTMOUND\nBIN\nAPPEND\nRECHARGE a b "c d" e\nIWELCB -1\nDIR x y z\nMOUND *\nGWMASK *\nXFACTOR 1995 x\n' \
    > "$S/params/keywords"

cp "$ex/co/1990.05.pmp" "$S/textgrid/pumping"
head -c 3000 "$ex/ks/1991.agw" > "$S/textgrid/area_cut"
head -c 1500 "$ex/ne/1992.07.rcg" | tr ' ' ',' > "$S/textgrid/commas_cut"
printf '1.5D3 1.5+3 +7 -.5 5. 1e-2 %s 1D%s\n' "$(printf '1%.0s' $(seq 300))" \
    "$(printf '0%.0s' $(seq 79))" > "$S/textgrid/forms"

# A framed binary record of an example grid, and a cut one.
perl -e 'local $/; my @v = split " ", <STDIN>; print pack("V", 430320), pack("d<*", @v[0..53789]), pack("V", 430320)' \
    < "$ex/co/1990.06.rcg" > "$S/bingrid/record"
head -c 600 "$S/bingrid/record" > "$S/bingrid/record_cut"

{ printf '\0'; cat "$ex/ibound.txt"; } > "$S/flags/plain"
{ printf '\2'; cat "$ex/soil.txt"; } > "$S/flags/soil"
{ printf '\2'; head -c 4000 "$ex/budget.txt"; } > "$S/flags/budget_cut"
{ printf '\1'; printf 'mound\n'; head -c 2000 "$ex/ibound.txt" | tr -d ' '; } > "$S/flags/one_zone_cut"

{ printf '\1'; cat "$ex/stations.txt"; printf '\0'; cat "$ex/precip.txt"; } > "$S/stations/example"
{ printf '\3'; head -n 4 "$ex/stations.txt"; printf '\0'; head -n 3 "$ex/precip.txt" | cut -d' ' -f1-4; } \
    > "$S/stations/three"

{ printf '\2 1\n'; sed -n '/^FUNCTION/,/^$/p' "$root/example/vadz.par" | sed '1d'; printf 'MONTH 1\n'; } > "$S/function/example"
{ printf '\0 2\n0 0 0\n10 1.5 2\n20 4 6.5\n'; } > "$S/function/quadratic"

{ printf 'LIMIT 0.5 1.5\n'; cut -d' ' -f1-3 "$ex/trnmult.txt"; } > "$S/terrain/example"
{ printf '\n'; head -n 3 "$ex/trnmult.txt" | cut -d' ' -f1-3; printf 'END\n'; } > "$S/terrain/three"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Input files go to memory where it can be had: a disk costs most of the time.
work=$B/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && work=$(mktemp -d /dev/shm/vadz-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work
failed=0
for t in "${targets[@]}"; do
  dict=$work/$t.dict
  cat "$root/fuzz/numbers.dict" > "$dict"
  [ -f "$root/fuzz/$t.dict" ] && cat "$root/fuzz/$t.dict" >> "$dict"
  mkdir -p "$B/corpus/$t"
  log=$B/logs/$t.log
  rc=0
  "$B/fuzz/${t}_fuzz" -max_total_time="$secs" -timeout=20 -rss_limit_mb=2048 -dict="$dict" \
      -artifact_prefix="$B/findings/$t-" -print_final_stats=1 \
      "$B/corpus/$t" "$S/$t" >"$log" 2>&1 || rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    failed=1
    echo "$t: FINDING after ${execs:-?} executions (status $rc); log ${log#$root/}"
    grep -m1 -E 'ERROR|FINDING|runtime error|Timeout|out-of-memory' "$log" || true
  else
    echo "$t: ${execs:-?} executions in ${secs} s, clean (corpus $(ls "$B/corpus/$t" | wc -l) inputs)"
  fi
done
exit $failed
