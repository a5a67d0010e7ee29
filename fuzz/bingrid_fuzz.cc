// Binary grid files: one framed record (byte count, 53,790 little-endian
// doubles, byte count), possibly longer than the grid or followed by more.
#include "fuzz/fuzz_support.h"
#include "input/gridio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  static GridReader reader(1);
  static RealGrid grid = real_grid();
  fuzz::put_file("g.bin", fuzz::as_text(data, size));
  fuzz::expect_clean([&] { reader.readfile(grid, fuzz::work_dir(), "g", "bin", 1); });
  return 0;
}
