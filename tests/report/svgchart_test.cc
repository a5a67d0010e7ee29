#include "report/svgchart.h"

#include <gtest/gtest.h>

namespace vadz {
namespace {

TEST(SvgChartTest, TicksAreRoundStepsCoveringTheRange) {
  struct Case {
    double lo, hi;
    int target;
    double want_lo, want_hi, step;
    int decimals;
  } cases[] = {
      {0, 2262488, 5, 0, 2500000, 500000, 0},  // acre-feet of a year
      {11.59, 27.38, 6, 10, 28, 2, 0},         // inches of precipitation
      {0.905, 1.2901, 6, 0.9, 1.3, 0.05, 2},   // terrain multipliers
      {4297.1, 4297.1, 5, 0, 5000, 1000, 0},   // one value: from 0
      {0, 0, 5, 0, 1, 0.2, 1},                 // nothing at all
      {-3, 7, 5, -4, 8, 2, 0},                 // both signs
  };
  for (const Case& c : cases) {
    const Ticks t = nice_ticks(c.lo, c.hi, c.target);
    EXPECT_DOUBLE_EQ(t.lo, c.want_lo) << c.lo << " " << c.hi;
    EXPECT_DOUBLE_EQ(t.hi, c.want_hi) << c.lo << " " << c.hi;
    EXPECT_DOUBLE_EQ(t.step, c.step) << c.lo << " " << c.hi;
    EXPECT_EQ(t.decimals, c.decimals) << c.lo << " " << c.hi;
  }
}

TEST(SvgChartTest, TextIsEscaped) {
  EXPECT_EQ(escape("a<b & \"c\" 'd'>"), "a&lt;b &amp; &quot;c&quot; &#39;d&#39;&gt;");
  Chart c;
  c.title = "<script>";
  c.x = {"1990"};
  c.series = {{"K&S", Rgb{}, {1.0}, false}};
  const std::string svg = line_chart(c);
  EXPECT_EQ(svg.find("<script>"), std::string::npos);
  EXPECT_NE(svg.find("K&amp;S"), std::string::npos);
}

}  // namespace
}  // namespace vadz
