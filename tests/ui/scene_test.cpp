// Composes the scene in each state of the user interface into the back buffer, writes it as a PNG
// file under the build tree and checks the pixels that prove the state.
#include "ui/scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "patcher/patcher.h"
#include "platform/canvas/canvas.h"
#include "tests/ui/test_window.h"
#include "ui/button.h"
#include "ui/images.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"
#include "ui/renderer.h"

namespace vexmor {
namespace {

using platform::Bitmap;

// A copy of the back buffer as it is now (scaling to the same size copies pixel for pixel).
Bitmap Snapshot(const Bitmap& bitmap) { return bitmap.Scaled(bitmap.Width(), bitmap.Height()); }

int Channel(std::uint32_t pixel, int shift) { return int((pixel >> shift) & 0xFF); }

// True when `seen` is `original` under a black fill of the given alpha (within rounding).
bool IsDarkenedBy(std::uint32_t original, std::uint32_t seen, int alpha) {
  for (int shift : {0, 8, 16}) {
    const double expected = Channel(original, shift) * (255 - alpha) / 255.0;
    if (std::abs(Channel(seen, shift) - expected) > 1.5) return false;
  }
  return true;
}

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override { window = test::MakeTestWindow(1080); }

  // Composes the scene and writes it as <name>.png for a human to look at.
  const Bitmap& Compose(const std::string& name) {
    PaintScene(*window);
    std::filesystem::create_directories(VEXMOR_SCENE_DIR);
    const auto file = std::filesystem::path(VEXMOR_SCENE_DIR) / (name + ".png");
    EXPECT_TRUE(window->renderer->backBuffer.SavePng(file)) << file;
    return window->renderer->backBuffer;
  }

  // The background artwork alone, with `artwork` drawn over it at (x, y) when given.
  Bitmap Reference(const CachedImage& artwork = nullptr, int x = 0, int y = 0) const {
    Bitmap bitmap = Bitmap::Create(window->width, window->height);
    platform::Canvas canvas(bitmap);
    canvas.DrawCached(*window->renderer->background, 0, 0);
    if (artwork) canvas.DrawCached(*artwork, x, y);
    return bitmap;
  }

  // Whether the scene shows exactly the reference inside the button's rectangle.
  static bool SameInside(const Bitmap& scene, const Bitmap& reference, const Button& button) {
    for (int y = button.y; y < button.y + button.height; ++y) {
      for (int x = button.x; x < button.x + button.width; ++x) {
        if (scene.PixelAt(x, y) != reference.PixelAt(x, y)) return false;
      }
    }
    return true;
  }

  // Poses a question as the engine does, composes the dialog and answers it.
  void ComposeQuestion(const std::string& name, QuestionKind kind,
                       const std::function<void(const Bitmap&)>& check) {
    Patcher& patcher = *window->patcher;
    std::thread worker(
        [&] { patcher.AskUser(L"Some files could not be updated.\nTry again?", kind); });
    while (!patcher.questionPending.load(std::memory_order_acquire)) std::this_thread::yield();
    window->dialogShown = true;
    window->dialogKind = std::int32_t(kind);
    check(Compose(name));
    patcher.AnswerQuestion(false);
    worker.join();
  }

