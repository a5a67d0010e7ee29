// The run report (REPORT) on the shipped example: every other output
// unchanged, budget.csv the table's numbers, the ESRI grids the numbers of
// the tables and FILE grids, maps of the stated size, a page whose links all
// lead somewhere, and the faults of the folder.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace vadz {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::run_vadz;
using test::split;
using test::TempDir;

constexpr int NROW = 165, NCOL = 326;
const std::vector<int> YEARS = {1990, 1991, 1992};

// One run of the example without and one with REPORT (and BUDGETCSV beside
// it), shared by the tests.
class ReportE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    plain_ = std::make_unique<TempDir>();
    rep_ = std::make_unique<TempDir>();
    test::make_example(plain_->path());
    test::make_example(rep_->path(), "REPORT rep\nBUDGETCSV table.csv\n");
    a_ = run_vadz(plain_->path(), {"vadz.par"});
    b_ = run_vadz(rep_->path(), {"vadz.par"});
  }
  static void TearDownTestSuite() {
    plain_.reset();
    rep_.reset();
  }
  static std::string in_report(const std::string& f) { return *rep_ / ("rep/" + f); }

  static std::unique_ptr<TempDir> plain_, rep_;
  static test::RunResult a_, b_;
};
std::unique_ptr<TempDir> ReportE2E::plain_, ReportE2E::rep_;
test::RunResult ReportE2E::a_, ReportE2E::b_;

// The values of a text whose numbers are separated by blanks, commas and
// line ends.
std::vector<double> numbers(const std::string& text) {
  std::vector<double> v;
  const char* p = text.c_str();
  while (*p) {
    char* end;
    const double x = std::strtod(p, &end);
    if (end == p) {
      ++p;
      continue;
    }
    v.push_back(x);
    p = end;
  }
  return v;
}

// An ESRI grid: the six header lines, then its values north to south.
struct Esri {
  std::vector<std::string> header;
  std::vector<double> values;
};
Esri read_esri(const std::string& path) {
  Esri g;
  const std::vector<std::string> lines = split(read_file(path), '\n');
  for (size_t k = 0; k < lines.size(); ++k) {
    if (k < 6) {
      g.header.push_back(lines[k]);
      continue;
    }
    const std::vector<double> row = numbers(lines[k]);
    EXPECT_EQ(row.size(), static_cast<size_t>(NCOL)) << path << " line " << k + 1;
    g.values.insert(g.values.end(), row.begin(), row.end());
  }
  return g;
}

// Column k of a per-cell CSV table with a header line (one row per cell).
std::vector<double> column(const std::string& path, size_t k) {
  std::vector<double> v;
  const std::vector<std::string> lines = split(read_file(path), '\n');
  for (size_t i = 1; i < lines.size(); ++i) v.push_back(numbers(lines[i]).at(k));
  return v;
}

TEST_F(ReportE2E, LeavesEveryOtherOutputAsItWasAndHoldsTheBudgetTable) {
  ASSERT_EQ(a_.status, 0) << a_.out;
  ASSERT_EQ(b_.status, 0) << b_.out;
  EXPECT_EQ(a_.out, b_.out);
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(plain_->path())) {
    if (!e.is_regular_file()) continue;
    const std::string rel = fs::relative(e.path(), plain_->path()).string();
    if (rel == "vadz.par") continue;  // the parameter files differ by the two lines
    EXPECT_EQ(read_file(e.path().string()), read_file(*rep_ / rel)) << rel;
    ++files;
  }
  EXPECT_GT(files, 20);

  // budget.csv: the layout of BUDGETCSV, and the table's numbers unrounded.
  const std::string csv = read_file(in_report("budget.csv"));
  EXPECT_EQ(csv, read_file(*rep_ / "table.csv"));
  const std::vector<std::string> rows = split(csv, '\n');
  const std::vector<test::TableNumber> table = test::budget_table_numbers(a_.out);
  ASSERT_GT(rows.size(), table.size() + 1);  // then the water accounts
  for (size_t k = 0; k < table.size(); ++k) {
    const std::vector<std::string> f = split(rows[k + 1], ',');
    ASSERT_EQ(f.size(), 4u) << rows[k + 1];
    EXPECT_EQ(f[0], table[k].period);
    EXPECT_NEAR(std::stod(f[3]), table[k].value, 0.05 + 1e-9 * std::fabs(table[k].value))
        << rows[k + 1];
  }
}

