#include <gtest/gtest.h>

#include <cmath>

#include "app/status_texts.h"

namespace vexmor {
namespace {

TEST(ItemName, ShowsTheLastComponentOrItsTail) {
  EXPECT_EQ(ItemName(L"Vexmor/system/data.bin"), L"data.bin");
  EXPECT_EQ(ItemName(L"Vexmor/abcdefghijklmnopqrstuvwxy"), L"abcdefghijklmnopqrstuvwxy");  // 25: whole
  EXPECT_EQ(ItemName(L"Vexmor/abcdefghijklmnopqrstuvwxyz"), L"...bcdefghijklmnopqrstuvwxyz");
}

TEST(ItemHead, DependsOnTheStage) {
  EXPECT_EQ(ItemHead(PatchStage::UpdatingLauncher, L"Launcher Update", L"x"), L"Downloading: Vexmor.exe");
  EXPECT_EQ(ItemHead(PatchStage::CheckingFiles, L"Vexmor/a.pak", L"x"), L"Checking: a.pak");
  EXPECT_EQ(ItemHead(PatchStage::DownloadingFiles, L"Vexmor/a.pak", L"x"), L"Updating: a.pak");
  EXPECT_EQ(ItemHead(PatchStage::FetchingPatchInfo, L"Vexmor/a.pak", L"previous"), L"previous");
}

TEST(SpeedSampler, SamplesOnlyWhenDueAndOnlyGrowth) {
  SpeedSampler sampler;
  sampler.Sample(1'000'000, 1000);  // first sample measured from the epoch: practically 0
  ASSERT_EQ(sampler.speedHistory.size(), 1u);
  EXPECT_LT(sampler.speedMBps, 1e-6);
  EXPECT_EQ(sampler.sampleBytes, 1000u);

  sampler.Sample(1'000'400, 5'000'000);  // not due: nothing changes
  EXPECT_EQ(sampler.sampleTimeMs, 1'000'000);
  EXPECT_EQ(sampler.sampleBytes, 1000u);

  sampler.Sample(1'001'000, 1000 + 2 * 1048576);  // 2 MiB in one second
  EXPECT_DOUBLE_EQ(sampler.speedMBps, 2.0);
  ASSERT_EQ(sampler.speedHistory.size(), 2u);

  sampler.Sample(1'002'000, 10);  // a new item: no speed, new base
  EXPECT_DOUBLE_EQ(sampler.speedMBps, 2.0);
  EXPECT_EQ(sampler.speedHistory.size(), 2u);
  EXPECT_EQ(sampler.sampleBytes, 10u);

  for (int i = 0; i < 150; ++i) sampler.Sample(1'003'000 + i * 1000, 20 + i);
  EXPECT_EQ(sampler.speedHistory.size(), kSpeedHistoryLimit);

  sampler.Restart();
  EXPECT_EQ(sampler.sampleTimeMs, 0);
  EXPECT_EQ(sampler.speedHistory.size(), kSpeedHistoryLimit);  // the history survives restarts
}

TEST(PhaseLabel, CountsFilesMegabytesAndMinutes) {
  struct Case {
    const char* name;
    std::int64_t done, total;
    double mean;
    std::wstring expected;
  } cases[] = {
      {"no samples", 0, 800 * 1048576LL, INFINITY, L"File 3 of 120 (0 of 800 MB, 0 minutes remaining)"},
      {"one and a half minutes", 0, 90 * 1048576LL, 1.0, L"File 3 of 120 (0 of 90 MB, 1 minute remaining)"},
      {"under a minute", 0, 54 * 1048576LL, 1.0, L"File 3 of 120 (0 of 54 MB, 0 minutes remaining)"},
      {"two minutes", 0, 120 * 1048576LL, 1.0, L"File 3 of 120 (0 of 120 MB, 2 minutes remaining)"},
      {"truncated megabytes", 1048575, 2 * 1048576LL - 1, 1.0, L"File 3 of 120 (0 of 1 MB, 0 minutes remaining)"},
      {"more done than listed", 5 * 1048576LL, 4 * 1048576LL, 1.0, L"File 3 of 120 (5 of 4 MB, 0 minutes remaining)"},
  };
  for (const auto& c : cases) EXPECT_EQ(PhaseLabel(3, 120, c.done, c.total, c.mean), c.expected) << c.name;

  SpeedSampler empty;
  EXPECT_TRUE(std::isinf(empty.MeanSpeed()));
  SpeedSampler two;
  two.speedHistory = {1.0, 2.0};
  EXPECT_DOUBLE_EQ(two.MeanSpeed(), 1.75);  // the 0.5 is added to the sum once
  EXPECT_EQ(SpeedText(1.234), L" (1.23 MB/s)");
}

}  // namespace
}  // namespace vexmor
