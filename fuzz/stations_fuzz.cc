// Station files: the location file (header, then name, X, Y) and the
// precipitation file (header naming the stations, then a year and one
// value per station), then the kriging system the run builds from them.
// The first byte gives the drift order; the rest is the location file, a
// NUL byte, and the precipitation file.
#include "fuzz/fuzz_support.h"
#include "input/stations.h"
#include "krige/krige.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  if (size == 0) return 0;
  const int drift = data[0] % 4;
  std::string_view rest = fuzz::as_text(data + 1, size - 1);
  const size_t nul = rest.find('\0');
  const std::string loc = fuzz::put_file("loc.txt", rest.substr(0, nul));
  const std::string pcp =
      fuzz::put_file("pcp.txt", nul == std::string_view::npos ? "" : rest.substr(nul + 1));
  static StationTable st;
  static Krig krig;
  LineState ls;
  ls.line = "STATIONS " + loc + " " + pcp + " " + std::to_string(drift);
  ls.ipos = 9;
  fuzz::expect_clean([&] {
    readstation(ls, st);
    if (st.nstn < 0 || st.nstn > MAXSTN || st.idrift != drift)
      fuzz::finding("station table out of bounds", loc);
    krigmatinv(X0, Y0, st.stnx.data(), st.stny.data(), krig, st.nstn, st.idrift);
  });
  return 0;
}