TEST_F(ReportE2E, GridsHoldTheNumbersOfTheTablesAndFileGrids) {
  ASSERT_EQ(b_.status, 0) << b_.out;
  const std::vector<std::string> header = {"ncols 326\r",    "nrows 165\r",
                                           "xllcorner 266023\r", "yllcorner 14092806\r",
                                           "cellsize 5280\r",  "NODATA_value -9999\r"};
  // annrech.csv: node, row, col, IBOUND, x, y, then one column per year.
  const std::vector<double> ibound = column(*rep_ / "annrech.csv", 3);
  ASSERT_EQ(ibound.size(), static_cast<size_t>(NROW * NCOL));
  int active = 0;
  for (double b : ibound) active += b > 0;
  ASSERT_GT(active, 1000);
  ASSERT_LT(active, NROW * NCOL);

  for (size_t j = 0; j < YEARS.size(); ++j) {
    const std::string y = std::to_string(YEARS[j]);
    const std::vector<double> file_ppt = numbers(read_file(*rep_ / ("grids/" + y + ".ppt")));
    const std::vector<double> file_rcp = numbers(read_file(*rep_ / ("grids/" + y + ".rcp")));
    const std::vector<double> rech = column(*rep_ / "annrech.csv", 6 + j);
    // YYYYannpump.csv: node, row, col, gwirr_af, gwrcg_af, mi_af, gw_ac.
    const std::vector<double> gwirr = column(*rep_ / (y + "annpump.csv"), 3);
    const std::vector<double> mi = column(*rep_ / (y + "annpump.csv"), 5);
    struct Check {
      std::string name;
      const std::vector<double>& want;
      double tolerance;  // half the last decimal of the table, 0 for FILE grids
    } checks[] = {{"ppt", file_ppt, 0},   {"rcp", file_rcp, 0},  {"rech", rech, 5e-7},
                  {"gwirr", gwirr, 5e-3}, {"mi", mi, 5e-3}};
    for (const Check& c : checks) {
      const std::string name = "grids/" + c.name + "_" + y + ".asc";
      const Esri g = read_esri(in_report(name));
      EXPECT_EQ(g.header, header) << name;
      ASSERT_EQ(g.values.size(), ibound.size()) << name;
      ASSERT_EQ(c.want.size(), ibound.size()) << name;
      int differ = 0;
      double sum = 0;
      for (size_t i = 0; i < ibound.size(); ++i) {
        if (ibound[i] <= 0) {
          differ += g.values[i] != -9999;
          continue;
        }
        sum += g.values[i];
        differ += !(std::fabs(g.values[i] - c.want[i]) <= c.tolerance * (1 + 1e-9));
      }
      EXPECT_EQ(differ, 0) << name;
      EXPECT_GT(sum, 0) << name;
    }
  }

  // The steady recharge: its sum over the cells is the steady row's total.
  const Esri steady = read_esri(in_report("grids/rcp_steady.asc"));
  EXPECT_EQ(steady.header, header);
  double sum = 0;
  for (size_t i = 0; i < ibound.size(); ++i) {
    if (ibound[i] <= 0)
      EXPECT_EQ(steady.values.at(i), -9999);
    else
      sum += steady.values.at(i);
  }
  const std::string total = split(read_file(in_report("budget.csv")), '\n').at(4);
  ASSERT_EQ(total.substr(0, 23), "steady,RchRcp_af,total,");
  EXPECT_NEAR(sum / 12 * 640, std::stod(total.substr(23)), 1e-9 * sum);
}

TEST_F(ReportE2E, MapsDecodeToThreePixelsACell) {
  ASSERT_EQ(b_.status, 0) << b_.out;
  std::vector<std::string> maps = {"rcp_steady.png", "terrain.png", "soils.png"};
  for (const char* q : {"ppt", "rcp", "rech", "gwirr"})
    for (int y : YEARS) maps.push_back(std::string(q) + "_" + std::to_string(y) + ".png");
  for (const std::string& m : maps) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&img, in_report("maps/" + m).c_str())) << m;
    img.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(img));
    EXPECT_TRUE(png_image_finish_read(&img, nullptr, pixels.data(), 0, nullptr)) << m;
    EXPECT_EQ(img.width, 3u * NCOL) << m;
    EXPECT_EQ(img.height, 3u * NROW) << m;
    // The north-west corner lies outside the example's active area.
    EXPECT_EQ(pixels[3], 0) << m << ": corner not transparent";
    png_image_free(&img);
  }
}

