#include "utl/diag.h"

#include <cstdio>

#include "utl/console.h"

namespace vadz {

namespace {
thread_local PlaceScope* innermost = nullptr;
}

std::string render(const Diag& d, std::string_view severity) {
  std::string out;
  if (!d.where.empty()) out += printable(d.where) + ": ";
  out += severity;
  out += ": ";
  out += printable(d.what);
  out += "\r\n";
  for (const std::string& n : d.notes) out += "  note: " + printable(n) + "\r\n";
  if (!d.hint.empty()) out += "hint: " + printable(d.hint) + "\r\n";
  return out;
}

std::string text_place(std::string_view file, long line, long col) {
  return std::string(file) + ":" + std::to_string(line) + ":" + std::to_string(col);
}

void line_col(std::string_view text, size_t at, long& line, long& col) {
  if (at > text.size()) at = text.size();
  line = 1;
  size_t start = 0;
  for (size_t i = 0; i < at; ++i) {
    if (text[i] == '\n') {
      ++line;
      start = i + 1;
    }
  }
  col = static_cast<long>(at - start) + 1;
}

std::string cell_place(int year, int row, int col, double x, double y) {
  char xy[80];
  std::snprintf(xy, sizeof xy, " (%.0f, %.0f)", x, y);
  const std::string when = year < 0 ? std::string("steady period") : "year " + std::to_string(year);
  return when + ", row " + std::to_string(row) + ", column " + std::to_string(col) + xy;
}

PlaceScope::PlaceScope(std::function<Diag()> where) : where_(std::move(where)), outer_(innermost) {
  innermost = this;
}

PlaceScope::~PlaceScope() { innermost = outer_; }

Diag current_place(std::string_view message) {
  Diag d;
  for (PlaceScope* s = innermost; s; s = s->outer_) {
    d = s->where_();
    if (!d.where.empty()) break;
  }
  if (d.what.empty()) {
    // The console message without its leading blank and line end.
    std::string_view m = message;
    while (!m.empty() && (m.front() == ' ')) m.remove_prefix(1);
    while (!m.empty() && (m.back() == '\n' || m.back() == '\r' || m.back() == ' ')) m.remove_suffix(1);
    d.what = std::string(m);
  }
  return d;
}

}  // namespace vadz
