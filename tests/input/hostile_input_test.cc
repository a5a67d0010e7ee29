// Damaged input files: every reader either reads the file or stops with its
// one console line; none crashes, hangs or reads out of bounds (the
// sanitizer build runs these too).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "input/curves.h"
#include "input/gridio.h"
#include "input/stations.h"
#include "support/testutil.h"
#include "utl/console.h"
#include "utl/paramlines.h"

namespace vadz {
namespace {

using test::TempDir;
using test::write_file;

// Deterministic byte source.
struct Bytes {
  uint64_t state;
  unsigned next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(state >> 33);
  }
  // A copy of s with a few bytes replaced, cut or doubled.
  std::string damage(std::string s) {
    const int edits = 1 + next() % 6;
    for (int k = 0; k < edits && !s.empty(); ++k) {
      const size_t at = next() % s.size();
      switch (next() % 4) {
        case 0: s[at] = static_cast<char>(next()); break;
        case 1: s.resize(at); break;
        case 2: s.insert(at, s.substr(at, next() % 64)); break;
        default: s[at] = "\n\r,\t -+.eEdD\"#"[next() % 15]; break;
      }
    }
    return s;
  }
};

// Runs fn; a fatal stop must carry one line ending in CR LF.
void survives(const std::function<void()>& fn) {
  const std::string line = test::fatal_line(fn);
  if (line.empty()) return;
  ASSERT_GE(line.size(), 3u);
  EXPECT_EQ(line[0], ' ');
  EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
  EXPECT_EQ(line.find('\n'), line.size() - 1);
}

TEST(HostileInput, GridAndFlagFiles) {
  TempDir dir;
  Bytes b{7};
  const std::string grid = test::text_grid([](int c, int r) { return c * 0.25 - r * 1e-3; });
  const std::string zoned = test::flag_file("a b \"c d\"", 1, [](int c, int r) { return (c + r) % 4; });
  const std::string plain = test::flag_file("", 2, [](int c, int) { return c % 3 - 1; });
  std::string binary(430328, '\0');
  const unsigned char head[4] = {0xF0, 0x90, 0x06, 0x00};  // 430,320
  binary.replace(0, 4, reinterpret_cast<const char*>(head), 4);
  binary.replace(430324, 4, reinterpret_cast<const char*>(head), 4);
  RealGrid g = real_grid();
  FlagGrid f = flag_grid();
  std::vector<std::string> names;
  GridReader text_reader(0), bin_reader(1);
  for (int i = 0; i < 40; ++i) {
    write_file(dir / "g.txt", b.damage(grid));
    survives([&] { text_reader.readfile(g, dir.path(), "g", "txt", 1); });
    write_file(dir / "g.bin", b.damage(binary));
    survives([&] { bin_reader.readfile(g, dir.path(), "g", "bin", 1); });
    write_file(dir / "z.txt", b.damage(zoned));
    int nz = 0;
    survives([&] { readflags(dir / "z.txt", f, names, nz, 9); });
    write_file(dir / "p.txt", b.damage(plain));
    survives([&] { readflags(dir / "p.txt", f, names, nz, 0); });
  }
}

TEST(HostileInput, StationFilesAndCurveBlocks) {
  TempDir dir;
  Bytes b{11};
  const std::string locs = "name x y\n\"st 1\" 300000 14100000\nst2 400000 14200000\nEND\n";
  const std::string precip = "year \"st 1\" st2\n1990 15.5 20.25\n1991 16 21\nEND\n";
  const std::string block = "FUNCTION table.txt 2\n0 0 0\n10 1.5 2\n20 4 6.5\nSTEADY 1990 1990 1\n";
  StationTable st;
  CurveTable ct;
  for (int i = 0; i < 60; ++i) {
    write_file(dir / "loc.txt", b.damage(locs));
    write_file(dir / "pre.txt", b.damage(precip));
    LineState ls;
    ls.line = "STATIONS " + (dir / "loc.txt") + " " + (dir / "pre.txt") + " 1";
    ls.ipos = 9;
    survives([&] { readstation(ls, st); });

    ParamLines lines(b.damage(block));
    LineState fs;
    fs.file = &lines;
    if (!lines.next(fs.line)) continue;
    fs.line = "FUNCTION " + (dir / "table.txt") + fs.line.substr(std::min<size_t>(fs.line.size(), 18));
    fs.ipos = 9;
    survives([&] { readfunction(fs, ct, 1); });
  }
}

}  // namespace
}  // namespace vadz
