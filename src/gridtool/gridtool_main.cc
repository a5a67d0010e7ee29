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
  try {
    int status = 0;
    if (cmd == "raster") {
      status = grid_raster(argc, argv);
    } else if (cmd == "points") {
      status = grid_points(argc, argv);
    } else if (cmd == "flags") {
      status = grid_flags(argc, argv);
    } else {
      error2("Unknown grid command (raster, points or flags):", cmd);
    }
    console_flush();
    return status;
  } catch (const Fatal& f) {
    console_write(f.line());
    console_flush();
    if (f.has_place()) diag_write(render(f.place(), "error"));
    return f.status();
  } catch (const std::bad_alloc&) {
    console_line(ConsoleLine().text("Out of memory"));
    console_flush();
    return 1;
  } catch (const std::exception& e) {
    console_line(ConsoleLine().text("Internal error: ").text(e.what()));
    console_flush();
    return 1;
  }
}

}  // namespace vadz
