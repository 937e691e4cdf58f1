#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patcher/patcher.h"
#include "tests/ui/test_window.h"
#include "ui/button.h"
#include "ui/images.h"
#include "ui/news_button.h"
#include "ui/news_entries.h"
#include "ui/progress_bar.h"

namespace vexmor {
namespace {

// --- FitToScale ---

struct FitCase {
  const char* name;
  int width, height;
  float scale;
  ImageSize expected;
};

const FitCase kFitCases[] = {
    {"icon at the design height", 60, 60, 1.0f, {60, 60}},
    {"news panel at the design height", 680, 208, 1.0f, {680, 208}},
    {"square takes the height branch", 60, 60, 480.0f / 1080.0f, {26, 26}},
    {"wide button: width first, height from the ratio", 448, 162, 480.0f / 1080.0f, {199, 71}},
    {"news panel at the minimum height", 680, 208, 480.0f / 1080.0f, {302, 92}},
    {"link button at 720", 268, 90, 720.0f / 1080.0f, {178, 59}},
    {"taller than wide takes the height branch", 90, 268, 720.0f / 1080.0f, {59, 178}},
    {"no size, no ratio", 0, 0, 1.0f, {0, 0}},
};

TEST(FitToScale, KeepsTheAspectRatio) {
  for (const FitCase& c : kFitCases) {
    EXPECT_EQ(FitToScale(c.width, c.height, c.scale), c.expected) << c.name;
  }
}

// --- Button ---

// One mouse event on a button at {1812, 990, 60 x 60} with a slack of 230 to its left.
struct Event {
  enum Kind { Press, Release, Move } kind;
  int x, y;
};

struct ButtonCase {
  const char* name;
  bool disabled;
  std::vector<Event> events;
  bool hovered, pressed, clicked, taken;
  std::size_t repaints;
};

const ButtonCase kButtonCases[] = {
    {"press at the top-left corner", false, {{Event::Press, 1812, 990}}, false, true, false,
     true, 1},
    {"press at the right edge is outside", false, {{Event::Press, 1872, 990}}, false, false,
     false, false, 0},
    {"press at the bottom edge is outside", false, {{Event::Press, 1812, 1050}}, false, false,
     false, false, 0},
    {"press at the far end of the slack", false, {{Event::Press, 1582, 1000}}, false, true,
     false, true, 1},
    {"press one pixel beyond the slack", false, {{Event::Press, 1581, 1000}}, false, false, false,
     false, 0},
    {"press and release inside click", false,
     {{Event::Press, 1830, 1000}, {Event::Release, 1830, 1000}}, true, false, true, true, 2},
    {"release without a press still clicks", false, {{Event::Release, 1830, 1000}}, true, false,
     true, false, 1},
    {"release outside changes nothing", false, {{Event::Release, 100, 100}}, false, false, false,
     false, 0},
    {"leaving cancels the press, coming back hovers, the release clicks", false,
     {{Event::Press, 1830, 1000},
      {Event::Move, 100, 100},
      {Event::Move, 1830, 1000},
      {Event::Release, 1830, 1000}},
     true, false, true, true, 4},
    {"moving over a pressed button changes nothing", false,
     {{Event::Press, 1830, 1000}, {Event::Move, 1840, 1010}}, false, true, false, true, 1},
    {"hover, move within, leave: one repaint each way", false,
     {{Event::Move, 1830, 1000}, {Event::Move, 1840, 1010}, {Event::Move, 100, 100}}, false,
     false, false, false, 2},
    {"the mouse leaving the window clears the hover", false,
     {{Event::Move, 1830, 1000}, {Event::Move, -1, -1}}, false, false, false, false, 2},
    {"a disabled button swallows the press and ignores the rest", true,
     {{Event::Press, 1830, 1000}, {Event::Move, 1840, 1000}, {Event::Release, 1830, 1000}},
     false, false, false, true, 0},
};

TEST(Button, StateFollowsTheMouse) {
  for (const ButtonCase& c : kButtonCases) {
    Button button(platform::Bitmap::Create(60, 60), platform::Bitmap::Create(60, 60),
                  platform::Bitmap::Create(60, 60), platform::Bitmap::Create(60, 60));
    button.Place(1812, 990, 60, 60);
    button.leftSlack = 230;
    button.disabled = c.disabled;
    DirtyRects repaint;
    bool taken = false;
    for (const Event& e : c.events) {
      switch (e.kind) {
        case Event::Press:
          button.OnPress(repaint, e.x, e.y, taken);
          break;
        case Event::Release:
          button.OnRelease(repaint, e.x, e.y);
          break;
        case Event::Move:
          button.OnMove(repaint, e.x, e.y);
          break;
      }
    }
    EXPECT_EQ(button.hovered, c.hovered) << c.name;
    EXPECT_EQ(button.pressed, c.pressed) << c.name;
    EXPECT_EQ(button.clicked, c.clicked) << c.name;
    EXPECT_EQ(taken, c.taken) << c.name;
    EXPECT_EQ(repaint.areas.size(), c.repaints) << c.name;
    for (const DirtyRects::Area& area : repaint.areas) {
      EXPECT_EQ(area, (DirtyRects::Area{{1812, 990, 1872, 1050}, false})) << c.name;
    }
  }
}

TEST(Button, ImageFollowsTheStateByPriority) {
  Button button(platform::Bitmap::Create(1, 1), platform::Bitmap::Create(1, 1),
                platform::Bitmap::Create(1, 1), platform::Bitmap::Create(1, 1));
  EXPECT_EQ(button.CurrentImage(), button.normalImage);
  button.hovered = true;
  EXPECT_EQ(button.CurrentImage(), button.hoverImage);
  button.pressed = true;
  EXPECT_EQ(button.CurrentImage(), button.pressedImage);
  button.disabled = true;
  EXPECT_EQ(button.CurrentImage(), button.disabledImage);
  // The same bitmap for two states still gives each state its own image.
  const std::optional<platform::Bitmap> same = platform::Bitmap::Create(2, 2);
  Button twice(same, same, same, same);
  EXPECT_NE(twice.normalImage, twice.hoverImage);
}

TEST(Button, WithoutSlackOnlyTheRectangleCounts) {
  Button button(std::nullopt, std::nullopt, std::nullopt, std::nullopt);
  button.Place(10, 20, 30, 40);
  EXPECT_TRUE(button.HitTest(10, 20));
  EXPECT_FALSE(button.HitTest(9, 20));
  EXPECT_FALSE(button.HitTest(40, 20));
  EXPECT_FALSE(button.HitTest(10, 60));
  EXPECT_EQ(button.CurrentImage(), nullptr);  // no artwork: nothing to draw
  EXPECT_EQ(button.anchors.center, (platform::Point{25, 40}));
  EXPECT_EQ(button.anchors.bottomRight, (platform::Point{40, 60}));
}

// --- ProgressBar ---

struct MarkerCase {
  const char* name;
  std::uint64_t value, maximum;
  std::optional<int> markerLeft;
  const wchar_t* percent;
};

// The upper bar at height 1080: {28, 800, 1416, 912}, usable width int(1388 - 11.2) = 1376.
const MarkerCase kMarkerCases[] = {
    {"half way", 50, 100, 668, L"50%"},  // int(28 + 688 - 47.66)
    {"nothing done: the marker starts left of the bar", 0, 100, int(28 - 112 / 2.35), L"0%"},
    {"all done stops at 99.5 %", 100, 100, int(28 + int(0.995 * 1376) - 112 / 2.35), L"100%"},
    {"a third is truncated", 1, 3, int(28 + int(1376 / 3.0) - 112 / 2.35), L"33%"},
    {"two thirds are truncated", 2, 3, int(28 + int(2 * 1376 / 3.0) - 112 / 2.35), L"66%"},
    {"beyond the maximum", 3, 2, int(28 + int(0.995 * 1376) - 112 / 2.35), L"150%"},
    {"no maximum, something done", 5, 0, int(28 + int(0.995 * 1376) - 112 / 2.35), L"0%"},
    {"no maximum, nothing done: no marker", 0, 0, std::nullopt, L"0%"},
    {"a ratio too large for the text", ~0ull, 1, int(28 + int(0.995 * 1376) - 112 / 2.35),
     L"9999999%"},
};

TEST(ProgressBar, MarkerAndPercentage) {
  for (const MarkerCase& c : kMarkerCases) {
    ProgressBar bar(nullptr);
    bar.left = 28;
    bar.top = 800;
    bar.right = 1416;
    bar.bottom = 912;
    bar.value = c.value;
    bar.maximum = c.maximum;
    EXPECT_EQ(bar.MarkerLeft(), c.markerLeft) << c.name;
    EXPECT_EQ(bar.PercentText(), c.percent) << c.name;
  }
}

TEST(ProgressBar, StartsHiddenAtNoneOfAHundred) {
  const auto bar = MakeProgressBar(platform::Bitmap::Create(112, 112));
  EXPECT_FALSE(bar->visible);
  EXPECT_EQ(bar->label, L"Loading...");
  EXPECT_EQ(bar->value, 0u);
  EXPECT_EQ(bar->maximum, 100u);
  ASSERT_NE(bar->markerImage, nullptr);
  EXPECT_EQ(bar->markerImage->Width(), 112);
}

// --- News ---

std::wstring Lines(int count, const wchar_t* end = L"\n") {
  std::wstring text;
  for (int i = 1; i <= count; ++i) text += L"line " + std::to_wstring(i) + end;
  return text;
}

TEST(GroupNewsEntries, FourLinesMakeAnEntry) {
  struct Case {
    const char* name;
    std::wstring text;
    std::size_t entries;
  };
  const Case cases[] = {
      {"8 lines: two entries", Lines(8), 2},
      {"13 lines: three entries, the rest ignored", Lines(13), 3},
      {"7 lines: the incomplete entry is dropped", Lines(7), 1},
      {"3 lines: no complete entry", Lines(3), 0},
      {"empty", L"", 0},
      {"blank lines only", L"\n\r\n\n", 0},
      {"no line feed after the last line", L"a\nb\nc\nd", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(GroupNewsEntries(c.text).size(), c.entries) << c.name;

  const auto thirteen = GroupNewsEntries(Lines(13));
  EXPECT_EQ(thirteen[2], (NewsEntry{L"line 9", L"line 10", L"line 11", L"line 12"}));
}

TEST(GroupNewsEntries, BlankLinesNeverCountAndCarriageReturnsStay) {
  const auto entries =
      GroupNewsEntries(L"\r\nNEW\r\n\r\nHeadline\r\n   \r\nhttps://a\r\n\nB\nH\nD\nL");
  ASSERT_EQ(entries.size(), 2u);
  // The CRLF ends keep their carriage return; a line of blanks is a field.
  EXPECT_EQ(entries[0], (NewsEntry{L"NEW\r", L"Headline\r", L"   \r", L"https://a\r"}));
  EXPECT_EQ(entries[1], (NewsEntry{L"B", L"H", L"D", L"L"}));
}

TEST(FillNewsList, FillsAndEnablesThePanelsInUse) {
  auto window = test::MakeLaidOutWindow(480);
  window->patcher->SetNewsText(Lines(8));
  window->dirtyRects.areas.clear();
  FillNewsList(*window);
  EXPECT_EQ(window->newsCount, 2);
  EXPECT_FALSE(window->newsButtons[0]->disabled);
  EXPECT_FALSE(window->newsButtons[1]->disabled);
  EXPECT_TRUE(window->newsButtons[2]->disabled);
  EXPECT_EQ(window->newsButtons[1]->badgeText, L"line 5");
  EXPECT_EQ(window->newsButtons[1]->linkUrl, L"line 8");
  EXPECT_EQ(window->dirtyRects.areas,
            (std::vector<DirtyRects::Area>{{window->menuRect, true}}));
}

TEST(FillNewsList, WithoutACompleteEntryStillRepaintsTheMiddle) {
  auto window = test::MakeLaidOutWindow(480);
  window->patcher->SetNewsText(Lines(3));
  window->dirtyRects.areas.clear();
  FillNewsList(*window);
  EXPECT_EQ(window->newsCount, 0);
  EXPECT_TRUE(window->newsButtons[0]->disabled);
  EXPECT_EQ(window->dirtyRects.areas.size(), 1u);
}

TEST(NewsButton, SplitsThePanelForHeadlineAndDetail) {
  const auto news = MakeNewsButton(platform::Bitmap::Create(680, 208),
                                   platform::Bitmap::Create(680, 208));
  news->Place(28, 90, 680, 209);
  // split = int(316.2) = 316
  EXPECT_EQ(news->HeadlineBox(), (platform::RectF{344, 90, 364, 209}));
  const platform::RectF detail = news->DetailBox();
  EXPECT_EQ(detail.x, 344);
  EXPECT_FLOAT_EQ(detail.width, 352.44f);
  // Pressed and disabled show the normal panel, hover the lighter one.
  news->disabled = true;
  EXPECT_EQ(news->CurrentImage(), news->disabledImage);
  EXPECT_NE(news->normalImage, news->hoverImage);
}

}  // namespace
}  // namespace vexmor
