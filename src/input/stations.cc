#include "input/stations.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "utl/console.h"
#include "utl/diag.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

constexpr size_t NAMELEN = 16;  // station names are matched on their first 16 characters

std::string with_line(std::string_view msg, std::string_view line) {
  std::string s(msg);
  s += rtrim(line);
  return s;
}

// The end mark of both station files, recognised on the line as read:
// "END" in capitals from the first column, then blanks only.
bool is_end(std::string_view raw) {
  if (raw.substr(0, 3) != "END") return false;
  return raw.find_first_not_of(' ', 3) == std::string_view::npos;
}

// Next data line of a station file into line (cleaned), skipping comment and
// blank lines; false at "END" or the end of the file. lineno counts the
// lines read.
bool next_data_line(LineReader& lr, std::string& line, long& lineno) {
  std::string_view raw;
  while (lr.next(raw)) {
    ++lineno;
    if (is_end(raw)) return false;
    line.assign(raw);
    if (linefix(line) == 0) return true;
  }
  return false;
}

// Compares a header token with a kept station name, trailing blanks ignored.
bool same_name(std::string_view token, std::string_view name) {
  return rtrim(token) == rtrim(name);
}

std::string upper(std::string_view s) {
  std::string u(rtrim(s));
  uppercase(u);
  return u;
}

bool same_name_but_case(std::string_view token, std::string_view name) {
  return upper(token) == upper(name);
}

// Where a station file's reader stands: the line and the token last scanned.
Diag line_place(const std::string& file, long lineno, std::string_view line, int pos) {
  return Diag{text_place(file, lineno, token_start(line, pos)), "", {}, ""};
}

}  // namespace