  std::unique_ptr<LauncherWindow> window;
};

TEST_F(SceneTest, InitialStateShowsTheStatusBoxAndTheDisabledArtwork) {
  const Bitmap& scene = Compose("initial");
  const Bitmap bare = Reference();

  // "Initializing..." sits in a translucent box over the place of both bars.
  const ProgressBar& upper = *window->fileProgress;
  EXPECT_TRUE(
      IsDarkenedBy(bare.PixelAt(upper.left + 5, 805), scene.PixelAt(upper.left + 5, 805), 0x7D));
  EXPECT_TRUE(
      IsDarkenedBy(bare.PixelAt(upper.left + 5, 1045), scene.PixelAt(upper.left + 5, 1045), 0x7D));
  EXPECT_EQ(scene.PixelAt(upper.left - 2, 900), bare.PixelAt(upper.left - 2, 900));

  // PLAY, PLAY LITE and the links show their three-dots artwork until enabled.
  const Button& play = *window->playButton;
  EXPECT_TRUE(SameInside(scene, Reference(play.disabledImage, play.x, play.y), play));
  EXPECT_FALSE(SameInside(scene, Reference(play.normalImage, play.x, play.y), play));
  const Button& website = *window->websiteButton;
  EXPECT_TRUE(SameInside(scene, Reference(website.disabledImage, website.x, website.y), website));

  // No news entry yet: the panels are not drawn.
  const Button& news = *window->newsButtons[0];
  EXPECT_TRUE(SameInside(scene, bare, news));

  // The header strip darkens the top row, one pixel below the header too.
  EXPECT_TRUE(IsDarkenedBy(bare.PixelAt(900, 60), scene.PixelAt(900, 60), 0x4C));
  EXPECT_EQ(scene.PixelAt(900, 61), bare.PixelAt(900, 61));
}

TEST_F(SceneTest, HiddenBarsDrawNothing) {
  window->statusLine.clear();
  const Bitmap& scene = Compose("hidden_bars");
  const Bitmap bare = Reference();
  for (const ProgressBar* bar : {window->fileProgress.get(), window->totalProgress.get()}) {
    for (int y = bar->top; y < bar->bottom; y += 7) {
      for (int x = 0; x < bar->right + 20; x += 13) {
        ASSERT_EQ(scene.PixelAt(x, y), bare.PixelAt(x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(SceneTest, VisibleBarsShowBandMarkerAndTexts) {
  window->statusLine.clear();
  ProgressBar& upper = *window->fileProgress;
  ProgressBar& lower = *window->totalProgress;
  upper.visible = lower.visible = true;
  upper.SetLabel(L"Updating: Vexmor/data/textures.pak (12.34 MB/s)");
  upper.value = 50;
  lower.SetLabel(L"File 3 of 120 (45 of 800 MB, 12 minutes remaining)");
  lower.value = 1;
  lower.maximum = 3;
  const Bitmap& scene = Compose("progress");
  const Bitmap bare = Reference();

  // A band over the bar, with the light marker showing through at 50 %: its centre column is
  // 52 to 60 pixels into the marker image, whose left edge is at 668.
  EXPECT_TRUE(IsDarkenedBy(bare.PixelAt(300, 805), scene.PixelAt(300, 805), 0x7D));
  const std::uint32_t marker = scene.PixelAt(668 + 56, 805);
  EXPECT_GT(Channel(marker, 8), 80) << std::hex << marker;
  EXPECT_EQ(scene.PixelAt(1420, 850), bare.PixelAt(1420, 850));
}

TEST_F(SceneTest, LauncherUpdateBoxCoversOnlyTheUpperBarsPlace) {
  window->statusLine.clear();
  window->launcherTitleShown = true;
  window->launcherTitle = L"Updating your launcher to version 1.54";
  ProgressBar& upper = *window->fileProgress;
  const ProgressBar& lower = *window->totalProgress;
  upper.left = lower.left;
  upper.top = lower.top;
  upper.right = lower.right;
  upper.bottom = lower.bottom;
  upper.visible = true;
  upper.SetLabel(L"Downloading: Vexmor.exe (1.00 MB/s)");
  upper.value = 30;
  const Bitmap& scene = Compose("launcher_update");
  const Bitmap bare = Reference();
  EXPECT_TRUE(IsDarkenedBy(bare.PixelAt(32, 805), scene.PixelAt(32, 805), 0x7D));
  EXPECT_TRUE(IsDarkenedBy(bare.PixelAt(32, 945), scene.PixelAt(32, 945), 0x7D));
  // Between the two places nothing is drawn.
  EXPECT_EQ(scene.PixelAt(32, 925), bare.PixelAt(32, 925));
}

TEST_F(SceneTest, OpenMenuFillsItsOutlineAndDrawsTheEntries) {
  window->menuOpen = true;
  const Bitmap& scene = Compose("menu_open");
  const Bitmap bare = Reference();
  // Inside the box, right of the captions, and inside the pointer just under its tip (1831, 80).
  EXPECT_TRUE(IsDarkenedBy(bare.PixelAt(1888, 225), scene.PixelAt(1888, 225), 0x7D));
  EXPECT_TRUE(IsDarkenedBy(bare.PixelAt(1831, 85), scene.PixelAt(1831, 85), 0x7D));
  // Beside the pointer and left of the box the background is untouched.
  EXPECT_EQ(scene.PixelAt(1810, 85), bare.PixelAt(1810, 85));
  EXPECT_EQ(scene.PixelAt(1408, 200), bare.PixelAt(1408, 200));
  // The separator lies under the fill: dimmed white, then darkened by the panel.
  const std::uint32_t separator = scene.PixelAt(1472, 228);
  EXPECT_GT(Channel(separator, 0), Channel(scene.PixelAt(1474, 228), 0) + 20);
  // The disabled repair entry shows its dimmed icon.
  const Button& repair = *window->repairButton;
  EXPECT_EQ(repair.CurrentImage(), repair.disabledImage);
}

TEST_F(SceneTest, RepairCaptionFollowsTheRepairRequest) {
  window->menuOpen = true;
  const Bitmap caption = Snapshot(Compose("menu_open"));
  window->patcher->repairRequested = true;
  const Bitmap& repairing = Compose("menu_repairing");
  bool differs = false;
  for (int x = 1477; x < 1892 && !differs; ++x) {
    for (int y = 112; y < 168 && !differs; ++y) {
      differs = caption.PixelAt(x, y) != repairing.PixelAt(x, y);
    }
  }
  EXPECT_TRUE(differs) << "\"Repairing...\" should replace \"Repair installation\"";
}

TEST_F(SceneTest, NewsPanelsUpToNewsCount) {
  window->patcher->SetNewsText(
      L"NEW\nSeason of Embers begins\n12 March\nhttps://example.org/a\n"
      L"EVENT\nDouble experience weekend with a headline long enough to wrap\n14 March\n"
      L"https://example.org/b\n");
  FillNewsList(*window);
  ASSERT_EQ(window->newsCount, 2);
  const Bitmap& scene = Compose("news");
  const Bitmap bare = Reference();
  EXPECT_FALSE(SameInside(scene, bare, *window->newsButtons[0]));
  EXPECT_FALSE(SameInside(scene, bare, *window->newsButtons[1]));
  EXPECT_TRUE(SameInside(scene, bare, *window->newsButtons[2]));
}

TEST_F(SceneTest, CancelTakesPlaysPlace) {
  window->cancelShown = true;
  window->statusLine = L"Checking files...";
  const Bitmap& scene = Compose("cancel_shown");
  const Button& cancel = *window->cancelButton;
  EXPECT_TRUE(SameInside(scene, Reference(cancel.normalImage, cancel.x, cancel.y), cancel));
}

TEST_F(SceneTest, FailedFilesDialogDarkensEverythingAndShowsTwoAnswers) {
  window->statusLine.clear();
  const Bitmap before = Snapshot(Compose("before_dialog"));
  ComposeQuestion("dialog_failed_files", QuestionKind::FailedFiles, [&](const Bitmap& scene) {
    // 90 % black over everything, the title included.
    EXPECT_TRUE(IsDarkenedBy(before.PixelAt(960, 500), scene.PixelAt(960, 500), 0xE6));
    EXPECT_TRUE(IsDarkenedBy(before.PixelAt(1400, 30), scene.PixelAt(1400, 30), 0xE6));
    const Button& retry = *window->retryButton;
    const Button& next = *window->continueButton;
    EXPECT_EQ(retry.CurrentImage(), retry.normalImage);
    // The icons are drawn over the overlay at full strength.
    const Bitmap icon = test::Rasterize(*next.normalImage);
    const int cx = next.width / 2;
    const int cy = next.height / 2;
    EXPECT_GT(Channel(scene.PixelAt(next.x + cx, next.y + cy), 0) + 40,
              Channel(icon.PixelAt(cx, cy), 0));
  });
}

TEST_F(SceneTest, CloseGameDialogShowsConfirmAndCancel) {
  window->statusLine.clear();
  const Bitmap before = Snapshot(Compose("before_dialog"));
  ComposeQuestion("dialog_close_game", QuestionKind::CloseGame, [&](const Bitmap& scene) {
    EXPECT_TRUE(IsDarkenedBy(before.PixelAt(960, 500), scene.PixelAt(960, 500), 0xE6));
    // Some caption ink in the "CANCEL" strip left of the decline icon.
    const Button& decline = *window->declineButton;
    int brightest = 0;
    for (int x = decline.x - decline.leftSlack; x < decline.x; ++x) {
      brightest = std::max(brightest, Channel(scene.PixelAt(x, decline.y + decline.height / 2), 0));
    }
    EXPECT_GT(brightest, 80);
  });
}

TEST_F(SceneTest, DialogWithoutKnownKindShowsOverlayAndTextOnly) {
  window->statusLine.clear();
  ComposeQuestion("dialog_no_kind", QuestionKind::None, [&](const Bitmap& scene) {
    // Where the answers would be, only the overlay over the background.
    const Button& next = *window->continueButton;
    const Bitmap bare = Reference();
    for (int x = next.x; x < next.x + next.width; x += 3) {
      EXPECT_TRUE(IsDarkenedBy(bare.PixelAt(x, next.y + 30), scene.PixelAt(x, next.y + 30), 0xE6));
    }
  });
}

TEST(SceneAtMinimumSize, ComposesEveryLayer) {
  auto window = test::MakeTestWindow(480);
  window->menuOpen = true;
  window->statusLine = L"The game is up to date.";
  window->patcher->SetNewsText(L"NEW\nSeason of Embers\n12 March\nhttps://example.org\n");
  FillNewsList(*window);
  window->playButton->disabled = false;
  window->playButton->hovered = true;
  PaintScene(*window);
  std::filesystem::create_directories(VEXMOR_SCENE_DIR);
  EXPECT_TRUE(window->renderer->backBuffer.SavePng(std::filesystem::path(VEXMOR_SCENE_DIR) /
                                                   "minimum_size_menu_news.png"));
  EXPECT_EQ(window->renderer->backBuffer.Width(), 853);
  EXPECT_EQ(window->renderer->backBuffer.Height(), 480);
}

}  // namespace
}  // namespace vexmor
