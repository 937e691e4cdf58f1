#include <gtest/gtest.h>

#include <stdexcept>

#include "patcher/patcher.h"
#include "tests/ui/test_window.h"
#include "ui/button.h"
#include "ui/images.h"
#include "ui/layout.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"
#include "ui/renderer.h"
#include "ui/scene_boxes.h"

namespace vexmor {
namespace {

using platform::PointF;
using platform::Rect;

struct Box {
  int x, y, width, height;
  bool operator==(const Box&) const = default;
};

Box BoxOf(const Button& b) { return {b.x, b.y, b.width, b.height}; }
Rect RectOf(const ProgressBar& bar) { return {bar.left, bar.top, bar.right, bar.bottom}; }

void PrintTo(const Box& b, std::ostream* os) {
  *os << "{" << b.x << ", " << b.y << ", " << b.width << " x " << b.height << "}";
}

struct LayoutCase {
  int height;
  int width;
  int headerHeight, textPoints, fontPixels, footerHeight, footerTop, margin, barHeight;
  float textFont, smallFont, titleFont;
  Box close, menu, minimize;
  std::array<Box, 3> news;
  Box website, forum, play, playLite, repair, about, retry, next, confirm, decline;
  int nextSlack, declineSlack;
  Rect fileBar, totalBar, statusRect, menuRect;
  std::array<PointF, 7> menuShape;
};

const LayoutCase kLayouts[] = {
    {1080, 1920, 60, 32, 42, 280, 800, 28, 112, 42.0f, 33.6f, 105.0f,
     {1860, 0, 60, 60}, {1800, 1, 60, 60}, {1740, 1, 60, 60},
     {{{28, 90, 680, 209}, {28, 327, 680, 209}, {28, 564, 680, 209}}},
     {736, 90, 268, 90}, {1032, 90, 268, 90}, {1444, 800, 448, 162}, {1444, 962, 448, 90},
     {1412, 110, 480, 60}, {1412, 170, 480, 60}, {48, 990, 828, 60}, {1815, 990, 60, 60},
     {48, 990, 290, 60}, {1812, 990, 60, 60}, 345, 230,
     {28, 800, 1416, 912}, {28, 940, 1416, 1052}, {0, 800, 1444, 1052}, {0, 60, 1920, 800},
     {{{1831, 80}, {1861, 110}, {1892, 110}, {1892, 230}, {1412, 230}, {1412, 110}, {1801, 110}}}},
    {720, 1280, 40, 21, 28, 187, 533, 18, 75, 28.0f, 22.4f, 70.0f,
     {1240, 0, 40, 40}, {1200, 1, 40, 40}, {1160, 1, 40, 40},
     {{{18, 60, 453, 140}, {18, 218, 453, 140}, {18, 376, 453, 140}}},
     {489, 60, 178, 59}, {685, 60, 178, 59}, {964, 533, 298, 107}, {964, 640, 298, 59},
     {942, 73, 320, 40}, {942, 113, 320, 40}, {32, 660, 552, 40}, {1210, 660, 40, 40},
     {32, 660, 193, 40}, {1208, 660, 40, 40}, 230, 153,
     {18, 533, 946, 608}, {18, 627, 946, 702}, {0, 533, 964, 702}, {0, 40, 1280, 533},
     {{{1221, 53}, {1241, 73}, {1262, 73}, {1262, 153}, {942, 153}, {942, 73}, {1201, 73}}}},
    {480, 853, 26, 14, 18, 124, 356, 12, 50, 18.0f, 14.4f, 45.0f,
     {827, 0, 26, 26}, {801, 1, 26, 26}, {775, 1, 26, 26},
     {{{12, 40, 302, 94}, {12, 146, 302, 94}, {12, 252, 302, 94}}},
     {326, 40, 119, 39}, {457, 40, 119, 39}, {642, 356, 199, 71}, {642, 427, 199, 39},
     {627, 47, 213, 26}, {627, 73, 213, 26}, {20, 441, 367, 26}, {807, 441, 26, 26},
     {20, 441, 128, 26}, {807, 441, 26, 26}, 153, 102,
     {12, 356, 630, 406}, {12, 418, 630, 468}, {0, 356, 642, 468}, {0, 26, 853, 356},
     {{{815, 34}, {828, 47}, {841, 47}, {841, 99}, {627.75f, 99}, {627.75f, 47}, {802, 47}}}},
    // An odd icon size: the two left answer rows differ by one pixel, and the close button
    // (int(scale x 60) = 28) is smaller than the icon size (29).
    {520, 924, 29, 15, 20, 135, 385, 13, 54, 20.0f, 16.0f, 50.0f,
     {896, 0, 28, 28}, {868, 1, 28, 28}, {840, 1, 28, 28},
     {{{13, 44, 327, 101}, {13, 158, 327, 101}, {13, 272, 327, 101}}},
     {353, 44, 129, 43}, {495, 44, 129, 43}, {696, 385, 215, 77}, {696, 462, 215, 43},
     {680, 52, 231, 29}, {680, 81, 231, 29}, {23, 476, 398, 29}, {873, 476, 29, 29},
     {23, 477, 139, 29}, {872, 477, 29, 29}, 166, 110,
     {13, 385, 683, 439}, {13, 453, 683, 507}, {0, 385, 696, 507}, {0, 29, 924, 385},
     {{{883, 38}, {897, 52}, {911, 52}, {911, 110}, {680, 110}, {680, 52}, {868, 52}}}},
};

class LayoutAtHeight : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutAtHeight, PlacesEveryWidgetAndRectangle) {
  const LayoutCase& c = GetParam();
  const auto w = test::MakeTestWindow(c.height);
  ASSERT_EQ(w->width, c.width);

