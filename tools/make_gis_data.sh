#!/usr/bin/env bash
# Raw GIS data for the walk-through's first step (docs/walkthrough.md), made
# with GDAL's own command-line tools and Python's standard library:
#   grid_crs.wkt      the shipped example grid's CRS: UTM zone 14N on NAD83,
#                     in US survey feet
#   ppt_YYYY.tif      annual precipitation 1985-1992, inches, in NAD83
#                     longitude and latitude (2.5-minute pixels, as
#                     gridded climate data come)
#   wells.csv         monthly pumping of KS wells, acre-feet, located by
#                     WGS 84 longitude and latitude
#   soils.gpkg        soil polygons (attribute soil: sand, loam, clay) in
#                     UTM zone 14N metres
# Usage: tools/make_gis_data.sh <folder>. Needs gdal-bin, proj-bin, python3.
set -euo pipefail
out=${1:?usage: tools/make_gis_data.sh <folder>}
for tool in gdal_translate ogr2ogr projinfo python3; do
  command -v "$tool" >/dev/null || { echo "make_gis_data: $tool is missing (apt-get install gdal-bin proj-bin python3)" >&2; exit 1; }
done
mkdir -p "$out"
cd "$out"

projinfo -q -o WKT2_2019 "+proj=utm +zone=14 +datum=NAD83 +units=us-ft +type=crs" >grid_crs.wkt

python3 - <<'PY'
import json, math, random

# Precipitation: wetter to the east, a ridge of extra rain, a wet or dry
# year as a whole. ESRI ASCII grids, turned into GeoTIFFs below.
west, north, step, ncol, nrow = -104.25, 41.5, 1.0 / 24.0, 168, 72
for k, year in enumerate(range(1985, 1993)):
    factor = (0.85, 1.10, 0.95, 1.20, 0.80, 1.05, 0.90, 1.15)[k]
    with open(f"ppt_{year}.asc", "w") as f:
        f.write(f"ncols {ncol}\nnrows {nrow}\nxllcorner {west}\n"
                f"yllcorner {north - nrow * step}\ncellsize {step!r}\nNODATA_value -9999\n")
        for j in range(nrow):
            lat = north - (j + 0.5) * step
            row = []
            for i in range(ncol):
                lon = west + (i + 0.5) * step
                p = (13.0 + 2.4 * (lon + 104.25) + 2.0 * math.sin(3.0 * lat)) * factor
                row.append(f"{p:.2f}")
            f.write(" ".join(row) + "\n")

# Wells of the KS group: pumping May to September 1990-1992. A few lie north
# of the model grid: vadz grid reports them.
rnd = random.Random(21)
with open("wells.csv", "w") as f:
    f.write("well_id,lon,lat,year,month,acre_ft\n")
    for w in range(120):
        lon = rnd.uniform(-101.6, -99.9)
        lat = rnd.uniform(38.85, 41.3)
        size = rnd.uniform(40.0, 160.0)
        for year in (1990, 1991, 1992):
            for month, share in ((5, 0.10), (6, 0.25), (7, 0.35), (8, 0.22), (9, 0.08)):
                f.write(f"KS{w:03d},{lon:.6f},{lat:.6f},{year},{month},{size * share:.2f}\n")

# Soils: sand in the west, loam, clay in the east, with wavy borders.
lats = [38.3 + 0.05 * k for k in range(67)]
def border(a, b, c):
    return [(a + b * math.sin(c * lat), lat) for lat in lats]
edges = [[(-104.6, lat) for lat in lats], border(-101.4, 0.3, 2.0), border(-99.2, 0.25, 3.0),
         [(-97.0, lat) for lat in lats]]
features = []
for name, (w, e) in zip(("sand", "loam", "clay"), zip(edges, edges[1:])):
    ring = w + e[::-1] + [w[0]]
    features.append({"type": "Feature", "properties": {"soil": name},
                     "geometry": {"type": "Polygon", "coordinates": [[list(p) for p in ring]]}})
with open("soils.geojson", "w") as f:
    json.dump({"type": "FeatureCollection", "features": features}, f)
PY

for y in 1985 1986 1987 1988 1989 1990 1991 1992; do
  gdal_translate -q -a_srs EPSG:4269 "ppt_$y.asc" "ppt_$y.tif"
  rm "ppt_$y.asc"
done
rm -f soils.gpkg
ogr2ogr -q -t_srs EPSG:26914 -nln soils soils.gpkg soils.geojson
rm soils.geojson
