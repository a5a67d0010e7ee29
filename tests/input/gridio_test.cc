#include "input/gridio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

using test::TempDir;
using test::write_file;

using test::fatal_line;

std::string msg(const std::string& m, const std::string& path) {
  return " " + m + " " + path + "\r\n";
}

// Values with 6 to 8 significant digits, distinct per cell.
double value(int c, int r) { return r * 1000.0 + c + 0.125 * (c % 8) - (r % 3 == 0 ? 2e5 : 0.0); }

std::string grid_text(int per_line, const std::string& sep = " ",
                      const std::string& eol = "\n") {
  std::string s;
  char buf[64];
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      std::snprintf(buf, sizeof buf, "%.17g", value(c, r));
      s += buf;
      if (c == NCOL) s += eol;
      else if (c % per_line == 0) s += eol;
      else s += sep;
    }
  }
  return s;
}

void expect_values(const RealGrid& g) {
  ASSERT_EQ(g.size(), static_cast<size_t>(NCELL));
  for (int r = 1; r <= NROW; ++r)
    for (int c = 1; c <= NCOL; ++c) ASSERT_EQ(g[cell(c, r)], value(c, r)) << c << "," << r;
}

TEST(ReadReal, OneRowPerLineAndWrappedReadTheSame) {
  TempDir d;
  const std::vector<std::string> forms = {
      grid_text(NCOL), grid_text(10), grid_text(10, ",", "\n"), grid_text(7, " , ", "\r\n"),
      grid_text(NCOL, "\t"), grid_text(3, ",", ",\n")};
  for (size_t i = 0; i < forms.size(); ++i) {
    write_file(d / "g.txt", forms[i]);
    RealGrid g = real_grid(-1.0);
    readreal(d / "g.txt", g);
    SCOPED_TRACE(i);
    expect_values(g);
  }
}

// A grid whose cells are all v except cell (1, 1), given as the text tok.
std::string one_token_grid(const std::string& tok) {
  std::string s;
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) s += (r == 1 && c == 1) ? tok : std::string(c == 1 ? "0" : " 0");
    s += "\n";
  }
  return s;
}

TEST(ReadReal, NumberForms) {
  TempDir d;
  struct Case {
    std::string tok;
    double v;
  } cases[] = {{"1.5D3", 1500.0}, {"1.5d+03", 1500.0}, {"2.5Q-1", 0.25}, {"1.5+3", 1500.0},
               {"+7", 7.0},       {"-.5", -0.5},       {"5.", 5.0},       {"1e-2", 0.01},
               {"15", 15.0},      {"-0", -0.0},
               // Tokens longer than any field: a long digit run, a padded exponent.
               {std::string(300, '1') + "D1",
                std::strtod((std::string(300, '1') + "e1").c_str(), nullptr)},
               {"1D" + std::string(79, '0'), 1.0},
               {"-" + std::string(118, '0') + "8", -8.0}};
  for (const auto& k : cases) {
    write_file(d / "g.txt", one_token_grid(k.tok));
    RealGrid g = real_grid(9.0);
    readreal(d / "g.txt", g);
    EXPECT_EQ(g[0], k.v) << k.tok;
    EXPECT_EQ(g[1], 0.0);
  }
}

// Every cell must be the correctly rounded value of its token, whatever
// path parses it: short tokens, 17 to 20 significant digits, exponents.
TEST(ReadReal, ValuesAreCorrectlyRounded) {
  TempDir d;
  std::vector<std::string> toks;
  std::string s;
  unsigned seed = 7;
  char buf[64];
  for (int i = 0; i < NCELL; ++i) {
    seed = seed * 1103515245u + 12345u;
    int digits = 1 + static_cast<int>(seed >> 8) % 20;
    int ex = static_cast<int>(seed >> 16) % 60 - 30;
    double v = ((seed >> 4) % 100000007) * std::pow(10.0, ex) / 3.0;
    std::snprintf(buf, sizeof buf, (seed & 1) ? "%.*e" : "%.*g", digits, (seed & 2) ? -v : v);
    toks.push_back(buf);
    s += buf;
    s += (i + 1) % NCOL == 0 ? "\n" : " ";
  }
  write_file(d / "g.txt", s);
  RealGrid g = real_grid();
  readreal(d / "g.txt", g);
  for (int i = 0; i < NCELL; ++i) ASSERT_EQ(g[i], std::strtod(toks[i].c_str(), nullptr)) << toks[i];
}

