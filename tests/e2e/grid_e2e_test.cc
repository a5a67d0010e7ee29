// GRID and CRS as a user meets them: the half-mile example (its own grid and
// CRS) through --check, the run and the report; the default grid written
// out as a GRID line changes no byte; the stops of both keywords.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz::test {
namespace {

namespace fs = std::filesystem;

// The half-mile example: GRID 60 90 2640 1000000 300000, CRS EPSG:3419.
constexpr int NROW = 60, NCOL = 90;
const std::vector<int> YEARS = {1990, 1991, 1992};

// The parameter file of a second shipped example, beside the first's.
std::string example_par(const std::string& name) {
  return (fs::path(VADZ_EXAMPLE_PAR).parent_path() / name / "vadz.par").string();
}

void make_data(const std::string& dir, const std::vector<std::string>& grid_args) {
  std::string cmd = "\"" + fs::absolute(VADZ_MAKE_EXAMPLE).string() + "\"";
  for (const std::string& a : grid_args) cmd += " " + a;
  cmd += " \"" + dir + "\" >" + NULL_DEVICE;
#ifdef _WIN32
  cmd = "\"" + cmd + "\"";
#endif
  ASSERT_EQ(std::system(cmd.c_str()), 0);
}

// Width and height of a PNG file from its header chunk.
std::pair<uint32_t, uint32_t> png_size(const std::string& path) {
  const std::string b = read_file(path);
  if (b.size() < 24) return {0, 0};
  auto be32 = [&](size_t at) {
    return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 |
           uint32_t(uint8_t(b[at + 2])) << 8 | uint32_t(uint8_t(b[at + 3]));
  };
  return {be32(16), be32(20)};
}

class HalfMileE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<TempDir>();
    make_data(*dir_ / "run", {"--grid", "60", "90", "2640", "1000000", "300000"});
    std::string par = read_file(example_par("halfmile"));
    // A build without PROJ (Windows) runs the example without its CRS.
    if (!VADZ_HAVE_PROJ) par.erase(par.find("CRS EPSG:3419\n"), 14);
    write_file(*dir_ / "vadz.par", par);
    check_ = run_vadz(*dir_ / "run", {"--check", "../vadz.par"});
    run_ = run_vadz(*dir_ / "run", {"../vadz.par"});
  }
  static void TearDownTestSuite() { dir_.reset(); }
  static std::string out(const std::string& f) { return *dir_ / ("run/" + f); }

  static std::unique_ptr<TempDir> dir_;
  static RunResult check_, run_;
};
std::unique_ptr<TempDir> HalfMileE2E::dir_;
RunResult HalfMileE2E::check_, HalfMileE2E::run_;

TEST_F(HalfMileE2E, ChecksCleanAndRuns) {
  EXPECT_EQ(check_.status, 0);
  const std::vector<std::string> lines = lines_of(check_.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "0 errors, 0 warnings");
  EXPECT_EQ(run_.status, 0);
  EXPECT_EQ(run_.err, "");
}

// The model files in the grid's layout: 90 values a row in lines of 20,
// wells up to the cell count.
TEST_F(HalfMileE2E, ModelFilesFollowTheGrid) {
  const std::vector<std::string> rch = lines_of(read_file(out("halfmile.rch")));
  // Header, then per period a control line and 60 rows of 5 lines.
  ASSERT_GT(rch.size(), 2u + NROW * 5);
  EXPECT_EQ(rch[0], "         1        50");
  EXPECT_EQ(rch[2].substr(0, 9), "INTERNAL ");
  EXPECT_EQ(rch[3].size(), 20u * 9);
  EXPECT_EQ(rch[7].size(), 10u * 9);
  EXPECT_EQ(rch[3 + NROW * 5].substr(0, 20), "         1         0");
  EXPECT_EQ(lines_of(read_file(out("halfmile.wel")))[0], "      5400        50 NOPRINT");
  EXPECT_NE(read_file(out("mf6/halfmile.wel")).find("  MAXBOUND 5400\r\n"), std::string::npos);
  const std::string arr = read_file(out("mf6/halfmile_rch/1990.01.rch.bin"));
  ASSERT_EQ(arr.size(), 52u + 8u * NROW * NCOL);
  EXPECT_EQ(arr.substr(40, 8), std::string("\x5a\0\0\0\x3c\0\0\0", 8));
}