  EXPECT_EQ(w->headerHeight, c.headerHeight);
  EXPECT_EQ(w->iconSize, c.headerHeight);
  EXPECT_EQ(w->textPoints, c.textPoints);
  EXPECT_EQ(w->fontPixels, c.fontPixels);
  EXPECT_EQ(w->footerHeight, c.footerHeight);
  EXPECT_EQ(w->footerTop, c.footerTop);
  EXPECT_EQ(w->margin, c.margin);
  EXPECT_EQ(w->barHeight, c.barHeight);
  EXPECT_FLOAT_EQ(w->renderer->textFont.EmPixels(), c.textFont);
  EXPECT_FLOAT_EQ(w->renderer->smallFont.EmPixels(), c.smallFont);
  EXPECT_FLOAT_EQ(w->renderer->titleFont.EmPixels(), c.titleFont);

  EXPECT_EQ(BoxOf(*w->closeButton), c.close);
  EXPECT_EQ(BoxOf(*w->menuButton), c.menu);
  EXPECT_EQ(BoxOf(*w->minimizeButton), c.minimize);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(BoxOf(*w->newsButtons[i]), c.news[i]) << "news " << i;
  EXPECT_EQ(BoxOf(*w->websiteButton), c.website);
  EXPECT_EQ(BoxOf(*w->forumButton), c.forum);
  EXPECT_EQ(BoxOf(*w->playButton), c.play);
  EXPECT_EQ(BoxOf(*w->cancelButton), c.play);
  EXPECT_EQ(BoxOf(*w->playLiteButton), c.playLite);
  EXPECT_EQ(BoxOf(*w->repairButton), c.repair);
  EXPECT_EQ(BoxOf(*w->aboutButton), c.about);
  EXPECT_EQ(BoxOf(*w->retryButton), c.retry);
  EXPECT_EQ(BoxOf(*w->continueButton), c.next);
  EXPECT_EQ(w->continueButton->leftSlack, c.nextSlack);
  EXPECT_EQ(BoxOf(*w->confirmButton), c.confirm);
  EXPECT_EQ(BoxOf(*w->declineButton), c.decline);
  EXPECT_EQ(w->declineButton->leftSlack, c.declineSlack);

