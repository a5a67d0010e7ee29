// Parse speed of a full text grid: writes a 165 x 326 grid of values with 6
// to 8 significant digits to a temporary file and reads it repeatedly with
// GridReader::readreal. Usage: bench_gridparse [repetitions]
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "input/gridio.h"
#include "utl/console.h"

int main(int argc, char** argv) {
  using namespace vadz;
  const int reps = argc > 1 ? std::atoi(argv[1]) : 200;
  const std::string path =
      (std::filesystem::temp_directory_path() / "bench_gridparse_grid.txt").string();

  // Area and depth grids as the state offices write them: a mix of whole
  // acres, fractions and small depths.
  std::string text;
  char buf[32];
  unsigned seed = 12345;
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      seed = seed * 1103515245u + 12345u;
      double v = (seed >> 8) % 64000000 / 100000.0 + (c % 7) * 0.0001;
      int digits = 6 + static_cast<int>(seed % 3);
      std::snprintf(buf, sizeof buf, c == 1 ? "%.*g" : " %.*g", digits, v);
      text += buf;
    }
    text += '\n';
  }
  std::FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp || std::fwrite(text.data(), 1, text.size(), fp) != text.size() || std::fclose(fp)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }

  GridReader reader;
  RealGrid grid = real_grid();
  double check = 0.0;
  try {
    reader.readreal(path, grid);  // warm the buffer and the page cache
    // CPU time beside wall time: on a busy machine the wall clock also
    // counts the time the process waited for a processor.
    std::clock_t c0 = std::clock();
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) {
      reader.readreal(path, grid);
      check += grid[static_cast<size_t>(i) % grid.size()];
    }
    auto t1 = std::chrono::steady_clock::now();
    std::clock_t c1 = std::clock();
    double s = std::chrono::duration<double>(t1 - t0).count();
    double cpu = static_cast<double>(c1 - c0) / CLOCKS_PER_SEC;
    double mb = static_cast<double>(text.size()) * reps / 1.0e6;
    std::printf("file %zu bytes, %d reads: wall %.3f s (%.1f MB/s), cpu %.3f s (%.1f MB/s, "
                "%.2f ms per grid) (check %g)\n",
                text.size(), reps, s, mb / s, cpu, mb / cpu, 1000.0 * cpu / reps, check);
  } catch (const Fatal& e) {
    std::fputs(e.line().c_str(), stdout);
    std::filesystem::remove(path);
    return 1;
  }
  std::filesystem::remove(path);
  return 0;
}
