#include "utl/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vadz {

namespace {

char* stars(char* p, int w) {
  std::memset(p, '*', w);
  return p + w;
}

// Right-aligns n characters of s in a field of w; asterisks when too wide.
char* place(char* p, int w, const char* s, int n) {
  if (n > w) return stars(p, w);
  std::memset(p, ' ', w - n);
  std::memcpy(p + (w - n), s, n);
  return p + w;
}

// NaN and infinities in a field of w: "NaN", "Infinity" or "Inf" with a
// minus for negative infinity.
char* put_special(char* p, int w, double v) {
  if (std::isnan(v)) return place(p, w, "NaN", 3);
  const bool neg = v < 0;
  if (w >= 8 + (neg ? 1 : 0)) return place(p, w, neg ? "-Infinity" : "Infinity", neg ? 9 : 8);
  return place(p, w, neg ? "-Inf" : "Inf", neg ? 4 : 3);
}

}  // namespace

char* put_int(char* p, int w, int64_t v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return place(p, w, buf, static_cast<int>(r.ptr - buf));
}

char* put_int_zero(char* p, int w, int64_t v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  const int n = static_cast<int>(r.ptr - buf);
  if (v < 0 || n > w) return stars(p, w);
  std::memset(p, '0', w - n);
  std::memcpy(p + (w - n), buf, n);
  return p + w;
}

