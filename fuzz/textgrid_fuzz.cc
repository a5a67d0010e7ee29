// Text grid files: 165 rows of 326 numbers in any of the scanners' forms,
// rows wrapping over lines, blanks, tabs and single commas between values.
#include "fuzz/fuzz_support.h"
#include "input/gridio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  // One reader for every input, as a run reuses its file buffer.
  static GridReader reader(0);
  static RealGrid grid = real_grid();
  fuzz::put_file("g.txt", fuzz::as_text(data, size));
  fuzz::expect_clean([&] { reader.readfile(grid, fuzz::work_dir(), "g", "txt", 1); });
  return 0;
}