TEST(ReadReal, RestOfRowLineAndLinesAfterLastRowIgnored) {
  TempDir d;
  std::string s;
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) s += std::to_string(r) + " ";
    s += "junk, ,, x\n";
  }
  s += "more junk\n";
  write_file(d / "g.txt", s);
  RealGrid g = real_grid();
  readreal(d / "g.txt", g);
  EXPECT_EQ(g[cell(326, 1)], 1.0);
  EXPECT_EQ(g[cell(1, 2)], 2.0);
  EXPECT_EQ(g[cell(326, 165)], 165.0);
}

TEST(ReadReal, LastRowWithoutLineEnd) {
  TempDir d;
  std::string s = grid_text(NCOL);
  s.pop_back();
  write_file(d / "g.txt", s);
  RealGrid g = real_grid();
  readreal(d / "g.txt", g);
  expect_values(g);
}

TEST(ReadReal, BadFilesStopWithErrorReadingFile) {
  TempDir d;
  std::string full = grid_text(NCOL);
  std::string cut = full.substr(0, full.rfind('\n', full.size() - 2) + 1);  // 164 rows
  std::string halfrow = full.substr(0, full.size() - 20);
  auto with = [&](const std::string& tok) { return one_token_grid(tok); };
  std::string dbl = one_token_grid("1");
  dbl.insert(1, ",,");  // "1,, 0 0 ..." : a null value
  std::string spaced = one_token_grid("1");
  spaced.insert(1, " , , ");
  std::string lead = one_token_grid(",1");
  const std::vector<std::string> bad = {"",         cut,         halfrow,      with("abc"),
                                        with("1x"), with("NaN"), with("-Inf"), with("1e999"),
                                        with("1,5.0.0"), dbl,     spaced,       lead,
                                        with("1e99999999999999999999"), with("-"), with(".")};
  for (size_t i = 0; i < bad.size(); ++i) {
    write_file(d / "g.txt", bad[i]);
    RealGrid g = real_grid();
    EXPECT_EQ(fatal_line([&] { readreal(d / "g.txt   ", g); }),
              msg("Error reading file", d / "g.txt"))
        << i;
  }
}

TEST(ReadReal, OpenAndHeaderFailures) {
  TempDir d;
  RealGrid g = real_grid();
  EXPECT_EQ(fatal_line([&] { readreal(d / "none.txt", g); }),
            msg("Error opening file", d / "none.txt"));
  write_file(d / "h.txt", "header only\n");
  EXPECT_EQ(fatal_line([&] { readreal(d / "h.txt", g, 2); }),
            msg("Error reading file header", d / "h.txt"));
  write_file(d / "h.txt", "header\n" + grid_text(NCOL));
  readreal(d / "h.txt", g, 1);
  expect_values(g);
}

TEST(ReadFile, MissingOptionalGridIsZeroAndMustExistStops) {
  TempDir d;
  for (int ibin = 0; ibin <= 1; ++ibin) {
    GridReader rd(ibin);
    RealGrid g = real_grid(7.0);
    rd.readfile(g, d.path() + "   ", "1950", "agw", 0);
    for (double v : g) ASSERT_EQ(v, 0.0);
    EXPECT_EQ(fatal_line([&] { rd.readfile(g, d.path() + "  ", "1950.03", "pmp", 1); }),
              " File does not exist " + d.path() + "/1950.03.pmp\r\n");
  }
}

TEST(ReadFile, TextForm) {
  TempDir d;
  write_file(d / "1960.agw", grid_text(10));
  GridReader rd;
  RealGrid g = real_grid();
  rd.readfile(g, d.path(), "1960", "agw", 1);
  expect_values(g);
  write_file(d / "1961.agw", "1 2 3\n");
  EXPECT_EQ(fatal_line([&] { rd.readfile(g, d.path(), "1961", "agw", 0); }),
            msg("Error reading file", d / "1961.agw"));
}

// A framed record: byte count, data, byte count (little-endian int32).
std::string record(const std::string& data, int32_t count) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((static_cast<uint32_t>(count) >> (8 * i)) & 0xff);
  return s + data + s;
}

std::string grid_bytes(int ncell) {
  std::string s;
  for (int i = 0; i < ncell; ++i) {
    double v = value(i % NCOL + 1, i / NCOL + 1);
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int k = 0; k < 8; ++k) s += static_cast<char>((u >> (8 * k)) & 0xff);
  }
  return s;
}

