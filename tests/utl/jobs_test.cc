#include "utl/jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
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

// A slow worker holds the run back only when its queue is full, and a
// failure reaches the run at its next check, without waiting for the rest.
TEST(JobThreadTest, BoundedQueueAndCheck) {
  JobThread jobs(2);
  std::atomic<bool> go{false};
  std::atomic<int> ran{0};
  jobs.post([&] {
    while (!go) std::this_thread::yield();
    error("Cannot write to file a");
  });
  jobs.post([&] { ++ran; });
  jobs.post([&] { ++ran; });  // the worker may have taken the first: room for two
  std::atomic<bool> posted{false};
  std::thread run([&] {
    jobs.post([&] { ++ran; });  // a fourth waits for room
    posted = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(posted);
  EXPECT_NO_THROW(jobs.check());  // nothing has failed yet
  go = true;
  run.join();
  EXPECT_TRUE(posted);
  while (true) {
    try {
      jobs.check();
    } catch (const Fatal&) {
      break;
    }
    std::this_thread::yield();
  }
  // Kept: the queued jobs are skipped, and the next check says it again.
  EXPECT_THROW(jobs.check(), Fatal);
  EXPECT_EQ(test::fatal_line([&] { jobs.wait(); }), " Cannot write to file a\r\n");
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace vadz
