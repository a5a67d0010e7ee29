#include "gridtool/csv_table.h"

#include <cctype>

#include "utl/console.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

std::vector<std::string> split_fields(std::string_view line) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (ch == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        out.back() += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (ch == ',' && !quoted) {
      out.emplace_back();
    } else {
      out.back() += ch;
    }
  }
  for (std::string& f : out) {
    size_t a = 0, b = f.size();
    while (a < b && (f[a] == ' ' || f[a] == '\t')) ++a;
    while (b > a && (f[b - 1] == ' ' || f[b - 1] == '\t')) --b;
    f = f.substr(a, b - a);
  }
  return out;
}

std::string lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

}  // namespace

size_t CsvTable::column(const std::string& name) const {
  for (size_t k = 0; k < header.size(); ++k)
    if (lower(header[k]) == lower(name)) return k;
  int32_t n = 0;
  if (parse_int(name, n) && n >= 1 && static_cast<size_t>(n) <= header.size())
    return static_cast<size_t>(n - 1);
  error2("No column " + name + " in", path);
}

CsvTable read_csv(const std::string& path) {
  CsvTable t;
  t.path = path;
  std::string buf;
  if (!read_whole_file(path, buf)) error2("Error opening file", path);
  // A byte-order mark from spreadsheet programs is not part of the first name.
  if (buf.compare(0, 3, "\xEF\xBB\xBF") == 0) buf.erase(0, 3);
  LineReader rd(buf);
  std::string_view l;
  long n = 0;
  while (rd.next(l)) {
    ++n;
    if (rtrim(l).empty()) continue;
    if (t.header.empty()) {
      t.header = split_fields(l);
      continue;
    }
    t.rows.push_back(split_fields(l));
    t.line.push_back(n);
  }
  if (t.header.empty()) error2("Error reading file header", path);
  return t;
}

}  // namespace vadz