TEST(ReadFile, BinaryRecords) {
  TempDir d;
  const std::string data = grid_bytes(NCELL);
  const int32_t n = static_cast<int32_t>(data.size());
  ASSERT_EQ(n, 430320);
  const std::vector<std::string> good = {
      record(data, n),                                           // exact
      record(data + std::string(16, 'x'), n + 16),               // longer record
      record(data, n) + record(std::string(8, '\0'), 8),         // second record
  };
  GridReader rd(1);
  for (size_t i = 0; i < good.size(); ++i) {
    write_file(d / "1970.rcg", good[i]);
    RealGrid g = real_grid();
    rd.readfile(g, d.path(), "1970", "rcg", 1);
    SCOPED_TRACE(i);
    expect_values(g);
  }
  std::string nan = data;
  std::memcpy(&nan[8 * 1000], "\0\0\0\0\0\0\xf8\x7f", 8);
  std::string inf = data;
  std::memcpy(&inf[8 * 53789], "\0\0\0\0\0\0\xf0\xff", 8);
  std::string shortrec = data.substr(0, 430312);
  const std::vector<std::string> bad = {
      "",
      std::string(3, '\0'),
      record(shortrec, 430312),
      record(data, n).substr(0, 430000),           // file ends inside the record
      record(data, n).substr(0, 430324),           // closing count missing
      record(data, -8),                            // negative count
      record(data, 0x7fffffff),                    // count beyond the file
      record(nan, n),
      record(inf, n),
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    write_file(d / "1970.rcg", bad[i]);
    RealGrid g = real_grid();
    EXPECT_EQ(fatal_line([&] { rd.readfile(g, d.path(), "1970", "rcg", 0); }),
              " Cannot read file " + d.path() + "/1970.rcg\r\n")
        << i;
  }
}

TEST(ReadFlags, StarIsOneZoneEverywhere) {
  for (int maxz : {0, 1, 9}) {
    FlagGrid f = flag_grid(5);
    std::vector<std::string> names = {"a", "b"};
    int nz = 0;
    readflags("*   ", f, names, nz, maxz);
    EXPECT_EQ(nz, 1);
    EXPECT_EQ(names, std::vector<std::string>{"*"});
    for (int32_t v : f) ASSERT_EQ(v, 1);
  }
}

TEST(ReadFlags, PlainFields) {
  TempDir d;
  std::string s;
  for (int r = 1; r <= NROW; ++r) {
    std::string line;
    for (int c = 1; c <= NCOL; ++c) {
      int v = (c + r) % 4;
      const char digit = static_cast<char>('0' + v);
      if (v == 3) line += "-1";
      else if (c % 2) (line += ' ') += digit;  // right-aligned
      else (line += digit) += ' ';             // left-aligned
    }
    if (r == 2) line = "1 2";                   // short: the rest 0
    if (r == 3) line += "zz  garbage";          // beyond column 652 ignored
    s += line + (r % 2 ? "\r\n" : "\n");
  }
  write_file(d / "ib.txt", s);
  FlagGrid f = flag_grid(9);
  std::vector<std::string> names = {"keep"};
  int nz = 42;
  readflags(d / "ib.txt", f, names, nz, 0);
  EXPECT_EQ(nz, 42);
  EXPECT_EQ(names, std::vector<std::string>{"keep"});
  for (int r = 1; r <= NROW; ++r)
    for (int c = 1; c <= NCOL; ++c) {
      int v = (c + r) % 4;
      int want = r == 2 ? (c == 1 ? 1 : c == 2 ? 2 : 0) : v == 3 ? -1 : v;
      ASSERT_EQ(f[cell(c, r)], want) << c << "," << r;
    }
}

TEST(ReadFlags, PlainFailures) {
  TempDir d;
  std::string ok = test::flag_file("", 2, [](int, int) { return 1; });
  std::string letter = ok;
  letter[10] = 'x';
  std::string high = ok;
  high[3] = static_cast<char>(0xC8);
  std::string tab = ok;
  tab[4] = '\t';
  std::string sign = ok;
  sign[2] = '-';  // "-1" fine, but " -" has no digit
  sign[3] = ' ';
  std::string shortf = ok.substr(0, ok.size() - 653);
  const std::vector<std::string> bad = {"", letter, high, tab, sign, shortf, "1-\n" + ok};
  for (size_t i = 0; i < bad.size(); ++i) {
    write_file(d / "ib.txt", bad[i]);
    FlagGrid f = flag_grid();
    std::vector<std::string> names;
    int nz = 0;
    EXPECT_EQ(fatal_line([&] { readflags(d / "ib.txt", f, names, nz, 0); }),
              msg("Error reading file", d / "ib.txt"))
        << i;
  }
  FlagGrid f = flag_grid();
  std::vector<std::string> names;
  int nz = 0;
  EXPECT_EQ(fatal_line([&] { readflags(d / "no.txt", f, names, nz, 0); }),
            msg("Error opening file", d / "no.txt"));
}