// The report's grids carry the grid and, beside them, the CRS as GDAL
// writes it; the maps have 3 pixels a cell; the page names grid and CRS.
TEST_F(HalfMileE2E, ReportOnTheGridAndItsCrs) {
  const std::string prj =
      "PROJCS[\"NAD_1983_StatePlane_Kansas_North_FIPS_1501_Feet\",GEOGCS[\"GCS_North_American_"
      "1983\",DATUM[\"D_North_American_1983\",SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],"
      "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],PROJECTION[\"Lambert_"
      "Conformal_Conic\"],PARAMETER[\"False_Easting\",1312333.3333],PARAMETER[\"False_Northing\","
      "0.0],PARAMETER[\"Central_Meridian\",-98.0],PARAMETER[\"Standard_Parallel_1\","
      "39.7833333333333],PARAMETER[\"Standard_Parallel_2\",38.7166666666667],PARAMETER[\"Latitude_"
      "Of_Origin\",38.3333333333333],UNIT[\"US survey foot\",0.304800609601219]]";
  std::vector<std::string> grids = {"rcp_steady"};
  for (int y : YEARS)
    for (const char* q : {"ppt", "rcp", "rech", "gwirr", "mi"})
      grids.push_back(std::string(q) + "_" + std::to_string(y));
  for (const std::string& g : grids) {
    const std::vector<std::string> lines = lines_of(read_file(out("report/grids/" + g + ".asc")));
    ASSERT_EQ(lines.size(), 6u + NROW) << g;
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
              (std::vector<std::string>{"ncols 90", "nrows 60", "xllcorner 1e+06",
                                        "yllcorner 3e+05", "cellsize 2640",
                                        "NODATA_value -9999"}))
        << g;
    EXPECT_EQ(split(lines[6], ' ').size(), static_cast<size_t>(NCOL)) << g;
    if (VADZ_HAVE_PROJ) EXPECT_EQ(read_file(out("report/grids/" + g + ".prj")), prj) << g;
    else EXPECT_FALSE(exists(out("report/grids/" + g + ".prj"))) << g;
  }
  for (const char* m : {"rech_1990.png", "gwirr_1992.png"})
    EXPECT_EQ(png_size(out(std::string("report/maps/") + m)),
              std::make_pair(uint32_t{NCOL * 3}, uint32_t{NROW * 3}));
  const std::string page = read_file(out("report/index.html"));
  EXPECT_NE(page.find("<tr><th>Grid</th><td>60 rows by 90 columns of 2,640-foot cells, "
                      "south-west corner x 1,000,000, y 300,000 feet</td></tr>"),
            std::string::npos);
  EXPECT_EQ(page.find("<tr><th>Coordinate reference system</th><td>NAD83 / Kansas North "
                      "(ftUS)</td></tr>") != std::string::npos,
            bool(VADZ_HAVE_PROJ));
}

// Every file a run writes, by path relative to dir, with its bytes (the
// page names the parameter file's folder: dir itself is taken out).
std::vector<std::pair<std::string, std::string>> outputs(const std::string& dir) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    std::string bytes = read_file(e.path().string());
    for (size_t at; (at = bytes.find(dir)) != std::string::npos;) bytes.erase(at, dir.size());
    files.emplace_back(fs::relative(e.path(), dir).generic_string(), std::move(bytes));
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The default grid spelled out as a GRID line is the default grid: every
// output byte the same, the MF6 files and the report included.
TEST(GridE2E, DefaultGridLineChangesNothing) {
  TempDir plain, spelled;
  const std::string extra = "MF6 mf6\nREPORT rep\n";
  make_example(plain.path(), extra);
  make_example(spelled.path(), extra);
  write_file(spelled / "vadz.par",
             "GRID 165 326 5280 266023 14092806\n" + read_file(spelled / "vadz.par"));
  const RunResult a = run_vadz(plain.path(), {"vadz.par"});
  const RunResult b = run_vadz(spelled.path(), {"vadz.par"});
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(a.out, b.out);
  fs::remove(plain / "vadz.par");
  fs::remove(spelled / "vadz.par");
  const auto fa = outputs(plain.path()), fb = outputs(spelled.path());
  ASSERT_EQ(fa.size(), fb.size());
  for (size_t k = 0; k < fa.size(); ++k) {
    EXPECT_EQ(fa[k].first, fb[k].first);
    EXPECT_TRUE(fa[k].second == fb[k].second) << fa[k].first;
  }
}

