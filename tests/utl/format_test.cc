#include "utl/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace vadz {
namespace {

std::string fixed(int w, int d, double v) {
  char b[64];
  return std::string(b, put_fixed(b, w, d, v));
}
std::string sci(int w, int d, double v) {
  char b[64];
  return std::string(b, put_sci(b, w, d, v));
}
std::string listreal(double v) {
  char b[64];
  return std::string(b, put_listreal(b, v));
}
std::string integer(int w, int64_t v) {
  char b[64];
  return std::string(b, put_int(b, w, v));
}

TEST(FormatTest, Integers) {
  struct Case { int w; int64_t v; const char* want; } cases[] = {
      {10, 14000, "     14000"}, {5, -1, "   -1"}, {3, -1, " -1"}, {4, 165, " 165"},
      {11, -2147483648LL, "-2147483648"}, {2, 100, "**"}, {1, 1, "1"}, {5, 0, "    0"},
  };
  for (const auto& c : cases) EXPECT_EQ(integer(c.w, c.v), c.want) << c.v;
  char b[8];
  EXPECT_EQ(std::string(b, put_int_zero(b, 2, 5)), "05");
  EXPECT_EQ(std::string(b, put_int_zero(b, 2, 12)), "12");
  EXPECT_EQ(std::string(b, put_int_zero(b, 2, 123)), "**");
  EXPECT_EQ(std::string(b, put_int_zero(b, 2, -1)), "**");
}

TEST(FormatTest, FixedPoint) {
  struct Case { int w, d; double v; const char* want; } cases[] = {
      {9, 5, 0.5, "  0.50000"},
      {9, 5, -0.5, " -0.50000"},
      {9, 5, 0.0, "  0.00000"},
      {9, 5, -0.0, "  0.00000"},
      {9, 5, -1e-7, " -0.00000"},
      {9, 5, 123.456789, "123.45679"},
      {9, 5, 1234.5, "*********"},
      {9, 5, -999.99999, "*********"},
      {9, 5, -99.999994, "-99.99999"},
      {9, 5, 0.000005, "  0.00001"},     // the binary value lies just above the tie
      {9, 5, 0.125, "  0.12500"},
      {6, 1, 0.05, "   0.1"},             // 0.05 is a little above the tie
      {6, 1, 0.25, "   0.2"},             // an exact tie rounds to even
      {6, 1, 0.35, "   0.3"},             // 0.35 lies a little below the tie
      {12, 0, 268663.0, "     268663."},
      {12, 0, 14961366.0, "   14961366."},
      {12, 2, -1.005, "       -1.00"},
      {12, 6, 1.0, "    1.000000"},
      {6, 3, 99.99951, "******"},
      {6, 3, 99.9995, "99.999"},        // 99.99949999... in binary
      {6, 3, -9.99951, "******"},
      {6, 3, -9.9995, "-9.999"},
      {6, 3, -9.999, "-9.999"},
      {6, 3, 123.4, "******"},
      {5, 3, -0.5, "-.500"},             // no room for the 0 before the point
      {4, 3, 0.5, ".500"},
      {8, 3, 1e300, "********"},
      {10, 1, 1e21, "**********"},
      {23, 0, 1e21, "1000000000000000000000."},
  };
  for (const auto& c : cases) EXPECT_EQ(fixed(c.w, c.d, c.v), c.want) << c.v;
}

TEST(FormatTest, Grouped) {
  struct Case { int d; double v; const char* want; } cases[] = {
      {1, 2094883.25, "2,094,883.2"}, {0, 38696, "38,696"},     {1, 999.95, "1,000.0"},
      {2, -1234.5, "-1,234.50"},      {1, 0.04, "0.0"},           {0, 100, "100"},
      {3, 123456.0, "123,456.000"},   {1, NAN, "NaN"},            {0, 1e30, "1e+30"},
  };
  for (const auto& c : cases) {
    char b[GROUPED_MAX];
    EXPECT_EQ(std::string(b, put_grouped(b, c.d, c.v)), c.want) << c.v;
  }
}

TEST(FormatTest, FixedPointSpecialValues) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(fixed(10, 1, std::nan("")), "       NaN");
  EXPECT_EQ(fixed(10, 1, -std::nan("")), "       NaN");
  EXPECT_EQ(fixed(10, 1, inf), "  Infinity");
  EXPECT_EQ(fixed(10, 1, -inf), " -Infinity");
  EXPECT_EQ(fixed(6, 3, inf), "   Inf");
  EXPECT_EQ(fixed(2, 0, -inf), "**");
}

