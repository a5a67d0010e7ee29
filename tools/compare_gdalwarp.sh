#!/usr/bin/env bash
# Compares vadz grid raster with gdalwarp where the grids align: a raster of
# quarter-cell pixels (some without data) onto a 10 x 12 grid of one-mile
# cells, --sum against gdalwarp -r sum and --mean against -r average, on the
# cells whose 16 pixels all hold data. Prints the largest relative
# difference of each. Usage: tools/compare_gdalwarp.sh <build folder>.
# Needs gdal-bin and python3.
set -euo pipefail
build=$(cd "${1:?usage: tools/compare_gdalwarp.sh <build folder>}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'GRID 10 12 5280 1300000 700000\nCRS EPSG:3419\n' >g.par
python3 - <<'PY'
import random
rnd = random.Random(7)
nc, nr = 48, 40
with open("src.asc", "w") as f:
    f.write(f"ncols {nc}\nnrows {nr}\nxllcorner 1300000\nyllcorner 700000\n"
            "cellsize 1320\nNODATA_value -9999\n")
    for j in range(nr):
        f.write(" ".join("-9999" if rnd.random() < 0.03 else f"{rnd.uniform(0, 50):.6f}"
                         for _ in range(nc)) + "\n")
PY
gdal_translate -q -ot Float64 -a_srs EPSG:3419 src.asc src.tif
for m in sum mean; do
  "$build/vadz" grid raster g.par src.tif "vadz_$m.txt" "--$m" --fill -9999 >/dev/null
done
warp() {
  gdalwarp -q -overwrite -t_srs EPSG:3419 -te 1300000 700000 1363360 752800 -tr 5280 5280 \
    -ot Float64 -r "$1" -dstnodata -9999 src.tif "$2.tif"
  gdal_translate -q -of AAIGrid "$2.tif" "$2.asc"
}
warp sum warp_sum
warp average warp_mean
python3 - <<'PY'
def grid(path, skip):
    with open(path) as f:
        lines = f.read().split("\n")[skip:]
    return [float(v) for v in " ".join(lines).split()]
src = grid("src.asc", 6)
full = []
for r in range(10):
    for c in range(12):
        ok = all(src[(4 * r + j) * 48 + 4 * c + i] != -9999 for j in range(4) for i in range(4))
        full.append(ok)
for m in ("sum", "mean"):
    a, b = grid(f"vadz_{m}.txt", 0), grid(f"warp_{m}.asc", 6)
    worst = max(abs(x - y) / abs(y) for x, y, f in zip(a, b, full) if f)
    print(f"--{m}: {sum(full)} fully covered cells, largest relative difference to gdalwarp "
          f"-r {'sum' if m == 'sum' else 'average'}: {worst:.3g}")
PY