TEST(ReadFlags, ZonedNineNamesOneCharacterFields) {
  TempDir d;
  write_file(d / "soil.txt",
             test::flag_file("a b \"c d\" eeeeeeeeeeeeeeeeeeeeee f\tg h i j k",
                             1, [](int c, int r) { return (c * r) % 10; }));
  FlagGrid f = flag_grid();
  std::vector<std::string> names;
  int nz = 0;
  readflags(d / "soil.txt", f, names, nz, 9);
  EXPECT_EQ(nz, 9);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c d", "eeeeeeeeeeeeeeee", "f\tg", "h",
                                             "i", "j", "k"}));
  for (int r = 1; r <= NROW; ++r)
    for (int c = 1; c <= NCOL; ++c) ASSERT_EQ(f[cell(c, r)], (c * r) % 10);
}

TEST(ReadFlags, ZonedTenNamesTwoCharacterFields) {
  TempDir d;
  write_file(d / "z.txt", test::flag_file("1 2 3 4 5 6 7 8 9 10", 2,
                                          [](int c, int r) { return (c + r) % 11; }));
  FlagGrid f = flag_grid();
  std::vector<std::string> names;
  int nz = 0;
  readflags(d / "z.txt", f, names, nz, 10);
  EXPECT_EQ(nz, 10);
  EXPECT_EQ(f[cell(9, 1)], 10);
  EXPECT_EQ(f[cell(326, 165)], (326 + 165) % 11);
}

TEST(ReadFlags, HeaderReadOverItsFirst256Characters) {
  TempDir d;
  std::string header = "one" + std::string(251, ' ') + "twothree";  // cut after "tw"
  write_file(d / "z.txt", test::flag_file(header, 1, [](int, int) { return 2; }));
  FlagGrid f = flag_grid();
  std::vector<std::string> names;
  int nz = 0;
  readflags(d / "z.txt", f, names, nz, 9);
  EXPECT_EQ(names, (std::vector<std::string>{"one", "tw"}));
}

TEST(ReadFlags, ZonedEmptyHeaderMeansNoZones) {
  TempDir d;
  std::string zeros = "\n" + test::flag_file("", 1, [](int, int) { return 0; });
  write_file(d / "z.txt", zeros);
  FlagGrid f = flag_grid(4);
  std::vector<std::string> names = {"old"};
  int nz = 3;
  readflags(d / "z.txt", f, names, nz, 9);
  EXPECT_EQ(nz, 0);
  EXPECT_TRUE(names.empty());
  for (int32_t v : f) ASSERT_EQ(v, 0);
  write_file(d / "z.txt", "\n" + test::flag_file("", 1, [](int c, int) { return c == 5; }));
  EXPECT_EQ(fatal_line([&] { readflags(d / "z.txt", f, names, nz, 9); }),
            msg("Zone out of range in file", d / "z.txt"));
}

TEST(ReadFlags, ZonedFailures) {
  TempDir d;
  struct Case {
    std::string content;
    int maxz;
    std::string message;
  } cases[] = {
      {test::flag_file("in out", 1, [](int, int) { return 0; }), 1, "Too many zones in"},
      {test::flag_file("a b", 1, [](int c, int r) { return c == 326 && r == 165 ? 3 : 2; }), 9,
       "Zone out of range in file"},
      {test::flag_file("a b", 1, [](int, int) { return 0; }).replace(4, 1, "-"), 9,
       "Error reading file"},
      {"", 1, "Error reading file header"},
      {"mound\n1\n", 1, "Error reading file"},
      {"mound\r\n" + std::string(326, '1') + "\r\n", 1, "Error reading file"},
  };
  for (const auto& k : cases) {
    write_file(d / "m.txt", k.content);
    FlagGrid f = flag_grid();
    std::vector<std::string> names;
    int nz = 0;
    EXPECT_EQ(fatal_line([&] { readflags(d / "m.txt", f, names, nz, k.maxz); }),
              msg(k.message, d / "m.txt"));
  }
}

TEST(ReadFlags, ZoneEqualToCountAcceptedWithCrlf) {
  TempDir d;
  std::string s = "mound\r\n";
  for (int r = 1; r <= NROW; ++r) s += std::string(NCOL, r == 7 ? '1' : '0') + "\r\n";
  write_file(d / "m.txt", s);
  FlagGrid f = flag_grid();
  std::vector<std::string> names;
  int nz = 0;
  readflags(d / "m.txt", f, names, nz, 1);
  EXPECT_EQ(nz, 1);
  EXPECT_EQ(names, std::vector<std::string>{"mound"});
  EXPECT_EQ(f[cell(200, 7)], 1);
  EXPECT_EQ(f[cell(200, 8)], 0);
}

}  // namespace
}  // namespace vadz
