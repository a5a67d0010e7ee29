// The input check's value checks on a small basin of its own: each case
// makes one mistake a new user made (or one of the same kind) and compares
// the whole of what --check prints.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/basin.h"
#include "support/testutil.h"

namespace vadz {
namespace {

using test::Files;

// Replaces the first `from` in a file of the basin with `to`.
void edit(Files& f, const std::string& name, const std::string& from, const std::string& to) {
  std::string& text = f.at(name);
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << name << ": " << from;
  text.replace(at, from.size(), to);
}

struct Case {
  const char* name;
  std::function<void(Files&)> mistake;
  int status;
  enum { NONE, BASIN, WITH_PRISM } inventory;  // the inventory the output starts with
  std::vector<std::string> lines;  // every line after it
};

// The inventory of the basin's grid files: KS irrigates 1990-1991 and pumps
// in July; nothing else is there but, with PRISM, the four years' grids.
std::string basin_inventory(bool prism) {
  std::vector<std::string> l{prism ? "Grid files the run reads: 12 present (1.5 MB), 319 absent"
                                   : "Grid files the run reads: 8 present (0.9 MB), 319 absent",
                             "  kind files      MB  present                 absent"};
  const char* none = "     0     0.0  -                       ";
  for (const char* g : {"CO: folder co", "KS: folder ks", "NE: folder ne"}) {
    const bool ks = g[0] == 'K';
    l.push_back(g);
    for (const char* k : {"agw", "asw", "aco"})
      l.push_back(std::string("  ") + k + (ks ? "      2     0.2  1990-1991               -"
                                              : std::string(" ") + none + "1990-1991"));
    l.push_back(std::string("  mi  ") + none + "steady, 1990-1991");
    l.push_back(ks ? "  pmp      2     0.2  1990-1991 (07)          steady, 1990-1991 (01-06,08-12)"
                   : std::string("  pmp ") + none + "steady, 1990-1991");
    for (const char* k : {"rcg", "rcs", "rcc"}) l.push_back(std::string("  ") + k + " " + none + "steady, 1990-1991");
  }
  if (prism) {
    l.insert(l.begin(), " PRISMpath=prism");
    l.push_back("PRISM: folder prism");
    l.push_back("  grd      4     0.6  1988-1991               -");
  }
  return test::crlf(l);
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class CheckValuesE2E : public ::testing::TestWithParam<Case> {};

TEST_P(CheckValuesE2E, Reports) {
  const Case& c = GetParam();
  Files files = test::small_basin();
  if (c.mistake) c.mistake(files);
  test::TempDir dir;
  test::write_files(dir.path(), files);
  const test::RunResult r = test::run_vadz(dir.path(), {"--check", "basin.par"});
  EXPECT_EQ(r.out, (c.inventory == Case::NONE ? "" : basin_inventory(c.inventory == Case::WITH_PRISM)) +
                       test::crlf(c.lines));
  EXPECT_EQ(r.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, CheckValuesE2E,
    ::testing::Values(
        Case{"none", nullptr, 0, Case::BASIN,
             {"0 errors, 0 warnings"}},
        Case{"station_missing_value_code",
             [](Files& f) { edit(f, "precip.txt", "1990 18.3 20.2", "1990 18.3 -99"); }, 1, Case::BASIN,
             {"precip.txt:4:11: warning: -99 looks like a missing-value code: 1 station value of that kind",
              "  note: McCook 1990: -99",
              "hint: a missing value is kriged as that many inches: fill it (from a nearby station) or leave the station out",
              "year 1990, row 79, column 159 (1102903, 14549526): error: negative precipitation -97.13 inches, the lowest of 2,238 such values in 1990 (kriged from the stations)",
              "  note: nearest stations in 1990: McCook -99.00 at 0.6 miles, Oberlin 19.50 at 25.8 miles, Colby 18.30 at 30.5 miles",
              "  note: the run stops at the first: year 1990, row 60, column 130 (949783, 14649846), -1.53 inches",
              "hint: McCook has -99 in 1990 in precip.txt: a missing-value code is read as precipitation; fill the gap",
              "year 1990, row 100, column 220 (1424983, 14438646): error: precipitation 50.99 inches beyond the recharge curves, which end at P = 40.0, the highest of 152 such values in 1990 (kriged from the stations)",
              "  note: nearest stations in 1990: Hays 23.40 at 26.4 miles, Goodland 21.70 at 34.7 miles, McCook -99.00 at 65.1 miles",
              "hint: McCook has -99 in 1990 in precip.txt: a missing-value code is read as precipitation; fill the gap",
              "2 errors, 1 warning"}},
        Case{"station_coordinates_in_degrees",
             [](Files& f) {
               f["stations.txt"] =
                   "name lon lat\nColby -101.05 39.40\nMcCook -100.63 40.20\nHays -99.33 38.88\n"
                   "Oberlin -100.53 39.82\nGoodland -101.71 39.35\n";
             },
             1, Case::BASIN,
             {"stations.txt:2:7: warning: 5 stations lie outside the model grid (266,023 to 1,987,303 east, 14,092,806 to 14,964,006 north, feet)",
              "  note: Colby (-101.05, 39.4), McCook (-100.63, 40.2), Hays (-99.33, 38.88), Oberlin (-100.53, 39.82), Goodland (-101.71, 39.35)",
              "hint: these look like degrees (longitude, latitude): X and Y are feet on the model's plane",
              "year 1990, row 60, column 120 (896983, 14649846): error: negative precipitation -14,639,497.66 inches, the lowest of 16,564 such values in 1988-1991 (kriged from the stations)",
              "  note: nearest stations in 1990: McCook 20.20 at 2779.8 miles, Oberlin 19.50 at 2779.8 miles, Colby 18.30 at 2779.8 miles",
              "  note: the run stops at the first: year 1988, row 60, column 120 (896983, 14649846), -8,855,199.95 inches",
              "hint: the station coordinates in stations.txt look like degrees (longitude, latitude): X and Y are feet on the model's plane",
              "1 error, 1 warning"}},
        Case{"curves_end_below_the_precipitation",
             [](Files& f) {
               edit(f, "basin.par", "40  5.0 8.0   2.5 4.5\n", "25  1.5 3.4   0.7 1.8\n");
               edit(f, "precip.txt", "1990 18.3 20.2 23.4", "1990 18.3 20.2 28.0");
               edit(f, "precip.txt", "1989 15.9 18.8 21.0", "1989 15.9 18.8 25.2");
             },
             1, Case::BASIN,
             {"year 1990, row 100, column 220 (1424983, 14438646): error: precipitation 29.54 inches beyond the recharge curves, which end at P = 25.0, the highest of 1,267 such values in 1989-1990 (kriged from the stations)",
              "  note: nearest stations in 1990: Hays 28.00 at 26.4 miles, Goodland 21.70 at 34.7 miles, McCook 20.20 at 65.1 miles",
              "  note: the run stops at the first: year 1989, row 88, column 196 (1298263, 14502006), 25.07 inches",
              "hint: extend the FUNCTION block to a P of at least 29.54 inches",
              "1 error, 0 warnings"}},
        Case{"ibound_one_character_per_cell",
             [](Files& f) {
               f["ibound.txt"] = test::flag_file("", 1, [](int c, int r) { return test::in_basin(c, r) ? 1 : 0; });
             },
             0, Case::BASIN,
             // The pumping of a cell east of the squeezed rows falls outside the active area.
             {"ks/1990.*: warning: state group KS, 1990: 120.0 acre-feet of pumping fall in 1 cell outside the active area (IBOUND 0 or below), which the model never receives",
              "  note: groundwater irrigation pumping 120.0 acre-feet",
              "  note: the first at row 80, column 155",
              "hint: move the wells and returns into active cells or make the cells active in IBOUND; the MODFLOW 6 well list leaves such wells out and MODFLOW-2005 ignores them",
              "ks/1991.*: warning: state group KS, 1991: 120.0 acre-feet of pumping fall in 1 cell outside the active area (IBOUND 0 or below), which the model never receives",
              "  note: groundwater irrigation pumping 120.0 acre-feet",
              "  note: the first at row 80, column 155",
              "hint: move the wells and returns into active cells or make the cells active in IBOUND; the MODFLOW 6 well list leaves such wells out and MODFLOW-2005 ignores them",
              "ibound.txt:1:1: warning: the longest line holds 326 characters, half the 652 of a row (326 fields of 2 characters)",
              "  note: each row reads as its cells' values squeezed into the western half; the eastern half is 0",
              "hint: write each cell's value right-aligned in 2 characters",
              "warning: 2,091 active cells have no soil: the run warns 'Missing soil type' for each and takes precipitation itself as the recharge",
              "  note: the first: row 60, column 60 (580183, 14649846); row 60, column 61 (585463, 14649846); row 60, column 62 (590743, 14649846); row 60, column 63 (596023, 14649846); row 60, column 64 (601303, 14649846)",
              "hint: the SOIL file gives each active cell a soil number from 1",
              "0 errors, 4 warnings (2,093 cells)"}},
        Case{"station_name_in_another_case",
             [](Files& f) { edit(f, "precip.txt", "McCook", "Mccook"); }, 1, Case::BASIN,
             {"precip.txt:1:12: error: Precip data out of order Mccook",
              "  note: station 2 of stations.txt is 'McCook'",
              "hint: the names differ only in case: station names are matched as written; write McCook in both files",
              "1 error, 0 warnings"}},
        Case{"station_year_missing",
             [](Files& f) { edit(f, "precip.txt", "1989 15.9 18.8 21.0 17.1 19.9\n", ""); }, 1, Case::BASIN,
             {"precip.txt: error: No precip data for year 1989",
              "  note: the file's data lines run from 1988 to 1991 and lack 1989",
              "1 error, 0 warnings"}},
        Case{"acres_beyond_the_cell",
             [](Files& f) {
               f["ks/1991.agw"] = test::text_grid([](int c, int r) { return r == 80 && c >= 150 && c <= 160 ? (c == 152 ? 640.0 : 200.0) : 0.0; });
               f["ks/1991.asw"] = test::text_grid([](int c, int r) { return r == 80 && c >= 150 && c <= 160 ? 200.0 : 0.0; });
               f["ks/1991.aco"] = test::text_grid([](int c, int r) { return r == 80 && c >= 150 && c <= 160 ? 120.0 : 0.0; });
             },
             0, Case::BASIN,
             {"year 1991, row 80, column 152 (1065943, 14544246): warning: KS: agw + asw + aco above 640 acres in 1 active cell (1991), the most 960.00 acres",
              "  note: here 640 in ks/1991.agw + 200 in .asw + 120 in .aco",
              "hint: a cell is one square mile (640 acres): the run takes the cell as wholly irrigated",
              "0 errors, 1 warning (1 cell)"}},
        Case{"grid_missing_value_code",
             [](Files& f) {
               f["ks/1990.07.pmp"] = test::text_grid([](int c, int r) { return r == 80 && c == 155 ? -9999.0 : 0.0; });
             },
             0, Case::BASIN,
             {"ks/*.pmp: warning: -9999 looks like a missing-value code: 1 value of that kind in 1990 (07)",
              "  note: the first in ks/1990.07.pmp at row 80, column 155 (1081783, 14544246)",
              "hint: a missing value reads as that number: write 0 where there is nothing",
              "0 errors, 1 warning (1 cell)"}},
        Case{"prism_grid_missing_value_code",
             [](Files& f) {
               f.at("basin.par") += "PRISM prism\n";
               for (int y = 1988; y <= 1991; ++y)
                 f["prism/" + std::to_string(y) + ".grd"] = test::text_grid([y](int c, int r) {
                   return y == 1990 && r == 70 && c == 130 ? -9999.0 : 20.0;
                 });
             },
             1, Case::WITH_PRISM,
             {"prism/*.grd: warning: -9999 looks like a missing-value code: 1 value of that kind in 1990",
              "  note: the first in prism/1990.grd at row 70, column 130 (949783, 14597046)",
              "hint: a missing value reads as that number: write 0 where there is nothing",
              "year 1990, row 70, column 130 (949783, 14597046): error: negative precipitation -9,999.00 inches, the lowest of 1 such value in 1990",
              "  note: in prism/1990.grd",
              "  note: the run stops at the first: year 1990, row 70, column 130 (949783, 14597046), -9,999.00 inches",
              "hint: -9999 looks like a missing-value code in prism/1990.grd",
              "1 error, 1 warning (1 cell)"}},
        Case{"soil_file_twice_as_wide",
             [](Files& f) {
               f["soil.txt"] = test::flag_file("sand loam", 2, [](int c, int r) {
                 return test::in_basin(c, r) ? (c <= 170 ? 1 : 2) : 0;
               });
             },
             0, Case::BASIN,
             {"soil.txt:2:1: warning: the longest line holds 652 characters, twice the 326 of a row (326 fields of 1 character)",
              "  note: each row reads the western half of its line; the rest is not read",
              "hint: write each cell's value right-aligned in 1 character",
              "warning: 4,141 active cells have no soil: the run warns 'Missing soil type' for each and takes precipitation itself as the recharge",
              "  note: the first: row 60, column 120 (896983, 14649846); row 60, column 121 (902263, 14649846); row 60, column 122 (907543, 14649846); row 60, column 123 (912823, 14649846); row 60, column 124 (918103, 14649846)",
              "hint: the SOIL file gives each active cell a soil number from 1",
              "0 errors, 2 warnings (4,141 cells)"}},
        Case{"comment_on_a_keyword_line",
             [](Files& f) { edit(f, "basin.par", "RECHARGE basin.rch\n", "RECHARGE basin.rch   # total recharge\n"); },
             0, Case::BASIN,
             {"basin.par:13:22: warning: RECHARGE reads the words of '# total recharge' as its values",
              "hint: the words after a keyword are its values: a comment must be a line of its own, with '#' in the first column",
              "0 errors, 1 warning"}},
        Case{"words_after_the_last_value",
             [](Files& f) { edit(f, "basin.par", "STEADY 1988 1989 1.0\n", "STEADY 1988 1989 1.0 mean\n"); },
             0, Case::BASIN,
             {"basin.par:10:22: warning: words after the last value of STEADY are not read: 'mean'",
              "0 errors, 1 warning"}},
        Case{"indented_comment_in_function_block",
             [](Files& f) { edit(f, "basin.par", "0   0.0 0.0", "  # P sand loam\n0   0.0 0.0"); },
             1, Case::NONE,
             {"basin.par:4:3: warning: an indented '#' line ends the FUNCTION block after 0 data lines",
              "hint: a comment line needs its '#' in the first column",
              " Cannot fit spline to one point"}}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace vadz
