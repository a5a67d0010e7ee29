#include "engine/accumulate.h"

#include <gtest/gtest.h>

#include "engine/annual.h"

namespace vadz {
namespace {

// Four cells exercise every branch: the mask on or off, factor applied or not.
TEST(Accumulate, AddCondaddCondadd3) {
  RealGrid src = real_grid(0.0);
  FlagGrid mask = flag_grid(0);
  src[0] = 3.0;
  src[1] = 3.0;
  src[NCELL - 1] = 5.0;
  mask[1] = 1;
  mask[NCELL - 1] = -2;  // any non-zero value counts as set

  RealGrid t = real_grid(1.0);
  add(t, 0.5, src);
  EXPECT_EQ(t[0], 2.5);
  EXPECT_EQ(t[1], 2.5);
  EXPECT_EQ(t[2], 1.0);
  EXPECT_EQ(t[NCELL - 1], 3.5);

  t = real_grid(1.0);
  condadd(t, 0.5, src, mask);
  EXPECT_EQ(t[0], 2.5);
  EXPECT_EQ(t[1], 1.0);
  EXPECT_EQ(t[NCELL - 1], 1.0);

  t = real_grid(1.0);
  condadd3(t, 0.5, src, mask);
  EXPECT_EQ(t[0], 4.0);  // unmasked: source added unscaled
  EXPECT_EQ(t[1], 2.5);
  EXPECT_EQ(t[NCELL - 1], 3.5);
}

TEST(AnnualArrays, AllocatedAndCleared) {
  AnnualArrays a;
  for (SlotGrid* g : {&a.annpump, &a.annmi, &a.annrcg, &a.annrcs, &a.annrcc, &a.gwarea,
                      &a.coarea, &a.swarea}) {
    for (RealGrid& s : *g) {
      ASSERT_EQ(s.size(), static_cast<size_t>(NCELL));
      s[NCELL - 1] = 4.0;
    }
  }
  a.clear();
  for (SlotGrid* g : {&a.annpump, &a.annmi, &a.annrcg, &a.annrcs, &a.annrcc, &a.gwarea,
                      &a.coarea, &a.swarea}) {
    for (const RealGrid& s : *g) EXPECT_EQ(s[NCELL - 1], 0.0);
  }
}

}  // namespace
}  // namespace vadz
