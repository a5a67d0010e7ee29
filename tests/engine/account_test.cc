#include "engine/account.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace vadz {
namespace {

// Totals and parts outside of every magnitude, the part between 0 and the
// total: applied + outside gives the total exactly, and the part outside
// moves by at most the total's last digit. A plain total - outside misses
// in a few percent of such pairs (a tie rounded to even).
TEST(SplitTotal, AddsUpExactlyForWaterThatIsNotNegative) {
  uint64_t x = 88172645463325252ull;
  auto next = [&x] {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return static_cast<double>(x >> 11) / 9007199254740992.0;  // [0, 1)
  };
  int plain_misses = 0;
  for (int k = 0; k < 100000; ++k) {
    const double total = std::ldexp(1.0 + next(), static_cast<int>(next() * 60) - 20);
    const double outside = total * next() * next() * next();
    double applied = 0.0, out = 0.0;
    split_total(total, outside, applied, out);
    ASSERT_EQ(applied + out, total) << total << " " << outside;
    ASSERT_LE(std::fabs(out - outside), std::nextafter(total, 2 * total) - total);
    plain_misses += (total - outside) + outside != total;
  }
  EXPECT_GT(plain_misses, 100);  // the cases that need the second step are there
}

}  // namespace
}  // namespace vadz
