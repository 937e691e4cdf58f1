#include <gtest/gtest.h>

#include "support/http/transfer_progress.h"

namespace vexmor {
namespace {

using namespace std::chrono_literals;
using Clock = TransferProgress::Clock;

TEST(TransferProgress, AccumulatesOnlyGrowthAndMeasuresFromLowerCounts) {
  std::atomic<std::int64_t> current{0};
  std::atomic<std::int64_t> accumulated{1000};  // what earlier files added
  const Clock::time_point start{};
  TransferProgress progress(nullptr, &current, &accumulated, 60s, start);

  struct Report {
    std::int64_t received;
    std::int64_t current;
    std::int64_t accumulated;
  } reports[] = {
      {0, 0, 1000},    {100, 100, 1100}, {250, 250, 1250},
      {40, 40, 1250},  // a new body after a redirect: nothing is taken away
      {90, 90, 1300},  // and the next growth counts from 40
      {90, 90, 1300},
  };
  for (const auto& r : reports) {
    EXPECT_TRUE(progress.Report(r.received, start + 1s));
    EXPECT_EQ(current.load(), r.current) << r.received;
    EXPECT_EQ(accumulated.load(), r.accumulated) << r.received;
  }
}

TEST(TransferProgress, AbortsAfterTheStallTimeWithoutGrowth) {
  const Clock::time_point start{};
  TransferProgress progress(nullptr, nullptr, nullptr, 1000ms, start);
  EXPECT_TRUE(progress.Report(0, start + 1000ms)) << "exactly the stall time still passes";
  EXPECT_TRUE(progress.Report(10, start + 1900ms)) << "growth restarts the watch";
  EXPECT_TRUE(progress.Report(10, start + 2900ms));
  EXPECT_FALSE(progress.Report(10, start + 2901ms));
}

TEST(TransferProgress, ALowerCountIsNoGrowthButTheNextIncreaseIs) {
  const Clock::time_point start{};
  TransferProgress progress(nullptr, nullptr, nullptr, 1000ms, start);
  EXPECT_TRUE(progress.Report(10, start + 500ms));
  EXPECT_TRUE(progress.Report(5, start + 1500ms));
  EXPECT_FALSE(progress.Report(5, start + 1501ms));

  TransferProgress regained(nullptr, nullptr, nullptr, 1000ms, start);
  EXPECT_TRUE(regained.Report(10, start + 500ms));
  EXPECT_TRUE(regained.Report(5, start + 1000ms));
  EXPECT_TRUE(regained.Report(10, start + 1501ms)) << "growth from the lower count restarts the watch";
}

TEST(TransferProgress, AbortsOnceTheCancelFlagIsSet) {
  std::atomic<bool> cancel{false};
  const Clock::time_point start{};
  TransferProgress progress(&cancel, nullptr, nullptr, 60s, start);
  EXPECT_TRUE(progress.Report(10, start));
  cancel = true;
  EXPECT_FALSE(progress.Report(20, start));
}

}  // namespace
}  // namespace vexmor
