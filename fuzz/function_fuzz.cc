// The FUNCTION block of the parameter file: the rest of the keyword line
// (spline type) and the curve data lines after it, fitted and tabulated.
// The first byte gives the number of soils (1..9); the rest is the block,
// its first line standing after "FUNCTION <table file>".
#include "fuzz/fuzz_support.h"
#include "input/curves.h"
#include "utl/paramlines.h"
#include "utl/scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  if (size == 0) return 0;
  const int nsoil = 1 + data[0] % 9;
  ParamLines lines{std::string(fuzz::as_text(data + 1, size - 1))};
  LineState ls;
  ls.file = &lines;
  std::string first;
  if (!lines.next(first)) return 0;
  // The table goes nowhere: the input does not name files.
  ls.line = "FUNCTION /dev/null " + first;
  linefix(ls.line);
  ls.ipos = 9;
  static CurveTable table;
  fuzz::expect_clean([&] {
    readfunction(ls, table, nsoil);
    if (table.ncurv < 1 || table.ncurv > MAXCURV) fuzz::finding("curve table out of bounds", "");
  });
  return 0;
}
