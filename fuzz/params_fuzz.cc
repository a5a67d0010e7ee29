// The parameter file: keyword lines, their tokens and numbers, the blocks
// read from it (FUNCTION) and the checks after the last line. Files it
// names are looked for in the work folder, which holds none but the input:
// the readers of grid, flag, station and terrain files have targets of
// their own. Slashes become underscores, so no name reaches outside.
#include <unistd.h>


#include "fuzz/fuzz_support.h"
#include "run/params.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vadz;
  // Relative names are looked for in the work folder.
  static const bool entered = chdir(fuzz::work_dir().c_str()) == 0;
  if (!entered) fuzz::finding("cannot enter the work folder", fuzz::work_dir());
  std::string text(fuzz::as_text(data, size));
  for (char& ch : text)
    if (ch == '/' || ch == '\\') ch = '_';
  const std::string path = fuzz::put_file("vadz.par", text);
  const char* argv[] = {"vadz", path.c_str()};
  // A fresh configuration per input, copied into storage allocated once.
  static const RunConfig fresh;
  static const Krig fresh_krig;
  static RunConfig cfg;
  static Krig krig;
  cfg = fresh;
  krig = fresh_krig;
  fuzz::expect_clean([&] { read_parameters(2, argv, cfg, krig); });
  // FUNCTION writes its table under the name the input gives: clear the
  // folder now and then.
  static unsigned runs = 0;
  if (++runs % 4096 == 0) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(fuzz::work_dir(), ec))
      std::filesystem::remove_all(e.path(), ec);
  }
  return 0;
}
