#include "input/stations.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/testutil.h"
#include "utl/console.h"
#include "utl/scan.h"

namespace vadz {
namespace {

using test::TempDir;
using test::write_file;

using test::fatal_line;

// Runs readstation on a STATIONS line, as the keyword loop hands it over.
void run(const std::string& keyline, StationTable& st) {
  LineState ls;
  ls.line = keyline;
  linefix(ls.line);
  int status = 0;
  charin(ls.line, 1, ls.ipos, status);
  readstation(ls, st);
}

struct Files {
  TempDir d;
  std::string loc = d / "loc.txt";
  std::string pcp = d / "pcp.txt";
  std::string line(int drift = 1) const {
    return "STATIONS " + loc + " " + pcp + " " + std::to_string(drift);
  }
  std::string error_of(const std::string& locs, const std::string& pcps) {
    write_file(loc, locs);
    write_file(pcp, pcps);
    StationTable st;
    return fatal_line([&] { run(line(), st); });
  }
};

TEST(ReadStation, ReadsBothFiles) {
  Files f;
  write_file(f.loc, test::crlf({"name x y", "# comment", "A 100.5 200", "", "\t",
                                "\"Big Spring\" 3e5 -4 extra", "LongerThanSixteenChars 1 2",
                                "END  ", "junk line never read"}));
  write_file(f.pcp, test::crlf({"Year A \"Big Spring\" LongerThanSixtee extra",
                                "1950 10 20 30", "1910 1 2 3 more", "2150 4 5 6",
                                "1909 x y z", "2151 x y z", "# 1960 9 9 9", "1950 11 21 -31",
                                "END", "1960 7 7 7"}));
  StationTable st;
  st.pstn[MAXSTN * 40 + 3] = 99.0;  // beyond nstn: not touched
  st.hasyear[60] = true;
  run(f.line(2), st);
  EXPECT_EQ(st.nstn, 3);
  EXPECT_EQ(st.idrift, 2);
  EXPECT_EQ(st.stnx[0], 100.5);
  EXPECT_EQ(st.stny[0], 200.0);
  EXPECT_EQ(st.stnx[1], 3e5);
  EXPECT_EQ(st.stny[1], -4.0);
  const double* y1950 = st.year_values(1950);
  EXPECT_EQ(y1950[0], 11.0);
  EXPECT_EQ(y1950[1], 21.0);
  EXPECT_EQ(y1950[2], -31.0);
  EXPECT_EQ(y1950[3], 99.0);
  EXPECT_EQ(st.year_values(1910)[2], 3.0);
  EXPECT_EQ(st.year_values(2150)[0], 4.0);
  EXPECT_EQ(st.year_values(1960)[0], 0.0);
  for (int y = FIRST_YEAR; y <= LAST_YEAR; ++y)
    EXPECT_EQ(st.has_year(y), y == 1910 || y == 1950 || y == 2150) << y;
}

TEST(ReadStation, ClearsPreviousYearsAndAllowsNoStations) {
  Files f;
  StationTable st;
  write_file(f.loc, "h\nA 1 2\nB 3 4\n");
  write_file(f.pcp, "h A B\n1960 1 2\n");
  run(f.line(), st);
  EXPECT_EQ(st.year_values(1960)[1], 2.0);
  write_file(f.pcp, "h A B\n1961 1 2");
  run(f.line(), st);
  EXPECT_EQ(st.year_values(1960)[1], 0.0);
  EXPECT_FALSE(st.has_year(1960));
  EXPECT_TRUE(st.has_year(1961));
  write_file(f.loc, "header only");
  write_file(f.pcp, "anything at all");
  run(f.line(0), st);
  EXPECT_EQ(st.nstn, 0);
  EXPECT_EQ(st.idrift, 0);
}

TEST(ReadStation, StationLimit) {
  Files f;
  std::string locs = "h\n", hdr = "yr";
  for (int i = 1; i <= 128; ++i) {
    const std::string n = std::to_string(i);
    locs.append("S").append(n).append(" ").append(n).append(" 0\n");
    hdr.append(" S").append(n);
  }
  write_file(f.loc, locs);
  write_file(f.pcp, hdr + "\n2000" + std::string(128 * 2, ' ').replace(1, 1, "5") + "\n");
  StationTable st;
  EXPECT_EQ(fatal_line([&] { run(f.line(), st); }),
            " Invalid precip data 2000 5\r\n");  // 127 values missing
  std::string vals;
  for (int i = 1; i <= 128; ++i) vals.append(" ").append(std::to_string(i));
  write_file(f.pcp, hdr + "\n2000" + vals + "\n");
  run(f.line(), st);
  EXPECT_EQ(st.nstn, 128);
  EXPECT_EQ(st.stnx[127], 128.0);
  EXPECT_EQ(st.year_values(2000)[127], 128.0);
  EXPECT_EQ(f.error_of(locs + "S129 1 1\n", hdr), " Too many stations\r\n");
}

TEST(ReadStation, KeywordLineMessages) {
  Files f;
  write_file(f.loc, "h\n");
  write_file(f.pcp, "h\n");
  struct Case {
    std::string line;
    std::string out;
  } cases[] = {
      {"STATIONS  \t", " Invalid STATION location file name STATIONS\r\n"},
      {"STATIONS \"" + f.loc, " Invalid STATION location file name STATIONS \"" + f.loc + "\r\n"},
      {"STATIONS " + (f.d / "none"), " Error opening file " + (f.d / "none") + "\r\n"},
      {"STATIONS " + f.loc, " Invalid STATION precipitation file name STATIONS " + f.loc + "\r\n"},
      {"STATIONS " + f.loc + " p", " Invalid STATION drift order STATIONS " + f.loc + " p\r\n"},
      {"STATIONS " + f.loc + " p 4", " Invalid STATION drift order STATIONS " + f.loc + " p 4\r\n"},
      {"STATIONS " + f.loc + " p -1", " Invalid STATION drift order STATIONS " + f.loc + " p -1\r\n"},
      {"STATIONS " + f.loc + " p 1.", " Invalid STATION drift order STATIONS " + f.loc + " p 1.\r\n"},
      {"STATIONS " + f.loc + " " + (f.d / "none") + " 3",
       " Error opening file " + (f.d / "none") + "\r\n"},
  };
  for (const auto& k : cases) {
    StationTable st;
    EXPECT_EQ(fatal_line([&] { run(k.line, st); }), k.out) << k.line;
  }
}

TEST(ReadStation, FileMessages) {
  Files f;
  const std::string locs = "h\nA 1 2\nB 3 4\n";
  const std::string hdr = "Year A B\n";
  struct Case {
    std::string locs, pcps, out;
  } cases[] = {
      {"", hdr, " Error reading file header " + f.loc + "\r\n"},
      {locs, "", " Error reading file header " + f.pcp + "\r\n"},
      {"h\n\"A 1 2\n", hdr, " Invalid station name \"A 1 2\r\n"},
      {"h\nA\t \n", hdr, " Invalid station X A\r\n"},
      {"h\nA x 2\n", hdr, " Invalid station X A x 2\r\n"},
      {"h\nA NaN 2\n", hdr, " Invalid station X A NaN 2\r\n"},
      {"h\nA 1\n", hdr, " Invalid station Y A 1\r\n"},
      {"h\nA 1 -inf\n", hdr, " Invalid station Y A 1 -inf\r\n"},
      {"h\n END\n", hdr, " Invalid station X  END\r\n"},
      {"h\nEND x\n", hdr, " Invalid station X END x\r\n"},
      {locs, "Year B A\n", " Precip data out of order B\r\n"},
      {locs, "A B\n", " Precip data out of order B\r\n"},
      {locs, "Year A\n", " Precip data out of order\r\n"},
      {locs, "Year\tA B\n", " Precip data out of order B\r\n"},
      {locs, "Year a B\n", " Precip data out of order a\r\n"},
      // Control bytes of the echoed token show as '?', UTF-8 stays.
      {locs, "Year \x1b[2J\x07\x7f\xc3\xa9 B\n", " Precip data out of order ?[2J??\xc3\xa9\r\n"},
      {locs, hdr + "end\n", " Invalid precip year end\r\n"},
      {locs, hdr + "1950.0 1 2\n", " Invalid precip year 1950.0 1 2\r\n"},
      {locs, hdr + "1911 1\n", " Invalid precip data 1911 1\r\n"},
      {locs, hdr + "1911 1 x\n", " Invalid precip data 1911 1 x\r\n"},
      {locs, hdr + "2150 1 nan\n", " Invalid precip data 2150 1 nan\r\n"},
      {"h\nLongerThanSixteenChars 1 2\n", "Year LongerThanSixteenChars\n",
       " Precip data out of order LongerThanSixteenChars\r\n"},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(f.error_of(k.locs, k.pcps), k.out) << k.locs << "|" << k.pcps;
  }
}

}  // namespace
}  // namespace vadz
