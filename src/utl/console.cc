#include "utl/console.h"

#include <cstdio>
#include <exception>
#include <new>

#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

std::string& out_buffer() {
  static std::string buf;
  return buf;
}

// Control bytes of echoed input text as the console shows them.
char shown(char ch) {
  const unsigned char u = static_cast<unsigned char>(ch);
  return u < 32 || u == 127 ? '?' : ch;
}

}  // namespace

std::string printable(std::string_view s) {
  std::string out(s);
  for (char& ch : out) ch = shown(ch);
  return out;
}

ConsoleLine::ConsoleLine() : buf_(" ") {}

ConsoleLine& ConsoleLine::text(std::string_view s) {
  if (!last_text_ && buf_.size() > 1) buf_ += ' ';
  for (char ch : s) buf_ += shown(ch);
  last_text_ = true;
  return *this;
}

ConsoleLine& ConsoleLine::integer(int32_t v) {
  char f[LISTINT_WIDTH];
  put_int(f, LISTINT_WIDTH, v);
  buf_ += ' ';
  buf_.append(f, LISTINT_WIDTH);
  last_text_ = false;
  return *this;
}

ConsoleLine& ConsoleLine::real(double v) {
  char f[LISTREAL_WIDTH];
  put_listreal(f, v);
  buf_ += ' ';
  buf_.append(f, LISTREAL_WIDTH);
  last_text_ = false;
  return *this;
}

void console_write(std::string_view bytes) {
  std::string& buf = out_buffer();
  buf += bytes;
  if (buf.size() >= (1u << 16)) console_flush();
}

void console_line(const ConsoleLine& line) { console_write(line.str()); }

void console_flush() {
  std::string& buf = out_buffer();
  if (!buf.empty()) std::fwrite(buf.data(), 1, buf.size(), stdout);
  buf.clear();
  std::fflush(stdout);
}

// The first item of a console line is a text, so a message that is entirely
// blank still shows one blank (length keeps at least one character).
static std::string_view trimmed(std::string_view s) {
  return s.empty() ? std::string_view(" ") : s.substr(0, length(s));
}

void diag_write(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  std::fflush(stderr);
}

int run_guarded(const std::function<int()>& body) {
  try {
    const int status = body();
    console_flush();
    return status;
  } catch (const Fatal& f) {
    console_write(f.line());
    console_flush();
    if (f.has_place()) diag_write(render(f.place(), "error"));
    return f.status();
  } catch (const std::bad_alloc&) {
    console_line(ConsoleLine().text("Out of memory"));
    console_flush();
    return 1;
  } catch (const std::exception& e) {
    console_line(ConsoleLine().text("Internal error: ").text(e.what()));
    console_flush();
    return 1;
  } catch (...) {
    console_line(ConsoleLine().text("Internal error"));
    console_flush();
    return 1;
  }
}

// Every stop carries the place of the innermost open PlaceScope.
[[noreturn]] static void stop(std::string line) {
  Diag place = current_place(line);
  throw Fatal(std::move(line), std::move(place));
}

void error(std::string_view msg) { stop(ConsoleLine().text(trimmed(msg)).str()); }

void error2(std::string_view msg, std::string_view name) {
  stop(ConsoleLine().text(trimmed(msg)).text(" ").text(trimmed(name)).str());
}

void errorint(std::string_view msg, int32_t value) {
  stop(ConsoleLine().text(trimmed(msg)).text(" ").integer(value).str());
}

void errordbl(std::string_view msg, double value) {
  stop(ConsoleLine().text(trimmed(msg)).text(" ").real(value).str());
}

void error_open(std::string_view msg, std::string_view path) {
  const PlaceScope cause = hint_scope(open_hint(path));
  error2(msg, path);
}

}  // namespace vadz
