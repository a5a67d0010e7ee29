#include "gridtool/cmd_points.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <utility>

#include "gridtool/crs_transform.h"
#include "gridtool/csv_table.h"
#include "gridtool/gridfile.h"
#include "gridtool/options.h"
#include "gridtool/target_grid.h"
#include "input/schedule.h"
#include "utl/console.h"
#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

// How the run reads a kind of its data folders: per month (YYYY.MM.kind)
// or per year (YYYY.kind), and whether a steady-period file exists.
struct KindPeriods {
  bool summable;  // a quantity of the cell that point records add up to
  bool monthly;
  bool steady;
};
KindPeriods periods_of(FileKind k) {
  switch (k) {
    case FileKind::pmp:
    case FileKind::rcg:
    case FileKind::rcs:
    case FileKind::rcc: return {true, true, true};
    case FileKind::mi: return {true, false, true};
    case FileKind::agw:
    case FileKind::asw:
    case FileKind::aco: return {true, false, false};
    case FileKind::grd: return {false, false, false};  // precipitation depth: not a sum
  }
  return {false, false, false};
}

// Records not written where they stand: count, total and the first line.
struct Tally {
  long count = 0;
  double total = 0.0;
  long first = 0;
  void add(double v, long line) {
    if (count++ == 0) first = line;
    total += v;
  }
};

[[noreturn]] void bad_field(const CsvTable& t, size_t row, size_t col, const char* what) {
  Diag d;
  d.where = text_place(t.path, t.line[row], static_cast<long>(col) + 1);
  d.what = std::string(what) + " in column " + t.header[col];
  throw Fatal(ConsoleLine().text("Error reading file ").text(t.path).str(), d);
}

double number(const CsvTable& t, size_t row, size_t col) {
  double v = 0.0;
  if (col >= t.rows[row].size() || !parse_real(t.rows[row][col], v) || !std::isfinite(v))
    bad_field(t, row, col, "not a number");
  return v;
}

int whole(const CsvTable& t, size_t row, size_t col, int lo, int hi) {
  int32_t v = 0;
  if (col >= t.rows[row].size() || !parse_int(t.rows[row][col], v) || v < lo || v > hi)
    bad_field(t, row, col, hi == 12 ? "not a month 1..12" : "not a year");
  return v;
}

// YYYY.MM, YYYY or steady, as the run names its data files.
std::string stem(int year, int month) {
  if (year <= 0) return "steady";
  char buf[16];
  char* p = put_int_zero(buf, 4, year);
  if (month > 0) {
    *p++ = '.';
    p = put_int_zero(p, 2, month);
  }
  return std::string(buf, p);
}

}  // namespace

int grid_points(int argc, const char* const* argv) {
  const Options o = parse_options(argc, argv, 2, {"--bin"},
                                  {"--x", "--y", "--value", "--year", "--month", "--kind", "--crs"},
                                  POINTS_USAGE);
  if (o.args.size() != 3 || !o.has("--x") || !o.has("--y") || !o.has("--value"))
    error(POINTS_USAGE);
  const std::string kind_name = o.value("--kind", "pmp");
  KindPeriods kind{false, false, false};
  for (FileKind k : all_kinds())
    if (kind_name == kind_tag(k)) kind = periods_of(k);
  if (!kind.summable) error(POINTS_USAGE);
  const bool by_year = o.has("--year");
  if (!by_year && !kind.steady) error("Kind " + kind_name + " is read per year: give --year");
  if (by_year && kind.monthly && !o.has("--month"))
    error("Kind " + kind_name + " is read per month: give --month");
  if (!kind.monthly && o.has("--month"))
    error("Kind " + kind_name + " is read per year: --month does not apply");
  if (!by_year && o.has("--month")) error("--month needs --year");

  const TargetGrid g = read_target_grid(o.args[0]);
  if (o.has("--crs") && g.crs.empty())
    error("--crs needs the grid's CRS: the parameter file has no CRS line");
  CrsTransform tr(o.value("--crs"), g.crs);
  const CsvTable t = read_csv(o.args[1]);
  const size_t cx = t.column(o.value("--x")), cy = t.column(o.value("--y"));
  const size_t cv = t.column(o.value("--value"));
  const size_t cyr = by_year ? t.column(o.value("--year")) : 0;
  const size_t cmo = o.has("--month") ? t.column(o.value("--month")) : 0;

  std::map<std::pair<int, int>, std::vector<double>> grids;  // (year, month) -> sums
  Tally outside, inactive;
  double total = 0.0;
  for (size_t i = 0; i < t.rows.size(); ++i) {
    double x = number(t, i, cx), y = number(t, i, cy);
    const double v = number(t, i, cv);
    const int year = by_year ? whole(t, i, cyr, 1, 9999) : 0;
    const int month = o.has("--month") ? whole(t, i, cmo, 1, 12) : 0;
    tr.apply(&x, &y, 1);
    total += v;
    const double fc = std::floor((x - g.x0) / g.cell), fr = std::floor((y - g.y0) / g.cell);
    if (!(fc >= 0.0 && fc < g.ncol && fr >= 0.0 && fr < g.nrow)) {
      outside.add(v, t.line[i]);
      continue;
    }
    const int c = static_cast<int>(fc) + 1, r = g.nrow - static_cast<int>(fr);
    const size_t k = static_cast<size_t>(g.index(c, r));
    // Records in inactive cells are still written: the run and --check
    // account for pumping there.
    if (g.ibound[k] == 0) inactive.add(v, t.line[i]);
    auto& grid = grids[{year, month}];
    if (grid.empty()) grid.assign(static_cast<size_t>(g.ncell()), 0.0);
    grid[k] += v;
  }

  for (const std::string& op : tr.operations())
    console_line(ConsoleLine().text("coordinate operation: " + op));
  std::error_code ec;
  std::filesystem::create_directories(o.args[2], ec);
  for (const auto& [period, grid] : grids)
    write_real_grid(o.args[2] + "/" + stem(period.first, period.second) + "." + kind_name, g,
                    grid, o.has("--bin"));
  console_line(ConsoleLine().text(std::to_string(t.rows.size()) + " records, total " + num(total) +
                                  ", in " + std::to_string(grids.size()) + " files"));
  if (outside.count > 0)
    console_line(ConsoleLine().text(std::to_string(outside.count) +
                                    " records outside the grid, total " + num(outside.total) +
                                    ", first on line " + std::to_string(outside.first) +
                                    " (not written)"));
  if (inactive.count > 0)
    console_line(ConsoleLine().text(std::to_string(inactive.count) +
                                    " records in inactive cells, total " + num(inactive.total) +
                                    ", first on line " + std::to_string(inactive.first) +
                                    " (written)"));
  return 0;
}

}  // namespace vadz
