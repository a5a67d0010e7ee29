#include "report/esrigrid.h"

#include <algorithm>
#include <cmath>

#include "utl/console.h"
#include "utl/format.h"
#include "utl/textio.h"

namespace vadz {

namespace {

// With a CRS, the .prj a GIS reads beside the grid: the CRS as ESRI WKT1 on
// one line without a line end, as GDAL writes it.
void write_prj(Staging& staged, const std::string& asc_path) {
  const std::string& wkt = model_grid().crs_wkt;
  if (wkt.empty()) return;
  const size_t dot = asc_path.rfind('.');
  const std::string path = asc_path.substr(0, dot) + ".prj";
  OutFile out;
  if (!staged.open(out, path)) error("Cannot open file " + path);
  out.write(wkt);
  out.close();
}

}  // namespace

void write_esri_grid(Staging& staged, const std::string& path, const RealGrid& values,
                     const FlagGrid& ibound, std::string& buf) {
  OutFile out;
  if (!staged.open(out, path)) error("Cannot open file " + path);
  buf.clear();
  char num[SHORTEST_MAX];
  auto key = [&](const char* name, double v) {
    buf += name;
    buf += ' ';
    buf.append(num, put_shortest(num, v));
    buf += "\r\n";
  };
  key("ncols", NCOL);
  key("nrows", NROW);
  key("xllcorner", X0);
  key("yllcorner", Y0);
  key("cellsize", CELL);
  key("NODATA_value", ESRI_NODATA);
  out.write(buf);
  // A row's values straight into the buffer: at most SHORTEST_MAX characters
  // and a blank each. Exact zeros (most cells of the pumping grids) and
  // NODATA are the common short cases.
  buf.resize(NCOL * (SHORTEST_MAX + 1) + 2);
  for (int r = 0; r < NROW; ++r) {
    char* const start = buf.data();
    char* p = start;
    for (int c = 0; c < NCOL; ++c) {
      const int i = r * NCOL + c;
      if (c > 0) *p++ = ' ';
      const double v = values[i];
      if (ibound[i] <= 0) {
        p = std::copy_n("-9999", 5, p);
      } else if (v == 0 && !std::signbit(v)) {
        *p++ = '0';
      } else {
        p = put_shortest(p, v);
      }
    }
    *p++ = '\r';
    *p++ = '\n';
    out.write(start, p - start);
  }
  out.close();
  write_prj(staged, path);
}

}  // namespace vadz