void readstation(LineState& ls, StationTable& st, ReadNotes* notes) {
  int status = 0;
  std::string locfile = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) error(with_line("Invalid STATION location file name ", ls.line));
  locfile.assign(rtrim(locfile));
  std::string buf;
  if (!read_whole_file(locfile, buf)) {
    const PlaceScope cause = hint_scope(open_hint(locfile));
    error("Error opening file " + locfile);
  }
  std::string pcpfile = charin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0) error(with_line("Invalid STATION precipitation file name ", ls.line));
  pcpfile.assign(rtrim(pcpfile));
  int idrift = intin(ls.line, ls.ipos, ls.ipos, status);
  if (status != 0 || idrift < 0 || idrift > 3)
    error(with_line("Invalid STATION drift order ", ls.line));
  st.idrift = idrift;
  st.locfile = locfile;
  st.pcpfile = pcpfile;

  // Location file: a header line, then name, X, Y (feet) per station.
  std::array<std::string, MAXSTN>& names = st.names;
  {
    LineReader lr(buf);
    std::string_view raw;
    if (!lr.next(raw)) error2("Error reading file header", locfile);
    st.nstn = 0;
    long lineno = 1;
    int pos = 1;
    const PlaceScope here([&] { return line_place(locfile, lineno, ls.line, pos); });
    while (next_data_line(lr, ls.line, lineno)) {
      if (st.nstn + 1 > MAXSTN) error("Too many stations");
      int i = st.nstn++;
      pos = 1;
      std::string name = charin(ls.line, pos, pos, status);
      if (status != 0) error(with_line("Invalid station name ", ls.line));
      st.name[i] = name;
      if (name.size() > NAMELEN) name.resize(NAMELEN);
      names[i] = std::move(name);
      double x = realin(ls.line, pos, pos, status);
      if (status != 0 || !std::isfinite(x)) error(with_line("Invalid station X ", ls.line));
      double y = realin(ls.line, pos, pos, status);
      if (status != 0 || !std::isfinite(y)) error(with_line("Invalid station Y ", ls.line));
      st.stnx[i] = x;
      st.stny[i] = y;
    }
  }

  // Precipitation file: a header naming the stations in location-file
  // order after a label, then a year and one value (inches) per station.
  if (!read_whole_file(pcpfile, buf)) {
    const PlaceScope cause = hint_scope(open_hint(pcpfile));
    error("Error opening file " + pcpfile);
  }
  LineReader lr(buf);
  std::string_view raw;
  if (!lr.next(raw)) error2("Error reading file header", pcpfile);
  // The header is taken as it stands: only blanks separate its names.
  std::string_view header = raw;
  int pos = 1;
  charin(header, pos, pos, status);
  for (int i = 0; i < st.nstn; ++i) {
    std::string tok = charin(header, pos, pos, status);
    if (status == 0 && same_name(tok, names[i])) continue;
    // The run stops here; the input check notes a name that differs only in
    // case as an error at the same place and reads on.
    const auto place = [&] {
      Diag d = line_place(pcpfile, 1, header, pos);
      d.notes.push_back("station " + std::to_string(i + 1) + " of " + locfile + " is '" +
                        std::string(rtrim(names[i])) + "'");
      if (status == 0 && same_name_but_case(tok, names[i]))
        d.hint = "the names differ only in case: station names are matched as written; write " +
                 std::string(rtrim(names[i])) + " in both files";
      else if (status != 0)
        d.hint = "the header names " + std::to_string(i) + " of the " + std::to_string(st.nstn) +
                 " stations of " + locfile;
      return d;
    };
    if (notes && status == 0 && same_name_but_case(tok, names[i])) {
      Diag d = place();
      d.what = "Precip data out of order " + tok;
      notes->errors.push_back(std::move(d));
      continue;
    }
    const PlaceScope here(place);
    error("Precip data out of order " + tok);
  }

  for (int y = 0; y < NYEARS; ++y)
    std::fill_n(st.pstn.begin() + MAXSTN * y, st.nstn, 0.0);
  st.hasyear.fill(false);
  long lineno = 1;
  const PlaceScope here([&] { return line_place(pcpfile, lineno, ls.line, pos); });
  while (next_data_line(lr, ls.line, lineno)) {
    pos = 1;
    int year = intin(ls.line, pos, pos, status);
    if (status != 0) error(with_line("Invalid precip year ", ls.line));
    if (year < FIRST_YEAR || year > LAST_YEAR) continue;
    double* row = &st.pstn[MAXSTN * (year - FIRST_YEAR)];
    for (int i = 0; i < st.nstn; ++i) {
      double v = realin(ls.line, pos, pos, status);
      if (status != 0 || !std::isfinite(v)) error(with_line("Invalid precip data ", ls.line));
      row[i] = v;
    }
    st.hasyear[year - FIRST_YEAR] = true;
  }
}

Diag station_system_place(const StationTable& st) {
  Diag d{st.locfile, "", {}, ""};
  for (int i = 0; i < st.nstn; ++i)
    for (int j = i + 1; j < st.nstn; ++j)
      if (st.stnx[i] == st.stnx[j] && st.stny[i] == st.stny[j]) {
        d.notes.push_back("stations " + std::string(rtrim(st.names[i])) + " and " +
                          std::string(rtrim(st.names[j])) + " are at the same X and Y");
        return d;
      }
  d.notes.push_back(std::to_string(st.nstn) + (st.nstn == 1 ? " station" : " stations") +
                    ", drift order " + std::to_string(st.idrift));
  return d;
}

void StationTable::require_year(int year) const {
  if (!has_year(year)) {
    const PlaceScope here([&] {
      int first = 0, last = 0;
      for (int y = FIRST_YEAR; y <= LAST_YEAR; ++y)
        if (has_year(y)) {
          if (first == 0) first = y;
          last = y;
        }
      Diag d{pcpfile, "", {}, ""};
      d.notes.push_back(first == 0 ? std::string("the file has no data line")
                                   : "the file's data lines run from " + std::to_string(first) +
                                         " to " + std::to_string(last) + " and lack " +
                                         std::to_string(year));
      return d;
    });
    errorint("No precip data for year", year);
  }
}

}  // namespace vadz