  EXPECT_EQ(RectOf(*w->fileProgress), c.fileBar);
  EXPECT_EQ(RectOf(*w->totalProgress), c.totalBar);
  EXPECT_EQ(w->statusRect, c.statusRect);
  EXPECT_EQ(w->menuRect, c.menuRect);
  EXPECT_EQ(w->clientRect, (Rect{0, 0, c.width, c.height}));
  ASSERT_EQ(w->menuShape.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_FLOAT_EQ(w->menuShape[i].x, c.menuShape[i].x) << "point " << i;
    EXPECT_FLOAT_EQ(w->menuShape[i].y, c.menuShape[i].y) << "point " << i;
  }

  // The scaled artwork keeps its own size: icons follow FitToScale, the back buffer the window.
  EXPECT_EQ(w->repairButton->normalImage->Width(), FitToScale(60, 60, w->scale).width);
  EXPECT_EQ(w->fileProgress->markerImage->Height(), FitToScale(112, 112, w->scale).height);
  EXPECT_EQ(w->renderer->backBuffer.Width(), c.width);
  EXPECT_EQ(w->renderer->backBuffer.Height(), c.height);
}

INSTANTIATE_TEST_SUITE_P(Heights, LayoutAtHeight, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::to_string(info.param.height); });

TEST(Layout, StartsWithOnlyTheWaitingWidgetsDisabled) {
  const auto w = test::MakeTestWindow(1080);
  for (const Button* b : std::initializer_list<const Button*>{
           w->playButton.get(), w->playLiteButton.get(), w->websiteButton.get(),
                          w->forumButton.get(), w->repairButton.get(), w->newsButtons[0].get(),
                          w->newsButtons[1].get(), w->newsButtons[2].get()}) {
    EXPECT_TRUE(b->disabled);
  }
  for (const Button* b : {w->closeButton.get(), w->menuButton.get(), w->minimizeButton.get(),
                          w->cancelButton.get(), w->aboutButton.get(), w->retryButton.get(),
                          w->continueButton.get(), w->confirmButton.get(),
                          w->declineButton.get()}) {
    EXPECT_FALSE(b->disabled);
  }
  EXPECT_EQ(w->statusLine, L"Initializing...");
  EXPECT_EQ(w->title, L"VEXMOR LAUNCHER");
  EXPECT_EQ(w->newsCount, 0);
  EXPECT_FALSE(w->menuOpen || w->dialogShown || w->launcherTitleShown || w->cancelShown);
  EXPECT_EQ(w->dialogKind, 0);
  EXPECT_FALSE(w->fileProgress->visible || w->totalProgress->visible);
  EXPECT_EQ(w->fileProgress->label, L"Loading...");
  EXPECT_EQ(w->newsButtons[0]->anchors.topRight, (platform::Point{708, 90}));
  EXPECT_EQ(w->playButton->anchors.bottomLeft, (platform::Point{1444, 962}));
}

// Whether two images have the same pixels.
bool SamePixels(const CachedImage& a, const std::optional<platform::Bitmap>& b) {
  const platform::Bitmap left = test::Rasterize(*a);
  const platform::Bitmap right = test::Rasterize(platform::CachedBitmap(*b));
  if (left.Width() != right.Width() || left.Height() != right.Height()) return false;
  for (int y = 0; y < left.Height(); ++y) {
    for (int x = 0; x < left.Width(); ++x) {
      if (left.PixelAt(x, y) != right.PixelAt(x, y)) return false;
    }
  }
  return true;
}

