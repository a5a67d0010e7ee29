// Where a fault lies, and what usually causes it. A stop prints its one
// console line on standard output unchanged; the place follows on standard
// error in the form editors jump to ("file:line:col: error: what"), with a
// "hint: " line where the usual cause is one thing. --check prints the same
// records as its error: and warning: lines.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vadz {

struct Diag {
  // "file:12:5", "file" (a binary grid: the offset goes in notes), or
  // "year 1999, row 12, column 40 (x, y)"; empty when nothing better is known.
  std::string where;
  std::string what;                // the fault in words; empty: the console message
  std::vector<std::string> notes;  // further lines, shown indented ("  note: ...")
  std::string hint;                // one line, shown as "hint: ..."; may be empty
};

// "where: severity: what" (or "severity: what" without a place), then the
// notes and the hint, each line ending in CR LF like the console's.
std::string render(const Diag& d, std::string_view severity);

// The place of a text file's token: "file:line:col" (both from 1).
std::string text_place(std::string_view file, long line, long col);
// Line and column (from 1) of byte offset `at` in a file's text.
void line_col(std::string_view text, size_t at, long& line, long& col);
// The place of a computed cell value: "year Y, row R, column C (x, y)";
// year -1 is the steady period.
std::string cell_place(int year, int row, int col, double x, double y);

// A hint for a file named in the input that cannot be opened: a relative
// path is sought from the working folder, which is named; empty for an
// absolute path, or when the path's first part is there (the folder is
// right, the file is what is missing).
std::string open_hint(std::string_view path);
// A value that is a usual missing-value code rather than data: -99, -999,
// -9999, or -1e30 and below.
bool is_missing_code(double v);
// Coordinates that look like longitude and latitude in degrees, not feet.
bool looks_like_degrees(double x, double y);

// The place being read or computed, for stops raised deep inside a reader
// through error(): a reader opens a scope whose function describes where it
// stands at the moment of the fault (evaluated only then, so the hot path
// just keeps its position current). Scopes nest; the innermost that returns
// a place wins, and a scope without a place that gives notes or a hint (a
// cause known where the stop is raised) adds them. Not shared between threads.
class PlaceScope {
 public:
  explicit PlaceScope(std::function<Diag()> where);
  ~PlaceScope();
  PlaceScope(const PlaceScope&) = delete;
  PlaceScope& operator=(const PlaceScope&) = delete;

 private:
  friend Diag current_place(std::string_view message);
  std::function<Diag()> where_;
  PlaceScope* outer_;
};

// A scope that adds only a hint to a stop raised inside it.
PlaceScope hint_scope(std::string hint);

// The innermost open scope's place, with `what` filled from `message` when
// the scope left it empty; empty `where` when no scope is open.
Diag current_place(std::string_view message);

}  // namespace vadz
