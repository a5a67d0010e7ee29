#include "report/jobs.h"

#include <gtest/gtest.h>

#include <atomic>
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

TEST(JobThreadTest, RunAllRunsEveryJobOnceAndReportsTheFirstFailureInListOrder) {
  JobThread jobs;
  for (int round = 0; round < 20; ++round) {
    std::vector<std::atomic<int>> runs(40);
    std::vector<std::function<void()>> list;
    for (int k = 0; k < 40; ++k) {
      list.push_back([&runs, k] {
        ++runs[k];
        if (k == 9 || k == 30) error("Cannot write to file " + std::to_string(k));
      });
    }
    EXPECT_EQ(test::fatal_line([&] { jobs.run_all(list); }), " Cannot write to file 9\r\n");
    for (int k = 0; k < 40; ++k) EXPECT_EQ(runs[k], 1) << k;
  }
}

}  // namespace
}  // namespace vadz