TEST(Layout, ButtonsTakeTheGlowArtworkForHoverAndTheDimmedForPressed) {
  const auto w = test::MakeTestWindow(720);
  const Button& website = *w->websiteButton;  // 211 plain, 212 dimmed, 213 glow, 214 dots
  EXPECT_TRUE(SamePixels(website.normalImage, LoadPngSized(211, 178, 59)));
  EXPECT_TRUE(SamePixels(website.hoverImage, LoadPngSized(213, 178, 59)));
  EXPECT_TRUE(SamePixels(website.pressedImage, LoadPngSized(212, 178, 59)));
  EXPECT_TRUE(SamePixels(website.disabledImage, LoadPngSized(214, 178, 59)));
  const Button& close = *w->closeButton;  // 156 plain, 157 glow, 158 dimmed
  EXPECT_TRUE(SamePixels(close.hoverImage, LoadPngSized(157, 40, 40)));
  EXPECT_TRUE(SamePixels(close.pressedImage, LoadPngSized(158, 40, 40)));
  EXPECT_TRUE(SamePixels(close.disabledImage, LoadPngSized(156, 40, 40)));
  const Button& repair = *w->repairButton;  // menu entries keep the icon's own size
  EXPECT_TRUE(SamePixels(repair.disabledImage, LoadScaledPng(177, w->scale)));
}

void ExpectBox(const platform::RectF& box, platform::RectF expected) {
  EXPECT_FLOAT_EQ(box.x, expected.x);
  EXPECT_FLOAT_EQ(box.y, expected.y);
  EXPECT_FLOAT_EQ(box.width, expected.width);
  EXPECT_FLOAT_EQ(box.height, expected.height);
}

TEST(SceneBoxes, CaptionsAndBoxesAt1080) {
  const auto w = test::MakeTestWindow(1080);
  ExpectBox(MenuCaptionBox(*w, *w->repairButton), {1476.8f, 110, 415.2f, 60});
  ExpectBox(MenuCaptionBox(*w, *w->aboutButton), {1476.8f, 170, 415.2f, 60});
  ExpectBox(QuestionTextBox(*w), {60, 60, 1800, 900});
  ExpectBox(RetryCaptionBox(*w), {108, 990, 960, 60});
  ExpectBox(ContinueCaptionBox(*w), {0, 990, 1815, 60});
  ExpectBox(ConfirmCaptionBox(*w), {108, 990, 230, 60});
  ExpectBox(DeclineCaptionBox(*w), {1582, 990, 230, 60});
  ExpectBox(StatusBox(*w), {28, 800, 1388, 252});
  ExpectBox(LauncherTitleBox(*w), {28, 800, 1388, 112});
  ExpectBox(LauncherTitleTextBox(*w), {55, 800, 1334, 112});

  // "CONFIRM" and "CANCEL" cover exactly the hit areas of their answers.
  const Button& decline = *w->declineButton;
  EXPECT_TRUE(decline.HitTest(1582, 1000));
  EXPECT_FALSE(decline.HitTest(1581, 1000));
  EXPECT_TRUE(w->confirmButton->HitTest(337, 1000));
  EXPECT_FALSE(w->confirmButton->HitTest(338, 1000));
}

TEST(Fonts, MissingFacesStopTheRenderer) {
  auto w = test::MakeLaidOutWindow(1080);
  w->boldFonts = platform::FontCollection();  // as if the bold face were not embedded
  try {
    CreateRenderer(*w);
    FAIL() << "expected an error";
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "No bold font!");
  }

  const std::uint8_t notAFont[] = {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'n', 't'};
  EXPECT_FALSE(w->boldFonts.AddMemoryFont(notAFont));
  EXPECT_THROW(CreateRenderer(*w), std::logic_error);

  w->regularFonts = platform::FontCollection();
  try {
    CreateRenderer(*w);
    FAIL() << "expected an error";
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "No font!");
  }
  EXPECT_EQ(w->renderer, nullptr);
}

TEST(Fonts, FamilyComesFromTheEmbeddedFaces) {
  const auto w = test::MakeLaidOutWindow(480);
  const auto regular = w->regularFonts.FirstFamily();
  const auto bold = w->boldFonts.FirstFamily();
  ASSERT_TRUE(regular && bold);
  EXPECT_FALSE(regular->name.empty());
  EXPECT_EQ(regular->name, bold->name);  // one family in two weights
}

}  // namespace
}  // namespace vexmor
