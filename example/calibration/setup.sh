#!/bin/sh
# Makes a ready-to-run PEST++ case folder:
#
#   setup.sh DIR [VADZ]
#
# VADZ is the program to calibrate, by default `vadz` on the PATH, else the
# one in the repository's build folder. DIR receives the example data (from
# make_example beside VADZ, else the build's, else on the PATH), a copy of
# the program as ./vadz, the template, instruction and control files and
# truth.csv. The program is then run once with the multipliers of truth.csv
# and its calibration table becomes the observations (values and weights) of
# calib.pst. Afterwards `cd DIR && pestpp-glm calib.pst` runs the case.
#
# The model command in calib.pst is `./vadz vadz.par`: PEST++ agents split
# the command on blanks and exec it without a shell, looking a bare name up
# on the PATH only. With the program inside the folder every path is relative
# to it, so each panther agent can work in its own copy of the folder, on
# any machine, whatever its PATH.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$here/../../build

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: setup.sh DIR [VADZ]" >&2
  exit 1
fi
dir=$1
vadz=${2:-}
if [ -z "$vadz" ]; then
  vadz=$(command -v vadz || true)
  [ -n "$vadz" ] || vadz=$build/vadz
fi
if [ ! -x "$vadz" ]; then
  echo "setup.sh: program not found: $vadz (build it, or give its path)" >&2
  exit 1
fi
make_example=$(dirname "$vadz")/make_example
[ -x "$make_example" ] || make_example=$build/make_example
[ -x "$make_example" ] || make_example=$(command -v make_example || true)
if [ -z "$make_example" ] || [ ! -x "$make_example" ]; then
  echo "setup.sh: make_example not found beside $vadz, in $build or on the PATH" >&2
  exit 1
fi

mkdir -p "$dir"
"$make_example" "$dir" >/dev/null
cp "$vadz" "$dir/vadz"
cp "$here/vadz.tpl" "$here/budget.ins" "$here/truth.csv" "$dir/"

# The truth run: each template field filled with the value of truth.csv,
# right-aligned at the field's width.
awk -F, 'NR == FNR { sub(/\r$/, ""); if (FNR > 1) v[tolower($1)] = $2; next }
  FNR == 1 { m = $0; sub(/^[^ ]+ +/, "", m); m = substr(m, 1, 1); next }
  {
    out = ""; rest = $0
    while ((i = index(rest, m)) > 0) {
      j = index(substr(rest, i + 1), m)
      if (j == 0) { print "setup.sh: unbalanced marker in vadz.tpl" > "/dev/stderr"; exit 1 }
      name = tolower(substr(rest, i + 1, j - 1)); gsub(/ /, "", name)
      if (!(name in v)) { print "setup.sh: no value for " name " in truth.csv" > "/dev/stderr"; exit 1 }
      out = out substr(rest, 1, i - 1) sprintf("%" (j + 1) "s", v[name])
      rest = substr(rest, i + j + 1)
    }
    print out rest
  }' "$dir/truth.csv" "$dir/vadz.tpl" > "$dir/vadz.par"
if ! (cd "$dir" && ./vadz vadz.par > truth.out); then
  echo "setup.sh: the truth run failed:" >&2
  tail -n 1 "$dir/truth.out" >&2
  exit 1
fi

# The observations: each instruction's key (period,group,zone,) names a row
# of the table; its value, as written, becomes the observed value, and the
# weight is that of a measurement good to 1 percent.
awk 'FILENAME ~ /budget\.ins$/ {
       if (FNR == 1) { m = $2; next }
       i = index($0, m); j = index(substr($0, i + 1), m)
       name = $NF; gsub(/!/, "", name)
       key[substr($0, i + 1, j - 1)] = tolower(name); next
     }
     FILENAME ~ /budget\.csv$/ {
       sub(/\r$/, "")
       k = $0; sub(/[^,]*$/, "", k)
       if (k in key) { val[key[k]] = substr($0, length(k) + 1) }
       next
     }
     /^\*/ { obs = ($0 ~ /^\* *observation data/); print; next }
     obs {
       n = tolower($1)
       if (!(n in val)) { print "setup.sh: no value for observation " n > "/dev/stderr"; exit 1 }
       w = val[n] + 0; if (w < 0) w = -w
       printf "%-15s %s %.6g %s\n", $1, val[n], (w > 0 ? 100 / w : 1), $4
       next
     }
     { print }' "$dir/budget.ins" "$dir/budget.csv" "$here/calib.pst" > "$dir/calib.pst"
echo "case ready in $dir: cd $dir && pestpp-glm calib.pst"
