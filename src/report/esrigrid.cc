#include "report/esrigrid.h"

#include "utl/console.h"
#include "utl/format.h"
#include "utl/textio.h"

namespace vadz {

void write_esri_grid(const std::string& path, const RealGrid& values, const FlagGrid& ibound,
                     std::string& buf) {
  OutFile out;
  if (!out.open(path)) error("Cannot open file " + path);
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
  for (int r = 0; r < NROW; ++r) {
    buf.clear();
    for (int c = 0; c < NCOL; ++c) {
      const int i = r * NCOL + c;
      if (c > 0) buf += ' ';
      buf.append(num, put_shortest(num, ibound[i] > 0 ? values[i] : ESRI_NODATA));
    }
    buf += "\r\n";
    out.write(buf);
  }
  out.close();
}

}  // namespace vadz