TEST_F(ReportE2E, PageLinksOnlyToFilesOfTheFolder) {
  ASSERT_EQ(b_.status, 0) << b_.out;
  const std::string page = read_file(in_report("index.html"));
  std::map<std::string, int> refs;
  for (const char* attr : {" src=\"", " href=\""}) {
    for (size_t at = page.find(attr); at != std::string::npos; at = page.find(attr, at + 1)) {
      const size_t start = at + std::string(attr).size();
      const std::string ref = page.substr(start, page.find('"', start) - start);
      if (ref[0] == '#') continue;  // a section of the page
      EXPECT_EQ(ref.find(':'), std::string::npos) << ref;  // no scheme: nothing from elsewhere
      EXPECT_TRUE(fs::is_regular_file(in_report(ref))) << ref;
      ++refs[ref];
    }
  }
  // Every map and grid of the folder is shown or linked.
  for (const char* dir : {"maps", "grids"})
    for (const auto& e : fs::directory_iterator(in_report(dir)))
      EXPECT_TRUE(refs.count(std::string(dir) + "/" + e.path().filename().string())) << e.path();
  EXPECT_TRUE(refs.count("budget.csv"));
}

// The text of each cell (<td>) of each row (<tr>) of the monthly view's
// table of year index j, commas dropped.
std::vector<std::vector<std::string>> monthly_rows(const std::string& page, int j) {
  std::vector<std::vector<std::string>> rows;
  const size_t at = page.find("<div class=\"monthly\" data-i=\"" + std::to_string(j) + "\"");
  const size_t body = page.find("<tbody>", at);
  const size_t end = page.find("</tbody>", body);
  if (at == std::string::npos || body == std::string::npos) return rows;
  for (size_t r = page.find("<tr", body); r < end; r = page.find("<tr", r + 1)) {
    std::vector<std::string> cells;
    const size_t row_end = page.find("</tr>", r);
    for (size_t c = page.find("<td", r); c < row_end; c = page.find("<td", c + 1)) {
      const size_t open = page.find('>', c) + 1;
      std::string text = page.substr(open, page.find("</td>", open) - open);
      std::erase(text, ',');
      cells.push_back(text);
    }
    rows.push_back(cells);
  }
  return rows;
}

// Per stress period label of a well file, the acre-feet its rates withdraw,
// and of a recharge file, the acre-feet its arrays add (inches over a
// 640-acre cell, 20F9.5 values).
std::map<std::string, double> well_totals(const std::string& path,
                                          const std::map<std::string, int>& seconds) {
  std::map<std::string, double> af;
  const std::vector<std::string> lines = split(read_file(path), '\n');
  for (size_t k = 1; k < lines.size() && lines[k].size() > 9;) {
    const int n = std::stoi(lines[k].substr(0, 5));
    const std::string label = lines[k].substr(9, 7);
    double cfs = 0;
    for (int w = 1; w <= n; ++w) cfs += numbers(lines[k + w]).at(3);
    if (seconds.count(label)) af[label] = -cfs * seconds.at(label) / 43560;
    k += n + 1;
  }
  return af;
}
std::map<std::string, double> recharge_totals(const std::string& path) {
  std::map<std::string, double> af;
  const std::vector<std::string> lines = split(read_file(path), '\n');
  for (size_t k = 2; k + 2806 < lines.size() + 1; k += 2807) {
    const std::string label = lines[k].substr(lines[k].size() - 8, 7);  // before the CR
    double inches = 0;
    for (size_t i = k + 1; i < k + 2806; ++i)
      for (double v : numbers(lines[i])) inches += v;
    af[label] = inches * 640 / 12;
  }
  return af;
}

