// Helpers for tests: temporary folders, files, and running the built program.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace vadz::test {

// The null device: writes succeed and are dropped.
#ifdef _WIN32
inline const std::string NULL_DEVICE = "NUL";
#else
inline const std::string NULL_DEVICE = "/dev/null";
#endif

// The console line a fatal stop carries, or "" when fn returned normally.
std::string fatal_line(const std::function<void()>& fn);

// A fresh folder under the system temporary folder, removed with its content
// when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void write_file(const std::string& path, const std::string& content);
std::string read_file(const std::string& path);
bool exists(const std::string& path);

// A grid file in text form: one row per line, values produced by f(c, r).
std::string text_grid(const std::function<double(int c, int r)>& f);
// A flag file: header line (empty for the plain form), then 165 lines of
// fields of the given width produced by f(c, r).
std::string flag_file(const std::string& header, int width,
                      const std::function<int(int c, int r)>& f);

struct RunResult {
  int status = -1;     // exit status of the program
  std::string out;     // standard output, bytes as written
  std::string err;     // standard error
};
// "" when standard error holds the place record of the stop whose console
// line ends standard output: "<place>: error: <message>" with the console
// line's message (blanks collapsed), then only note and hint lines. Else
// what is wrong.
std::string stop_record_fault(const RunResult& r);

// Runs the built vadz in folder dir with the given arguments.
RunResult run_vadz(const std::string& dir, const std::vector<std::string>& args);
#ifndef _WIN32
// The same, sending signal sig to the program once ready() holds (asked
// every few milliseconds while it runs). status is -signal when the program
// was ended by a signal.
RunResult run_vadz_signalled(const std::string& dir, const std::vector<std::string>& args,
                             int sig, const std::function<bool()>& ready);
#endif

// Writes the shipped example's data and its parameter file (as vadz.par,
// with extra lines appended) into dir, ready for run_vadz(dir, {"vadz.par"}).
void make_example(const std::string& dir, const std::string& extra_lines = "");

// The numbers of the budget table's rows on standard output, in row order,
// each with its period ("steady" or the year).
struct TableNumber {
  std::string period;
  double value = 0.0;
};
std::vector<TableNumber> budget_table_numbers(const std::string& out);

// Splits a text at sep (a trailing empty item is dropped).
std::vector<std::string> split(const std::string& s, char sep);
// Lines without their CR LF or LF ends.
std::vector<std::string> lines_of(const std::string& text);

// Joins lines with CR LF after each.
std::string crlf(const std::vector<std::string>& lines);

}  // namespace vadz::test