TEST(FormatTest, ArrayMultiplier) {
  EXPECT_EQ(sci(15, 8, 0.08333333333333333 / 2678400), " 3.11131023E-08");
  EXPECT_EQ(sci(15, 8, 0.08333333333333333 / 31557600), " 2.64067398E-09");
  EXPECT_EQ(sci(15, 8, -2.5), "-2.50000000E+00");
  EXPECT_EQ(sci(15, 8, 0.0), " 0.00000000E+00");
  EXPECT_EQ(sci(15, 8, 1e100), " 1.00000000+100");
  EXPECT_EQ(sci(12, 8, -1e-5), "************");
}

TEST(FormatTest, ListReal) {
  struct Case { double v; const char* want; } cases[] = {
      {1.0, "  1.0000000000000000     "},
      {-1.5, " -1.5000000000000000     "},
      {-0.25, "-0.25000000000000000     "},
      {0.0, "  0.0000000000000000     "},
      {-0.0, " -0.0000000000000000     "},
      {0.01, "  1.0000000000000000E-002"},
      {0.1, " 0.10000000000000001     "},
      {0.5, " 0.50000000000000000     "},
      {12.0, "  12.000000000000000     "},
      {1e16, "  10000000000000000.     "},
      {1e17, "  1.0000000000000000E+017"},
      {-1e-300, " -1.0000000000000000E-300"},
      {123456.789, "  123456.78900000000     "},
      {0.099999999999999992, "  9.9999999999999992E-002"},
  };
  for (const auto& c : cases) EXPECT_EQ(listreal(c.v), c.want) << c.v;
  EXPECT_EQ(listreal(std::nan("")), std::string(22, ' ') + "NaN");
}

}  // namespace
}  // namespace vadz

namespace vadz {
namespace {

// Reference layout from the C library's exact decimal conversion.
std::string reference_fixed(int w, int d, double v) {
  char b[512];
  int n = std::snprintf(b, sizeof b, "%.*f", d, v);
  std::string s(b, n);
  if (d == 0) s += '.';
  if (v == 0.0 && s[0] == '-') s.erase(0, 1);  // -0.0 shows no sign
  if (static_cast<int>(s.size()) > w) {
    size_t z = s[0] == '-' ? 1 : 0;
    if (static_cast<int>(s.size()) - 1 <= w && s.compare(z, 2, "0.") == 0)
      s.erase(z, 1);
    else
      return std::string(w, '*');
  }
  return std::string(w - s.size(), ' ') + s;
}

TEST(FormatTest, FixedPointAgreesWithExactConversion) {
  // Values of every magnitude the model files meet, and values on and next
  // to rounding ties, where a fast path could round the wrong way.
  uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 11;
  };
  const struct { int w, d; } layouts[] = {{9, 5}, {11, 6}, {12, 2}, {12, 6}, {8, 3}, {6, 3},
                                           {10, 1}, {6, 1}, {12, 0}, {5, 3}};
  for (int i = 0; i < 200000; ++i) {
    const auto& l = layouts[i % 10];
    double mag = std::pow(10.0, static_cast<double>(next() % 16) - 8.0);
    double v = (static_cast<double>(next()) / 9007199254740992.0) * mag;
    if (next() % 2) v = -v;
    if (i % 3 == 0) {
      // A tie at the field's last decimal, and its neighbours.
      double t = (std::round(v * std::pow(10.0, l.d)) + 0.5) / std::pow(10.0, l.d);
      v = (i % 2) ? t : std::nextafter(t, (i % 4) ? 1e300 : -1e300);
    }
    char b[64];
    std::string got(b, put_fixed(b, l.w, l.d, v));
    ASSERT_EQ(got, reference_fixed(l.w, l.d, v)) << v << " w=" << l.w << " d=" << l.d;
  }
}

}  // namespace
}  // namespace vadz
