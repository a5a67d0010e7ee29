#include "utl/scan.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vadz {

namespace {

// Skips blanks from column p; returns the first non-blank column or n + 1.
int skip_blanks(std::string_view line, int p) {
  const int n = static_cast<int>(line.size());
  if (p < 1) p = 1;
  while (p <= n && line[p - 1] == ' ') ++p;
  return p;
}

// The run of non-blank characters from column p: [p, end).
int token_end(std::string_view line, int p) {
  const int n = static_cast<int>(line.size());
  while (p <= n && line[p - 1] != ' ') ++p;
  return p;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return true;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A number field is read from the token's first 32 characters only.
constexpr size_t FIELD = 32;

}  // namespace

std::string charin(std::string_view line, int start, int& pos, int& status) {
  const int n = static_cast<int>(line.size());
  status = -1;
  int p = skip_blanks(line, start);
  if (p > n) {
    pos = n + 1;
    return {};
  }
  if (line[p - 1] == '"') {
    int q = p + 1;
    while (q <= n && line[q - 1] != '"') ++q;
    if (q > n) {
      pos = n + 1;
      return {};
    }
    pos = q + 1;
    status = 0;
    return std::string(line.data() + p, static_cast<size_t>(q - p - 1));
  }
  const int q = token_end(line, p);
  pos = q;
  status = 0;
  return std::string(line.data() + (p - 1), static_cast<size_t>(q - p));
}

// The next blank-separated token read as a number by parse (no quotes).
template <class T, class Parse>
T scan_number(std::string_view line, int start, int& pos, int& status, Parse parse) {
  const int n = static_cast<int>(line.size());
  status = -1;
  int p = skip_blanks(line, start);
  if (p > n) {
    pos = n + 1;
    return T{};
  }
  const int q = token_end(line, p);
  pos = q;
  T v{};
  if (!parse(line.substr(p - 1, q - p).substr(0, FIELD), v)) {
    status = 1;
    return T{};
  }
  status = 0;
  return v;
}

int32_t intin(std::string_view line, int start, int& pos, int& status) {
  return scan_number<int32_t>(line, start, pos, status,
                              [](std::string_view t, int32_t& v) { return parse_int(t, v); });
}

double realin(std::string_view line, int start, int& pos, int& status) {
  return scan_number<double>(line, start, pos, status,
                             [](std::string_view t, double& v) { return parse_real(t, v); });
}

int token_start(std::string_view line, int pos) {
  const int n = static_cast<int>(line.size());
  if (pos < 1) return 1;
  int p = pos > n + 1 ? n + 1 : pos;
  if (p <= 1 || line[p - 2] == ' ') return p;
  while (p > 1 && line[p - 2] != ' ') --p;
  return p;
}

bool eol(std::string_view line, int& pos) {
  pos = skip_blanks(line, pos);
  return pos > static_cast<int>(line.size());
}

int linefix(std::string& line) {
  bool blank = true;
  for (char& ch : line) {
    const unsigned char u = static_cast<unsigned char>(ch);
    if (u < 32 || u > 126) ch = ' ';
    if (ch != ' ') blank = false;
  }
  if (!line.empty() && line[0] == '#') return 1;
  return blank ? -1 : 0;
}

int length0(std::string_view text) {
  int n = static_cast<int>(text.size());
  while (n > 0 && text[n - 1] == ' ') --n;
  return n;
}

int length(std::string_view text) {
  const int n = length0(text);
  return n > 0 ? n : 1;
}

std::string_view rtrim(std::string_view text) { return text.substr(0, length0(text)); }

void uppercase(std::string& text) {
  for (char& ch : text)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
}

bool parse_int(std::string_view t, int32_t& value) {
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
  if (i == t.size()) return false;
  int64_t v = 0;
  for (; i < t.size(); ++i) {
    if (!is_digit(t[i])) return false;
    v = v * 10 + (t[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (neg) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool parse_real(std::string_view t, double& value) {
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
  std::string_view rest = t.substr(i);
  if (iequals(rest, "INF") || iequals(rest, "INFINITY")) {
    value = neg ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return true;
  }
  if (iequals(rest, "NAN")) {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  // The token is rewritten into the form from_chars reads: the mantissa as it
  // stands, then 'e', the exponent's sign and digits. The rewrite is at most
  // one character longer than the token; a token of any length is read whole
  // (long digit runs and zero-padded fields occur in real files), on the
  // stack when it is of ordinary length.
  char small[128];
  std::string large;
  char* buf = small;
  if (t.size() + 1 > sizeof small) {
    large.resize(t.size() + 1);
    buf = large.data();
  }
  // Mantissa: digits with at most one point, at least one digit.
  size_t n = 0;
  int digits = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (is_digit(c)) {
      ++digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    buf[n++] = c;
  }
  if (digits == 0) return false;
  bool expneg = false;
  if (i < t.size()) {
    // Exponent: a letter E, D or Q with an optional sign, or a bare sign.
    const char c = t[i];
    const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (u == 'E' || u == 'D' || u == 'Q') {
      ++i;
      if (i < t.size() && (t[i] == '+' || t[i] == '-')) expneg = t[i++] == '-';
    } else if (c == '+' || c == '-') {
      expneg = c == '-';
      ++i;
    } else {
      return false;
    }
    if (i == t.size()) return false;
    buf[n++] = 'e';
    if (expneg) buf[n++] = '-';
    for (; i < t.size(); ++i) {
      if (!is_digit(t[i])) return false;
      buf[n++] = t[i];
    }
  }
  double v = 0.0;
  auto r = std::from_chars(buf, buf + n, v);
  if (r.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is not a representable number.
    if (!expneg) return false;
    v = 0.0;
  } else if (r.ec != std::errc() || r.ptr != buf + n) {
    return false;
  }
  value = neg ? -v : v;
  return true;
}

}  // namespace vadz
