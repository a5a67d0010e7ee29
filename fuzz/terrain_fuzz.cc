// Terrain multipliers: the rest of the TERRAIN line (LIMIT bounds) and the
// multiplier file (header, then X, Y and one multiplier per terrain zone),
// then the kriging system of the locations and an estimate per zone. The
// first byte picks the zone file: 1 modulo 8, two zones over the grid;
// otherwise "*", one zone everywhere (reading a whole flag file costs
// milliseconds, and the flag reader has a target of its own). The input's first line then stands after the three
// file names; the rest is the multiplier file. Kriging every cell and the
// plot file are left to the tests: they cost milliseconds per input.
#include "fuzz/fuzz_support.h"
#include "input/terrain.h"
#include "krige/krige.h"
#include "utl/scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  if (size == 0) return 0;
  static const std::string two_zones = [] {
    std::string s = "plains breaks\n";
    for (int r = 1; r <= NROW; ++r) {
      for (int c = 1; c <= NCOL; ++c) s += c * 2 < NCOL ? '1' : (r % 3 == 0 ? '0' : '2');
      s += '\n';
    }
    return fuzz::put_file("zones.txt", s);
  }();
  const std::string zones = data[0] % 8 == 1 ? two_zones : "*";
  std::string_view in = fuzz::as_text(data + 1, size - 1);
  const size_t nl = in.find('\n');
  const std::string mult =
      fuzz::put_file("mult.txt", nl == std::string_view::npos ? "" : in.substr(nl + 1));
  LineState ls;
  ls.line = "TERRAIN " + zones + " " + mult + " /dev/null " + std::string(in.substr(0, nl));
  linefix(ls.line);
  ls.ipos = 8;
  static TerrainData t;
  static Krig krig;
  fuzz::expect_clean([&] {
    read_terrain(ls, t);
    if (t.nz < 1 || t.nz > TERRAIN_ZONES || t.n < 0 || t.n > TERRAIN_LOCATIONS)
      fuzz::finding("terrain data out of bounds", mult);
    krigmatinv(X0, Y0, t.x.data(), t.y.data(), krig, t.n, 0);
    for (int z = 0; z < t.nz; ++z)
      evalkrige(krig, X0, Y0, t.x.data(), t.y.data(), t.mult[z].data(), xc(1 + 100 * z),
                yc(1 + 50 * z), t.n, 0);
  });
  return 0;
}
