// Flag files: the plain form (two-character fields, IBOUND) and the zoned
// form (a header naming the zones, then one- or two-character fields) as
// MOUND and GWMASK (one zone) and SOIL, BUDGET and TERRAIN (nine) read it.
// The first byte picks the form; the rest is the file.
#include "fuzz/fuzz_support.h"
#include "input/gridio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  if (size == 0) return 0;
  constexpr int MAXZONES[3] = {0, 1, 9};
  const int maxzones = MAXZONES[data[0] % 3];
  static FlagGrid flags = flag_grid();
  static std::vector<std::string> names;
  const std::string path = fuzz::put_file("f.txt", fuzz::as_text(data + 1, size - 1));
  int nzones = 0;
  fuzz::expect_clean([&] {
    readflags(path, flags, names, nzones, maxzones);
    if (maxzones == 0) return;
    if (nzones < 0 || nzones > maxzones || names.size() != static_cast<size_t>(nzones))
      fuzz::finding("zone count out of bounds", path);
    for (int32_t v : flags)
      if (v < 0 || v > nzones) fuzz::finding("zone out of range accepted", path);
  });
  return 0;
}