// The stops of GRID and CRS: a parameter file that is otherwise complete
// up to the model files.
const std::string BASE =
    "SOIL *\n"
    "FUNCTION table.txt 1\n"
    "0 0 0\n"
    "100 10 20\n"
    "MONTH 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.1 0.05 0.05 0.05 0.05\n"
    "PRISM prism\n";
const std::string FINE = " PRISMpath=prism\r\n No well file specified\r\n";
const std::string KANSAS_NORTH_WKT =
    "PROJCS[\"NAD83 / Kansas North (ftUS)\",GEOGCS[\"NAD83\",DATUM[\"North_American_Datum_1983\","
    "SPHEROID[\"GRS 1980\",6378137,298.257222101]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\","
    "0.0174532925199433]],PROJECTION[\"Lambert_Conformal_Conic_2SP\"],PARAMETER["
    "\"latitude_of_origin\",38.3333333333333],PARAMETER[\"central_meridian\",-98],PARAMETER["
    "\"standard_parallel_1\",39.7833333333333],PARAMETER[\"standard_parallel_2\","
    "38.7166666666667],PARAMETER[\"false_easting\",1312333.333],PARAMETER[\"false_northing\",0],"
    "UNIT[\"US survey foot\",0.304800609601219]]\n";

// A CRS stop as this build gives it: without PROJ every CRS named stops.
std::string crs(const std::string& want) {
  return VADZ_HAVE_PROJ ? want : " CRS needs a build with PROJ\r\n";
}

struct Case {
  const char* name;
  std::string params;
  std::string want;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class GridStops : public ::testing::TestWithParam<Case> {};

TEST_P(GridStops, StandardOutput) {
  const Case& c = GetParam();
  TempDir dir;
  write_file(dir / "run.par", c.params);
  write_file(dir / "kansas.wkt", KANSAS_NORTH_WKT);
  write_file(dir / "notes.txt", "not a CRS\n");
  for (const char* g : {"co", "ks", "ne"}) fs::create_directories(dir / g);
  const RunResult r = run_vadz(dir.path(), {"run.par"});
  EXPECT_EQ(r.out, c.want);
  EXPECT_EQ(r.status, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, GridStops,
    ::testing::Values(
        Case{"grid_first", "GRID 60 90 2640 0 0\n" + BASE, FINE},
        Case{"grid_after_soil", BASE + "GRID 60 90 2640 0 0\n",
             " PRISMpath=prism\r\n GRID must come before SOIL\r\n"},
        Case{"rows_not_whole", "GRID 60.5 90 2640 0 0\n",
             " Invalid GRID rows GRID 60.5 90 2640 0 0\r\n"},
        Case{"columns_missing", "GRID 60\n", " Invalid GRID columns GRID 60\r\n"},
        Case{"cell_size_text", "GRID 60 90 half 0 0\n",
             " Invalid GRID cell size GRID 60 90 half 0 0\r\n"},
        Case{"corner_missing", "GRID 60 90 2640 0\n", " Invalid GRID corner GRID 60 90 2640 0\r\n"},
        Case{"corner_infinite", "GRID 60 90 2640 0 1e999\n",
             " Invalid GRID corner GRID 60 90 2640 0 1e999\r\n"},
        Case{"no_rows", "GRID 0 90 2640 0 0\n", " Invalid GRID: rows and columns must be 1 or more\r\n"},
        Case{"cell_size_zero", "GRID 60 90 0 0 0\n", " Invalid GRID: cell size must be more than 0\r\n"},
        Case{"too_many_cells", "GRID 20000 20000 10 0 0\n",
             " Invalid GRID: more than 268435455 cells\r\n"},
        Case{"crs_code", "CRS EPSG:3419\n" + BASE, crs(FINE)},
        Case{"crs_wkt_file", "CRS kansas.wkt\n" + BASE, crs(FINE)},
        Case{"crs_missing", "CRS\n", " Invalid CRS CRS\r\n"},
        Case{"crs_unknown", "CRS EPSG:99999\n", crs(" Unknown CRS EPSG:99999\r\n")},
        Case{"crs_not_wkt", "CRS notes.txt\n", crs(" No CRS in file notes.txt\r\n")},
        Case{"crs_geographic", "CRS EPSG:4326\n",
             crs(" CRS has no linear unit (geographic): WGS 84\r\n")},
        Case{"crs_metres", "CRS EPSG:32614\n",
             crs(" CRS unit is not the foot or US survey foot: metre in WGS 84 / UTM zone 14N\r\n")}),
    [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace vadz::test
