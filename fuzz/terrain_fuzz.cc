// Terrain multipliers: the rest of the TERRAIN line (LIMIT bounds) and the
// multiplier file (header, then X, Y and a multiplier per terrain zone),
// then the kriging system of the locations and an estimate. The input's
// first line stands after the three file names; the rest is the multiplier
// file. The zone file is "*", one zone everywhere: reading a whole flag file
// costs milliseconds, and the flag reader has a target of its own. Kriging
// every cell and the plot file are left to the tests for the same reason.
#include "fuzz/fuzz_support.h"
#include "input/terrain.h"
#include "krige/krige.h"
#include "utl/scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  std::string_view in = fuzz::as_text(data, size);
  const size_t nl = in.find('\n');
  const std::string mult =
      fuzz::put_file("mult.txt", nl == std::string_view::npos ? "" : in.substr(nl + 1));
  LineState ls;
  ls.line = "TERRAIN * " + mult + " /dev/null " + std::string(in.substr(0, nl));
  linefix(ls.line);
  ls.ipos = 8;
  static TerrainData t;
  static Krig krig;
  fuzz::expect_clean([&] {
    read_terrain(ls, t);
    if (t.nz != 1 || t.n < 0 || t.n > TERRAIN_LOCATIONS)
      fuzz::finding("terrain data out of bounds", mult);
    krigmatinv(X0, Y0, t.x.data(), t.y.data(), krig, t.n, 0);
    const double v = evalkrige(krig, X0, Y0, t.x.data(), t.y.data(), t.mult[0].data(), xc(100),
                               yc(50), t.n, 0);
    (void)v;
  });
  return 0;
}