namespace {

constexpr double POW10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr char DIGITS2[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Fast path of put_fixed for moderate magnitudes: the rounded product
// a * 10^d decides the rounding of the exact product whenever it lies
// clearly away from a half (the product's error is below 2^-22 there).
// Returns nullptr when the slow path must decide.
char* fixed_fast(char* p, int w, int d, double v, double a) {
  const double x = a * POW10[d];
  if (!(x < 2147483648.0)) return nullptr;
  const uint32_t fl = static_cast<uint32_t>(x);  // floor: x is not negative
  const double frac = x - fl;
  if (std::fabs(frac - 0.5) < 1e-6) return nullptr;
  uint32_t n = fl + (frac > 0.5 ? 1u : 0u);
  char buf[32];
  char* const e = buf + sizeof buf;
  char* s = e;
  int i = 0;
  for (; i + 2 <= d; i += 2) {
    const uint32_t q = n / 100;
    const uint32_t r = n - q * 100;
    s -= 2;
    s[0] = DIGITS2[2 * r];
    s[1] = DIGITS2[2 * r + 1];
    n = q;
  }
  if (i < d) {
    *--s = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  *--s = '.';
  do {
    *--s = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  if (v < 0) *--s = '-';
  int len = static_cast<int>(e - s);
  if (len > w) {
    char* z = (v < 0) ? s + 1 : s;
    if (len - 1 <= w && z[0] == '0' && z[1] == '.') {
      // The 0 before the point is optional when the field has no room for it.
      if (v < 0) {
        z[0] = '-';
        s = z;
      } else {
        s = z + 1;
      }
      --len;
    } else {
      return stars(p, w);
    }
  }
  for (int k = 0; k < w - len; ++k) p[k] = ' ';
  std::memcpy(p + (w - len), s, static_cast<size_t>(len));
  return p + w;
}

}  // namespace

char* put_fixed(char* p, int w, int d, double v) {
  // Zero is the most common value of the model arrays (dry cells, no
  // irrigation returns): blanks, "0." and d zeros.
  if (v == 0.0 && d >= 1 && w >= d + 2) {
    std::memset(p, ' ', static_cast<size_t>(w - d - 2));
    p[w - d - 2] = '0';
    p[w - d - 1] = '.';
    std::memset(p + (w - d), '0', static_cast<size_t>(d));
    return p + w;
  }
  if (!std::isfinite(v)) return put_special(p, w, v);
  const double a = std::fabs(v);
  if (d <= 9) {
    if (char* q = fixed_fast(p, w, d, v, a)) return q;
  }
  // Anything at or above 1e(w) cannot fit; spares formatting 300-digit numbers.
  if (a >= 1e22 && w <= 22) return stars(p, w);
  char buf[400];
  char* s = buf + 1;  // room for the sign
  auto r = std::to_chars(s, buf + sizeof buf - 1, a, std::chars_format::fixed, d);
  char* e = r.ptr;
  if (d == 0) *e++ = '.';
  if (v < 0) *--s = '-';
  int n = static_cast<int>(e - s);
  if (n > w) {
    // The 0 before the point is optional when the field has no room for it.
    char* z = (v < 0) ? s + 1 : s;
    if (n - 1 <= w && z[0] == '0' && z[1] == '.') {
      std::memmove(z, z + 1, e - z - 1);
      --n;
    } else {
      return stars(p, w);
    }
  }
  return place(p, w, s, n);
}

char* put_sci(char* p, int w, int d, double v) {
  if (!std::isfinite(v)) return put_special(p, w, v);
  char m[64];
  auto r = std::to_chars(m, m + sizeof m, std::fabs(v), std::chars_format::scientific, d);
  // m holds d.ddde[+-]XX; the exponent follows the 'e'.
  char* epos = static_cast<char*>(std::memchr(m, 'e', r.ptr - m));
  int ex = 0;
  std::from_chars(epos + 2, r.ptr, ex);
  if (epos[1] == '-') ex = -ex;
  char buf[80];
  int n = 0;
  if (v < 0) buf[n++] = '-';
  std::memcpy(buf + n, m, epos - m);
  n += static_cast<int>(epos - m);
  const int ax = ex < 0 ? -ex : ex;
  if (ax <= 99) {
    buf[n++] = 'E';
    buf[n++] = ex < 0 ? '-' : '+';
    buf[n++] = static_cast<char>('0' + ax / 10);
    buf[n++] = static_cast<char>('0' + ax % 10);
  } else {
    // Three-digit exponents drop the letter, as the model's readers expect.
    buf[n++] = ex < 0 ? '-' : '+';
    buf[n++] = static_cast<char>('0' + ax / 100);
    buf[n++] = static_cast<char>('0' + ax / 10 % 10);
    buf[n++] = static_cast<char>('0' + ax % 10);
  }
  return place(p, w, buf, n);
}

char* put_listreal(char* p, double v) {
  constexpr int W = LISTREAL_WIDTH;
  if (!std::isfinite(v)) return put_special(p, W, v);
  char buf[64];
  int n = 0;
  if (std::signbit(v)) buf[n++] = '-';
  const double a = std::fabs(v);
  if (a == 0.0) {
    std::memcpy(buf + n, "0.0000000000000000", 18);
    n += 18;
    place(p, 20, buf, n);
    std::memset(p + 20, ' ', 5);
    return p + W;
  }
  // 17 significant digits; the exponent after rounding picks the form.
  char m[64];
  auto r = std::to_chars(m, m + sizeof m, a, std::chars_format::scientific, 16);
  char* epos = static_cast<char*>(std::memchr(m, 'e', r.ptr - m));
  int ex = 0;
  std::from_chars(epos + 2, r.ptr, ex);
  if (epos[1] == '-') ex = -ex;
  if (ex >= -1 && ex <= 16) {
    const int dec = 16 - ex;  // 17 - digits before the point (0 below 1)
    auto f = std::to_chars(buf + n, buf + sizeof buf, a, std::chars_format::fixed, dec);
    n = static_cast<int>(f.ptr - buf);
    if (dec == 0) buf[n++] = '.';
    place(p, 20, buf, n);
    std::memset(p + 20, ' ', 5);
    return p + W;
  }
  std::memcpy(buf + n, m, epos - m);
  n += static_cast<int>(epos - m);
  const int ax = ex < 0 ? -ex : ex;
  buf[n++] = 'E';
  buf[n++] = ex < 0 ? '-' : '+';
  buf[n++] = static_cast<char>('0' + ax / 100);
  buf[n++] = static_cast<char>('0' + ax / 10 % 10);
  buf[n++] = static_cast<char>('0' + ax % 10);
  return place(p, W, buf, n);
}

char* put_shortest(char* p, double v) {
  if (std::isnan(v)) return std::copy_n("NaN", 3, p);
  if (std::isinf(v)) return v > 0 ? std::copy_n("inf", 3, p) : std::copy_n("-inf", 4, p);
  return std::to_chars(p, p + SHORTEST_MAX, v).ptr;
}

char* put_integer(char* p, int64_t v) { return std::to_chars(p, p + 20, v).ptr; }

char* put_grouped(char* p, int d, double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 1e30) return put_shortest(p, v);
  d = std::clamp(d, 0, 9);
  // The digits as put_fixed rounds them, then commas between the groups.
  char buf[48];
  char* e = put_fixed(buf, 44, d, v);
  const char* s = buf;
  while (*s == ' ') ++s;
  if (*s == '-') *p++ = *s++;
  const char* point = std::find(s, static_cast<const char*>(e), '.');
  const int nint = static_cast<int>(point - s);
  for (int i = 0; i < nint; ++i) {
    if (i > 0 && (nint - i) % 3 == 0) *p++ = ',';
    *p++ = s[i];
  }
  // put_fixed ends a number without decimals in its point: drop it.
  if (d > 0) p = std::copy(point, static_cast<const char*>(e), p);
  return p;
}

}  // namespace vadz
