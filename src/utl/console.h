// The console line: the one free-form layout of standard output, and the
// fatal-error path built on it.
#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "utl/diag.h"

namespace vadz {

// Builds one console line: a leading blank, items in order, CR LF at the end.
// A text item directly after another text item is joined without a blank;
// every other item is preceded by one blank. Text items are shown printable.
class ConsoleLine {
 public:
  ConsoleLine();
  ConsoleLine& text(std::string_view s);
  ConsoleLine& integer(int32_t v);
  ConsoleLine& real(double v);
  // The finished line, CR LF included.
  std::string str() const { return buf_ + "\r\n"; }

 private:
  std::string buf_;
  bool last_text_ = false;
};

// Text echoed from an input file as the console shows it: control bytes
// (below 32, and 127) become '?', so none reaches the terminal or breaks a
// column; bytes from 128 up stay, as names may be UTF-8.
std::string printable(std::string_view s);

// Standard output, buffered; flushed by console_flush() and at fatal stops.
void console_write(std::string_view bytes);
void console_line(const ConsoleLine& line);
void console_flush();

// A fatal stop: carries the finished console line and the fault's place.
// Thrown at the fault, caught in main, which prints the line on standard
// output and the place on standard error, and ends with status 1 (another
// status for a signal) after every open output file has been closed by its
// owner's destructor.
class Fatal : public std::runtime_error {
 public:
  explicit Fatal(std::string line, int status = 1)
      : std::runtime_error(line), line_(std::move(line)), status_(status) {}
  Fatal(std::string line, Diag place, int status = 1)
      : std::runtime_error(line), line_(std::move(line)), status_(status), place_(std::move(place)) {}
  const std::string& line() const { return line_; }
  int status() const { return status_; }
  // Where the fault lies; `where` and `hint` empty when nothing is known.
  const Diag& place() const { return place_; }
  bool has_place() const { return !place_.where.empty() || !place_.hint.empty(); }

 private:
  std::string line_;
  int status_;
  Diag place_;
};

// Standard error: the place of a stop, and warnings beside the run.
void diag_write(std::string_view bytes);

// A program's body behind the one fatal path: a Fatal prints its console
// line and then its place; out of memory and internal errors print one line
// each (the stack unwinds first, so every output file is closed). Returns
// the body's exit status, or the stop's.
int run_guarded(const std::function<int()>& body);

// The four error routines: message trimmed, then nothing, a name, an
// integer or a real.
[[noreturn]] void error(std::string_view msg);
[[noreturn]] void error2(std::string_view msg, std::string_view name);
[[noreturn]] void errorint(std::string_view msg, int32_t value);
[[noreturn]] void errordbl(std::string_view msg, double value);
// An input file that cannot be opened or is absent: error2's line, with a
// hint naming the working folder when the path is relative.
[[noreturn]] void error_open(std::string_view msg, std::string_view path);

}  // namespace vadz
