#include "utl/diag.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

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

std::string open_hint(std::string_view path) {
  const std::filesystem::path p{std::string(path)};
  if (path.empty() || p.is_absolute()) return {};
  std::error_code ec;
  // A path whose first folder is there was sought in the right place.
  if (std::filesystem::exists(*p.begin(), ec)) return {};
  const std::filesystem::path here = std::filesystem::current_path(ec);
  if (ec) return "paths in the parameter file are relative to the working folder";
  return "paths in the parameter file are relative to the working folder, here " + here.string();
}

bool is_missing_code(double v) { return v == -99.0 || v == -999.0 || v == -9999.0 || v <= -1e30; }

bool looks_like_degrees(double x, double y) { return x >= -180.0 && x <= 180.0 && y >= -90.0 && y <= 90.0; }

PlaceScope::PlaceScope(std::function<Diag()> where) : where_(std::move(where)), outer_(innermost) {
  innermost = this;
}

PlaceScope::~PlaceScope() { innermost = outer_; }

PlaceScope hint_scope(std::string hint) {
  return PlaceScope([h = std::move(hint)] { return Diag{"", "", {}, h}; });
}

Diag current_place(std::string_view message) {
  Diag d;
  std::vector<std::string> notes;
  std::string hint;
  for (PlaceScope* s = innermost; s; s = s->outer_) {
    Diag here = s->where_();
    if (hint.empty()) hint = here.hint;
    if (here.where.empty()) {
      notes.insert(notes.end(), here.notes.begin(), here.notes.end());
      continue;
    }
    d = std::move(here);
    break;
  }
  d.notes.insert(d.notes.end(), notes.begin(), notes.end());
  if (!hint.empty()) d.hint = hint;
  if (d.what.empty()) {
    // The console message without its leading blank and line end.
    std::string_view m = message;
    while (!m.empty() && (m.front() == ' ')) m.remove_prefix(1);
    while (!m.empty() && (m.back() == '\n' || m.back() == '\r' || m.back() == ' ')) m.remove_suffix(1);
    // Blanks that pad a number's field on the console are one blank here.
    for (char ch : m)
      if (ch != ' ' || d.what.empty() || d.what.back() != ' ') d.what += ch;
  }
  return d;
}

}  // namespace vadz
