#include <gtest/gtest.h>

#include "patcher/address_rule.h"
#include "patcher/messages.h"

namespace vexmor {
namespace {

std::vector<PatchEntry> EntriesWithFailures(int failed, int clean) {
  std::vector<PatchEntry> entries;
  for (int i = 0; i < failed + clean; ++i) {
    PatchEntry entry;
    entry.path = "Vexmor/file" + std::to_string(i) + ".bin";
    entry.needsUpdate = true;
    entry.failed = i % 2 == 0 && i / 2 < failed;  // failures interleaved with clean entries
    entry.errorText = L"verification is failed";
    entries.push_back(entry);
  }
  return entries;
}

TEST(FormatFailureList, ShowsThreeLinesAndCountsTheRest) {
  const std::wstring heading = L"Following files could not be updated:\n";
  struct Case {
    const char* name;
    int failed;
    std::wstring expected;
  } cases[] = {
      {"none", 0, heading + L"\n\n\n"},
      {"one", 1, heading + L"\nVexmor/file0.bin (Error: verification is failed)\n\n"},
      {"three", 3,
       heading + L"\nVexmor/file0.bin (Error: verification is failed)\nVexmor/file2.bin (Error: verification is "
                 L"failed)\nVexmor/file4.bin (Error: verification is failed)"},
      {"five", 5,
       heading + L"\nVexmor/file0.bin (Error: verification is failed)\nVexmor/file2.bin (Error: verification is "
                 L"failed)\nVexmor/file4.bin (Error: verification is failed)\n\n... and 2 more."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFailureList(EntriesWithFailures(c.failed, c.failed + 1), heading), c.expected) << c.name;
  }
}

TEST(FormatLauncherUpdateTitle, ShowsTheVersionWithTwoDecimals) {
  EXPECT_EQ(FormatLauncherUpdateTitle(154), L"Updating your launcher to v1.54");
  EXPECT_EQ(FormatLauncherUpdateTitle(200), L"Updating your launcher to v2.00");
  EXPECT_EQ(FormatLauncherUpdateTitle(5), L"Updating your launcher to v0.05");
}

TEST(AddressRule, EndsGoesOnOrStartsAgain) {
  using S = PatchStage;
  using N = NextAddress;
  struct Case {
    PatchStage stage;
    N atFirstOrSecond;
    N atThird;
  } cases[] = {
      {S::ServerUnreachable, N::Next, N::EndRun}, {S::NoServer, N::Next, N::EndRun},
      {S::ServerDataFailed, N::Next, N::EndRun},  {S::PatchInfoFailed, N::Next, N::EndRun},
      {S::DownloadIssues, N::Next, N::EndRun},    {S::FilesNotChecked, N::Next, N::First},
      {S::Finished, N::EndRun, N::EndRun},        {S::GameRunning, N::EndRun, N::EndRun},
      {S::LocalIssues, N::EndRun, N::EndRun},     {S::Cancelled, N::EndRun, N::EndRun},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplyAddressRule(c.stage, 1), c.atFirstOrSecond) << static_cast<int>(c.stage);
    EXPECT_EQ(ApplyAddressRule(c.stage, 2), c.atFirstOrSecond) << static_cast<int>(c.stage);
    EXPECT_EQ(ApplyAddressRule(c.stage, 3), c.atThird) << static_cast<int>(c.stage);
  }
}

}  // namespace
}  // namespace vexmor
