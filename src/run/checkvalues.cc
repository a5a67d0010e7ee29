#include "run/checkvalues.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

// A cell is one square mile: its irrigated acres cannot exceed this.
// Cells or values named in a note.
constexpr size_t SHOWN = 5;

bool area_kind(FileKind k) {
  return k == FileKind::agw || k == FileKind::asw || k == FileKind::aco;
}

std::string count(long n, const char* one, const char* many) {
  return number(static_cast<double>(n), 0) + " " + (n == 1 ? one : many);
}

// The place of a value in a station file: the line whose first word is key,
// the column of the word `skip` places after it ("path:line:col"); the path
// alone when no line starts with key.
std::string token_place(const std::string& path, const std::string& key, int skip) {
  std::string text;
  if (!read_whole_file(path, text)) return path;
  LineReader lr(text);
  std::string_view raw;
  long lineno = 0;
  while (lr.next(raw)) {
    ++lineno;
    std::string line(raw);
    if (linefix(line) != 0) continue;
    int pos = 1, status = 0;
    if (rtrim(charin(line, pos, pos, status)) != rtrim(key) || status != 0) continue;
    for (int k = 0; k < skip; ++k) {
      int at = pos;
      if (eol(line, at)) return path;
      if (k + 1 == skip) return text_place(path, lineno, at);
      charin(line, pos, pos, status);
    }
    return text_place(path, lineno, 1);
  }
  return path;
}

}  // namespace

ValueCheck::ValueCheck(const RunConfig& cfg) : cfg_(cfg) {}

void ValueCheck::grid(const PlannedRead& r, const RealGrid& g) {
  InputPeriod p;
  if (!parse_period(r.name, p)) return;
  long ncodes = 0;
  int first = -1;
  // Every code is -99 or below: one comparison passes over the usual value.
  for (int i = 0; i < NCELL; ++i)
    if (g[i] <= -99.0 && is_missing_code(g[i])) {
      if (first < 0) first = i;
      ++ncodes;
    }
  if (ncodes > 0) {
    Codes& c = codes_[{r.group, r.kind}];
    if (c.periods.empty()) {
      c.dir = std::string(rtrim(r.dir));
      c.tag = r.tag;
      c.first = r.path() + " at " + grid_cell(first);
      c.value = g[first];
    }
    c.periods.push_back(p);
    c.cells += ncodes;
  }
  if (area_kind(r.kind) && p.year != 0 && r.group >= 0) {
    if (p.year != acres_year_) close_year();
    acres_year_ = p.year;
    Acres& a = acres_[r.group];
    a.kind[static_cast<int>(r.kind) - static_cast<int>(FileKind::agw)] = g;
    a.filled = true;
  }
}

// Adds up each group's agw + asw + aco of the year just read, as the run
// adds the irrigated acres of a cell, and keeps the cells beyond the cell's area.
void ValueCheck::close_year() {
  for (Acres& a : acres_) {
    if (!a.filled) continue;
    bool any = false;
    for (int i = 0; i < NCELL; ++i) {
      if (cfg_.ibound[i] <= 0) continue;
      const double sum = a.kind[0][i] + a.kind[1][i] + a.kind[2][i];
      if (!(sum > model_grid().acres)) continue;
      any = true;
      a.over[i] = 1;
      if (sum > a.worst) {
        a.worst = sum;
        a.worst_year = acres_year_;
        a.worst_cell = i;
        a.worst_parts = {a.kind[0][i], a.kind[1][i], a.kind[2][i]};
      }
    }
    if (any) a.years.push_back({acres_year_, 0});
    for (RealGrid& k : a.kind) std::fill(k.begin(), k.end(), 0.0);
    a.filled = false;
  }
}

void ValueCheck::stations(Findings& f) const {
  const StationTable& st = cfg_.stations;
  if (st.nstn == 0) return;
  // The grid's extent, feet: west, south, east, north.
  const std::array<double, 4> e = model_grid().extent();
  const double x1 = e[2], y1 = e[3];
  std::vector<int> off;
  bool degrees = true;
  for (int j = 0; j < st.nstn; ++j)
    if (st.stnx[j] < X0 || st.stnx[j] > x1 || st.stny[j] < Y0 || st.stny[j] > y1) {
      off.push_back(j);
      degrees = degrees && looks_like_degrees(st.stnx[j], st.stny[j]);
    }
  if (!off.empty()) {
    Diag d{token_place(st.locfile, st.names[off[0]], 1),
           count(static_cast<long>(off.size()), "station lies", "stations lie") + " outside the model grid (" +
               number(X0, 0) + " to " + number(x1, 0) + " east, " + number(Y0, 0) + " to " +
               number(y1, 0) + " north, feet" +
               (model_grid().crs_name.empty() ? std::string() : ", " + model_grid().crs_name) + ")",
           {},
           ""};
    std::string shown;
    for (size_t k = 0; k < off.size() && k < SHOWN; ++k)
      shown += (k ? ", " : "") + st.names[off[k]] + " (" + shortest(st.stnx[off[k]]) + ", " +
               shortest(st.stny[off[k]]) + ")";
    if (off.size() > SHOWN) shown += " and " + std::to_string(off.size() - SHOWN) + " more";
    d.notes.push_back(shown);
    if (degrees)
      d.hint = "these look like degrees (longitude, latitude): X and Y are feet on the model's plane";
    f.warn(std::move(d));
  }

  // No-data codes among the station values, in file order (year, station).
  long n = 0;
  std::string shown, place;
  double first = 0.0;
  for (int y = FIRST_YEAR; y <= LAST_YEAR; ++y) {
    if (!st.has_year(y)) continue;
    const double* v = st.year_values(y);
    for (int j = 0; j < st.nstn; ++j) {
      if (!is_missing_code(v[j])) continue;
      if (n == 0) {
        place = token_place(st.pcpfile, std::to_string(y), j + 1);
        first = v[j];
      }
      if (static_cast<size_t>(n) < SHOWN)
        shown += (n ? ", " : "") + st.names[j] + " " + std::to_string(y) + ": " + shortest(v[j]);
      ++n;
    }
  }
  if (n > 0) {
    if (static_cast<size_t>(n) > SHOWN) shown += " and " + std::to_string(n - SHOWN) + " more";
    f.warn({place,
            shortest(first) + " looks like a missing-value code: " +
                count(n, "station value", "station values") + " of that kind",
            {shown},
            "a missing value is kriged as that many inches: fill it (from a nearby station) "
            "or leave the station out"});
  }
}

