// The status view over an engine status set by the test: message and progress modes, the
// launcher's own update, the labels and what is repainted.
#include "app/status_view.h"

#include <gtest/gtest.h>

#include "patcher/patcher.h"
#include "tests/app/shell_test_support.h"
#include "ui/button.h"
#include "ui/progress_bar.h"

namespace vexmor::test {
namespace {

constexpr std::int64_t kNow = 1'800'000'000'000;  // a wall-clock time in milliseconds

class StatusViewTest : public ::testing::Test {
 protected:
  void Show(std::int64_t nowMs = kNow) {
    w->dirtyRects.Clear();
    UpdateStatusView(*w, nowMs);
  }

  // The bar's rectangle with a quarter of its height added to each side.
  static platform::Rect Widened(const ProgressBar& bar) {
    const int quarter = (bar.bottom - bar.top) / 4;
    return {bar.left - quarter, bar.top, bar.right + quarter, bar.bottom};
  }

  bool Repainted(const platform::Rect& rect) const {
    for (const auto& area : w->dirtyRects.areas) {
      if (area.rect == rect && area.erase) return true;
    }
    return false;
  }

  void StartChecking(std::wstring file) {
    patcher.SetStage(PatchStage::CheckingFiles, L"");
    patcher.SetCurrentFileName(std::move(file));
    patcher.fileIndex = 1;
    patcher.fileCount = 2;
    patcher.fileBytesDone = 0;
    patcher.fileBytesTotal = 4 << 20;
    patcher.bytesTotal = 12 << 20;
  }

  TempDir dir;
  std::unique_ptr<LauncherWindow> w = MakeShellTestWindow(dir.path());
  Patcher& patcher = *w->patcher;
  ProgressBar& file = *w->fileProgress;
  ProgressBar& total = *w->totalProgress;
};

TEST_F(StatusViewTest, AnUnchangedTextRepaintsNothingAndANewOneHidesTheBars) {
  Show();
  EXPECT_TRUE(w->dirtyRects.areas.empty()) << "\"Initializing...\" is shown from the start";

  StartChecking(L"Vexmor/Option.ini");
  Show();
  EXPECT_TRUE(file.visible);
  EXPECT_TRUE(total.visible);
  EXPECT_TRUE(w->statusLine.empty());
  EXPECT_TRUE(Repainted(w->statusRect)) << "the old text is wiped";

  patcher.SetStage(PatchStage::Finished, L"All files have been successfully updated!");
  Show();
  EXPECT_FALSE(file.visible);
  EXPECT_FALSE(total.visible);
  EXPECT_EQ(w->statusLine, L"All files have been successfully updated!");
  EXPECT_TRUE(Repainted(w->statusRect));
  Show();
  EXPECT_TRUE(w->dirtyRects.areas.empty());
}

TEST_F(StatusViewTest, ProgressShowsTheItemWithItsSpeedAndThePhaseWithItsTimeLeft) {
  StartChecking(L"Vexmor/data/the_name_of_exactly_twenty-six.pak");
  Show();
  // The first sample spans the time since the epoch: practically nothing.
  EXPECT_EQ(file.label, L"Checking: ...of_exactly_twenty-six.pak (0.00 MB/s)");
  EXPECT_EQ(file.value, 0u);
  EXPECT_EQ(file.maximum, 4u << 20);
  EXPECT_EQ(file.left, w->margin);
  EXPECT_EQ(file.right, w->playButton->x - w->margin);
  EXPECT_TRUE(Repainted(Widened(file)));
  EXPECT_EQ(total.label, L"File 1 of 2 (0 of 12 MB, 0 minutes remaining)");
  EXPECT_TRUE(Repainted(Widened(total)));

  // Two megabytes in one second; the phase has ten megabytes to go.
  patcher.fileBytesDone = 2 << 20;
  patcher.bytesDone = 2 << 20;
  Show(kNow + 1000);
  EXPECT_EQ(file.label, L"Checking: ...of_exactly_twenty-six.pak (2.00 MB/s)");
  EXPECT_EQ(total.label, L"File 1 of 2 (2 of 12 MB, 0 minutes remaining)");

  // Not yet due: the label keeps the last speed while the counters move on.
  patcher.SetCurrentFileName(L"Vexmor/VexmorGame.exe");
  patcher.fileBytesDone = 3 << 20;
  Show(kNow + 1200);
  EXPECT_EQ(file.label, L"Checking: VexmorGame.exe (2.00 MB/s)");
  EXPECT_EQ(w->sampleBytes, 2u << 20);

  // Nothing changed: nothing is repainted.
  Show(kNow + 1300);
  EXPECT_TRUE(w->dirtyRects.areas.empty());
}

TEST_F(StatusViewTest, TheLauncherUpdateShowsItsTitleAndOneBarAtTheLowerPlace) {
  patcher.SetStage(PatchStage::UpdatingLauncher, L"");
  patcher.SetLauncherUpdateTitle(L"Updating your launcher to v1.54");
  patcher.fileBytesDone = 1000;
  patcher.fileBytesTotal = 5000;
  Show();
  EXPECT_TRUE(file.visible);
  EXPECT_FALSE(total.visible);
  EXPECT_EQ((platform::Rect{file.left, file.top, file.right, file.bottom}),
            (platform::Rect{total.left, total.top, total.right, total.bottom}));
  EXPECT_TRUE(w->launcherTitleShown);
  EXPECT_EQ(w->launcherTitle, L"Updating your launcher to v1.54");
  EXPECT_EQ(file.label, L"Downloading: Vexmor.exe (0.00 MB/s)");

  // Back to the file phase: two bars, no title box.
  StartChecking(L"Vexmor/Option.ini");
  Show();
  EXPECT_TRUE(total.visible);
  EXPECT_EQ(file.top, w->footerTop);
  EXPECT_FALSE(w->launcherTitleShown);
  EXPECT_TRUE(w->launcherTitle.empty());
}

TEST_F(StatusViewTest, AStageWithoutItsOwnItemKeepsTheHeadWithOneSpeedText) {
  StartChecking(L"Vexmor/Option.ini");
  Show();
  patcher.SetStage(PatchStage::FetchingPatchInfo, L"");
  for (int i = 1; i <= 3; ++i) {
    patcher.fileBytesDone = i * 10;
    Show(kNow + i * 1000);
  }
  EXPECT_EQ(file.label, L"Checking: Option.ini (0.00 MB/s)");
}

}  // namespace
}  // namespace vexmor::test
