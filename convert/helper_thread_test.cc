#include "convert/helper_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace fenmarq {
namespace {

// Every job handed over is either run once on the helper thread (finish says
// so) or withdrawn unrun; a job never runs after finish returned, and the
// warm-up runs on the helper before any job.
TEST(HelperThreadTest, EachJobRunsOnceOnTheHelperOrIsWithdrawn) {
  std::atomic<std::thread::id> warmUpThread;
  std::atomic<int> runs = 0;
  std::atomic<bool> misplaced = false;
  int reportedRuns = 0;
  {
    HelperThread helper([&] { warmUpThread = std::this_thread::get_id(); });
    ASSERT_TRUE(helper.running());
    for (int i = 0; i < 2000; ++i) {
      const int before = runs;
      helper.start([&] {
        if (std::this_thread::get_id() != warmUpThread.load()) misplaced = true;
        ++runs;
      });
      if (i % 3 == 0) std::this_thread::yield();  // now and then give the helper time
      const bool ran = helper.finish();
      EXPECT_EQ(runs, before + (ran ? 1 : 0)) << i;
      reportedRuns += ran ? 1 : 0;
    }
    EXPECT_FALSE(helper.finish());  // nothing handed over
  }
  EXPECT_EQ(runs, reportedRuns);
  EXPECT_FALSE(misplaced);
  EXPECT_NE(warmUpThread.load(), std::this_thread::get_id());
}

// A helper dismissed before it ever ran a job ends at once.
TEST(HelperThreadTest, EndsWithoutAJob) {
  for (int i = 0; i < 50; ++i) HelperThread helper;
}

}  // namespace
}  // namespace fenmarq
