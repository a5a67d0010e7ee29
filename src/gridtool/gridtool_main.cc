#include "gridtool/gridtool_main.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string_view>

#include "gridtool/cmd_flags.h"
#include "gridtool/cmd_points.h"
#include "gridtool/cmd_raster.h"
#include "utl/console.h"

namespace vadz {

namespace {

constexpr const char* USAGE_TEXT =
    "Usage: vadz grid raster <parameter file> <raster> <output grid>\n"
    "                 --sum|--mean|--majority [--band N] [--scale F] [--fill V] [--bin]\n"
    "       vadz grid points <parameter file> <csv> <output folder> --x COL --y COL\n"
    "                 --value COL [--year COL --month COL] [--kind KIND] [--crs CRS] [--bin]\n"
    "       vadz grid flags <parameter file> <raster or vector layer> <output>\n"
    "                 [--attribute NAME] [--zones A,B,...] [--layer NAME] [--band N]\n"
    "\n"
    "Writes the grid files a run reads, on the grid of the parameter file (its\n"
    "GRID, CRS and IBOUND lines). Rasters and layers in another CRS are\n"
    "transformed into the grid's. Pixels are areas: every cell takes from each\n"
    "pixel the share of the pixel's area inside the cell.\n"
    "\n"
    "  raster --sum       conserves totals (acres, acre-feet)\n"
    "  raster --mean      area-weighted mean over the covered part (inches)\n"
    "  raster --majority  the class covering the largest area\n"
    "  --fill V           the value of cells without valid source data (without\n"
    "                     it such cells stop the command)\n"
    "  points             sums records into cells, one file per period named as\n"
    "                     the run reads them; KIND pmp (default), mi, rcg, rcs,\n"
    "                     rcc, agw, asw or aco; --crs for x, y in another CRS\n"
    "  flags              a zoned flag file by majority of a raster's classes or\n"
    "                     of a polygon layer's attribute NAME; zones in sorted\n"
    "                     order, or in the order of --zones\n"
    "Exit status: 0 when the files are written, 1 on an error.\n";

}  // namespace

int gridtool_main(int argc, const char* const* argv) {
  const std::string_view cmd = argc >= 2 ? argv[1] : "";
  if (argc < 2 || cmd == "--help" || cmd == "-h") {
    std::fputs(USAGE_TEXT, stdout);
    return argc < 2 ? 1 : 0;
  }
  return run_guarded([&] {
    if (cmd == "raster") return grid_raster(argc, argv);
    if (cmd == "points") return grid_points(argc, argv);
    if (cmd == "flags") return grid_flags(argc, argv);
    error2("Unknown grid command (raster, points or flags):", cmd);
  });
}

}  // namespace vadz