void ValueCheck::flag_widths(Findings& f) const {
  for (const ReadNotes::FlagFile& ff : cfg_.notes.flag_files) {
    std::string text;
    if (!read_whole_file(ff.path, text)) continue;
    LineReader lr(text);
    std::string_view raw;
    if (ff.zoned && !lr.next(raw)) continue;
    size_t longest = 0;
    long at = 0, lineno = ff.zoned ? 1 : 0;
    for (int r = 0; r < NROW && lr.next(raw); ++r) {
      ++lineno;
      const size_t len = rtrim(raw).size();
      if (len > longest) {
        longest = len;
        at = lineno;
      }
    }
    const size_t want = static_cast<size_t>(NCOL) * ff.width;
    const size_t w = static_cast<size_t>(ff.width);
    const bool half = 2 * longest <= want && 2 * longest + 2 * w > want;
    const bool twice = longest <= 2 * want && longest + 2 * w > 2 * want;
    if (!half && !twice) continue;
    const std::string fields = std::to_string(NCOL) + " fields of " + std::to_string(ff.width) +
                               (ff.width == 1 ? " character" : " characters");
    f.warn({text_place(ff.path, at, 1),
            "the longest line holds " + std::to_string(longest) + " characters, " +
                (half ? "half" : "twice") + " the " + std::to_string(want) + " of a row (" + fields + ")",
            {half ? "each row reads as its cells' values squeezed into the western half; the eastern half is 0"
                  : "each row reads the western half of its line; the rest is not read"},
            "write each cell's value right-aligned in " + std::to_string(ff.width) +
                (ff.width == 1 ? " character" : " characters")});
  }
}

void ValueCheck::soils(Findings& f) const {
  std::vector<int> cells;
  for (int i = 0; i < NCELL; ++i)
    if (cfg_.ibound[i] != 0 && cfg_.isoil[i] == 0) cells.push_back(i);
  if (cells.empty()) return;
  std::string shown = "the first: ";
  for (size_t k = 0; k < cells.size() && k < SHOWN; ++k) shown += (k ? "; " : "") + grid_cell(cells[k]);
  const long n = static_cast<long>(cells.size());
  f.warn({"", count(n, "active cell has", "active cells have") +
                  " no soil: the run warns 'Missing soil type' for each and takes precipitation "
                  "itself as the recharge",
          {shown},
          "the SOIL file gives each active cell a soil number from 1"},
         n);
}

void ValueCheck::report(Findings& f) {
  close_year();
  for (const Diag& d : cfg_.notes.errors) f.errors.push_back(d);
  for (const Diag& d : cfg_.notes.warnings) f.warn(d);
  flag_widths(f);
  soils(f);
  stations(f);
  for (const auto& [key, c] : codes_) {
    f.warn({c.dir + "/*." + c.tag,
            shortest(c.value) + " looks like a missing-value code: " + count(c.cells, "value", "values") +
                " of that kind in " + period_ranges(c.periods),
            {"the first in " + c.first},
            "a missing value reads as that number: write 0 where there is nothing"},
           c.cells);
  }
  for (int s = 0; s < 3; ++s) {
    const Acres& a = acres_[s];
    if (a.worst_cell < 0) continue;
    const long n = static_cast<long>(std::count(a.over.begin(), a.over.end(), 1));
    const int r = a.worst_cell / NCOL + 1, c = a.worst_cell % NCOL + 1;
    const std::string& dir = cfg_.stdir[s];
    f.warn({cell_place(a.worst_year, r, c, xc(c), yc(r)),
            std::string(group_name(s)) + ": agw + asw + aco above " + shortest(model_grid().acres) +
                " acres in " +
                count(n, "active cell", "active cells") + " (" + period_ranges(a.years) + "), the most " +
                number(a.worst, 2) + " acres",
            {"here " + shortest(a.worst_parts[0]) + " in " + std::string(rtrim(dir)) + "/" +
             std::to_string(a.worst_year) + ".agw + " + shortest(a.worst_parts[1]) + " in .asw + " +
             shortest(a.worst_parts[2]) + " in .aco"},
            model_grid().acres == 640.0
                ? "a cell is one square mile (640 acres): the run takes the cell as wholly irrigated"
                : "a cell is " + shortest(model_grid().acres) +
                      " acres: the run takes the cell as wholly irrigated"},
           n);
  }
}

}  // namespace vadz