TEST_F(ReportE2E, MapsShowOutlinesAndStationsAndTheMonthlyViewTheModelFilesTotals) {
  ASSERT_EQ(b_.status, 0) << b_.out;
  const std::string page = read_file(in_report("index.html"));
  // The outlines once, drawn over each of the 4 yearly and 3 one-off maps.
  for (const char* id : {"<path id=\"ol-zones\" d=\"M", "<path id=\"ol-groups\" d=\"M"})
    EXPECT_NE(page.find(id), std::string::npos) << id;
  int overlays = 0;
  for (size_t at = page.find("<svg class=\"ov\""); at != std::string::npos;
       at = page.find("<svg class=\"ov\"", at + 1))
    ++overlays;
  EXPECT_EQ(overlays, 7);
  // Every station of the location file, named, on the precipitation map.
  const std::vector<std::string> stations = split(read_file(*rep_ / "stations.txt"), '\n');
  const size_t stn = page.find("<g class=\"stn\">");
  ASSERT_NE(stn, std::string::npos);
  const std::string group = page.substr(stn, page.find("</g>", stn) - stn);
  int marks = 0;
  for (size_t at = group.find("<circle"); at != std::string::npos;
       at = group.find("<circle", at + 1))
    ++marks;
  EXPECT_EQ(marks, static_cast<int>(stations.size()) - 1);
  for (size_t k = 1; k < stations.size(); ++k) {
    const std::string name = stations[k].substr(0, stations[k].find(' '));
    EXPECT_NE(page.find("<title>" + name + " (x "), std::string::npos) << name;
  }

  // The monthly view of 1990: the columns over all groups are the totals
  // of the well and recharge files' periods, and the groups' pumping adds
  // up to them.
  const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::map<std::string, int> seconds;
  std::vector<std::string> labels;
  for (int m = 1; m <= 12; ++m) {
    labels.push_back((m < 10 ? " " : "") + std::to_string(m) + "/1990");
    seconds[labels.back()] = days[m - 1] * 86400;
  }
  const std::map<std::string, double> pumped = well_totals(*rep_ / "example.wel", seconds);
  const std::map<std::string, double> recharged = recharge_totals(*rep_ / "example.rch");
  const std::vector<std::vector<std::string>> rows = monthly_rows(page, 0);
  ASSERT_EQ(rows.size(), 13u);  // twelve months and the year
  double year_pump = 0;
  for (int m = 0; m < 12; ++m) {
    const std::vector<std::string>& r = rows[m];
    ASSERT_EQ(r.size(), 19u);  // month, 4 per group, pumping, 4 kinds, recharge
    const double groups = std::stod(r[1]) + std::stod(r[5]) + std::stod(r[9]);
    const double pump = std::stod(r[13]), rech = std::stod(r[18]);
    EXPECT_NEAR(pump, pumped.at(labels[m]), 0.5 + 1e-6) << labels[m];
    EXPECT_NEAR(groups, pump, 2.0) << labels[m];
    // 53,790 values rounded to 5 decimals of an inch, then to whole acre-feet.
    EXPECT_NEAR(rech, recharged.at(labels[m]), 15.0) << labels[m];
    EXPECT_GT(rech, 10000) << labels[m];
    year_pump += pumped.at(labels[m]);
  }
  EXPECT_NEAR(std::stod(rows[12][13]), year_pump, 0.5 + 1e-6);
  EXPECT_GT(year_pump, 100000);
}

