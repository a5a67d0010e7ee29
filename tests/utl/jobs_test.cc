#include "utl/jobs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/testutil.h"
#include "utl/console.h"

namespace vadz {
namespace {

TEST(JobThreadTest, PostedJobsRunInOrderAndAFailureStopsTheRest) {
  JobThread jobs;
  std::vector<int> done;
  for (int k = 0; k < 5; ++k) jobs.post([&done, k] { done.push_back(k); });
  jobs.wait();
  EXPECT_EQ(done, (std::vector<int>{0, 1, 2, 3, 4}));

  jobs.post([] { error("Cannot write to file a"); });
  jobs.post([&done] { done.push_back(99); });
  EXPECT_EQ(test::fatal_line([&] { jobs.wait(); }), " Cannot write to file a\r\n");
  EXPECT_EQ(done.size(), 5u);
  // The failure is reported once; the worker takes jobs again.
  jobs.post([&done] { done.push_back(5); });
  jobs.wait();
  EXPECT_EQ(done.back(), 5);
}

}  // namespace
}  // namespace vadz