// Without TERRAIN there is no terrain map; a group without files of a kind
// in the whole run shows "none in this run", not absent periods, and a
// folder without any file of the run is marked. With
// XFACTOR, the groups' returns in the monthly view are the adjusted ones
// that the recharge file holds.
TEST(ReportInputs, NoTerrainMapWithoutTerrainNoneInThisRunAndAdjustedReturns) {
  TempDir dir;
  test::make_example(dir.path(), "REPORT rep\nXFACTOR 1989 xf.txt\n");
  test::write_file(dir / "xf.txt", test::text_grid([](int c, int) { return c < 200 ? 0.5 : 3.0; }));
  std::string par = read_file(dir / "vadz.par");
  const size_t at = par.find("\nTERRAIN ");
  par.erase(at + 1, par.find('\n', at + 1) - at);
  // NE's folder named wrongly: there, but empty.
  par.replace(par.find("DIR co ks ne"), 12, "DIR co ks nx");
  fs::create_directory(dir / "nx");
  test::write_file(dir / "vadz.par", par);
  for (const auto& e : fs::directory_iterator(dir / "ks"))
    if (e.path().extension() == ".rcs") fs::remove(e.path());
  const test::RunResult r = run_vadz(dir.path(), {"vadz.par"});
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string page = read_file(dir / "rep/index.html");
  EXPECT_FALSE(fs::exists(dir / "rep/maps/terrain.png"));
  EXPECT_EQ(page.find("terrain.png"), std::string::npos);
  EXPECT_NE(
      page.find("<tr><th>Terrain multipliers</th><td>none (no <code>TERRAIN</code>)</td></tr>"),
      std::string::npos);
  const size_t row = page.find("<tr><td><code>.rcs</code></td>");
  ASSERT_NE(row, std::string::npos);
  const std::string rcs = page.substr(row, page.find("</tr>", row) - row);
  const std::string absent =
      "<span class=\"absent\">absent: steady, 1990-1992 (01-04,10-12)</span>";
  const std::string none = "<td><span class=\"none\">none in this run</span></td>";
  EXPECT_EQ(rcs, "<tr><td><code>.rcs</code></td><td>15 files: 1990-1992 (05-09)<br>" + absent +
                     "</td>" + none + none);
  EXPECT_NE(page.find("<th>NE <code>nx</code> <span class=\"absent\">(no file of the run)</span>"),
            std::string::npos);
  EXPECT_EQ(page.find("(no file of the run)"), page.rfind("(no file of the run)"));

  const std::map<std::string, double> recharged = recharge_totals(dir / "example.rch");
  const std::vector<std::vector<std::string>> rows = monthly_rows(page, 2);  // 1992
  ASSERT_EQ(rows.size(), 13u);
  for (int m = 4; m < 9; ++m) {  // the irrigation months
    const std::vector<std::string>& r = rows[m];
    const std::string label = (m < 9 ? " " : "") + std::to_string(m + 1) + "/1992";
    EXPECT_NEAR(std::stod(r[18]), recharged.at(label), 15.0) << label;
    for (int q : {2, 3, 4}) {  // Rcg, Rcs, Rcc of each group and over all
      const double groups = std::stod(r[q]) + std::stod(r[q + 4]) + std::stod(r[q + 8]);
      EXPECT_NEAR(groups, std::stod(r[q + 13]), 2.0) << label << " column " << q;
      EXPECT_GT(groups, 100) << label << " column " << q;
    }
  }
}

TEST(ReportFaults, FolderAndWriteFailuresStopTheRun) {
  struct Case {
    std::string lines;   // added to the example's parameter file
    std::string broken;  // a report file made a link to a full device
    std::string message;
  } cases[] = {
      {"REPORT vadz.par/rep\n", "", " Cannot open file vadz.par/rep\r\n"},
      {"REPORT rep\n", "grids/rech_1991.asc", " Cannot write to file rep/grids/rech_1991.asc\r\n"},
      {"REPORT rep\n", "maps/soils.png", " Cannot write to file rep/maps/soils.png\r\n"},
      {"REPORT rep\n", "index.html", " Cannot write to file rep/index.html\r\n"},
  };
  for (const Case& c : cases) {
    if (!c.broken.empty() && !fs::exists("/dev/full")) continue;  // Windows
    TempDir dir;
    test::make_example(dir.path(), c.lines);
    if (!c.broken.empty()) {
      fs::create_directories(fs::path(dir / ("rep/" + c.broken)).parent_path());
      fs::create_symlink("/dev/full", dir / ("rep/" + c.broken));
    }
    const test::RunResult r = run_vadz(dir.path(), {"vadz.par"});
    EXPECT_EQ(r.status, 1) << c.message;
    ASSERT_GE(r.out.size(), c.message.size()) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - c.message.size()), c.message);
  }
}

TEST(ReportFaults, NeedsBudgetZones) {
  TempDir dir;
  test::make_example(dir.path());
  std::string par = read_file(dir / "vadz.par");
  par.replace(par.find("BUDGET budget.txt"), 17, "REPORT rep");
  test::write_file(dir / "vadz.par", par);
  const test::RunResult r = run_vadz(dir.path(), {"vadz.par"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, " REPORT needs BUDGET zones\r\n");
}

}  // namespace
}  // namespace vadz
