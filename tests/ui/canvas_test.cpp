#include "platform/canvas/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "resources/resources.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor::platform {
namespace {

constexpr Argb kWhite = 0xFFFFFFFF;

struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right and bottom inclusive
  bool Any() const { return right >= 0; }
};

// Where anything was drawn on a transparent bitmap.
Ink InkOf(const Bitmap& bitmap, int fromX = 0, int fromY = 0, int toX = -1, int toY = -1) {
  if (toX < 0) toX = bitmap.Width();
  if (toY < 0) toY = bitmap.Height();
  Ink ink;
  for (int y = fromY; y < toY; ++y) {
    for (int x = fromX; x < toX; ++x) {
      if ((bitmap.PixelAt(x, y) >> 24) == 0) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

class CanvasText : public ::testing::Test {
 protected:
  static FontCollection::Family Regular(FontCollection& collection) {
    EXPECT_TRUE(collection.AddMemoryFont(FindResource(144)));
    return *collection.FirstFamily();
  }

  FontCollection collection;
  Font font{Regular(collection), 20.0f, FontWeight::Regular};
  Bitmap bitmap = Bitmap::Create(400, 200);
  Canvas canvas{bitmap};
};

TEST_F(CanvasText, ZeroSizeBoxDrawsFromItsCornerWithoutWrapOrClip) {
  canvas.DrawText("A rather long line of text that runs on", font, {kWhite}, {3, -1, 0, 0});
  const Ink ink = InkOf(bitmap);
  ASSERT_TRUE(ink.Any());
  EXPECT_GE(ink.left, 3);
  EXPECT_LE(ink.left, 8);
  EXPECT_GT(ink.right, 300);  // not clipped to a zero width
  EXPECT_LT(ink.bottom, 30);  // one line: not wrapped
}

TEST_F(CanvasText, NoWrapAlignmentPlacesTheLineInTheBox) {
  const RectF box{50, 50, 300, 60};
  canvas.DrawText("Right", font, {kWhite}, box, {TextAlign::Far, TextAlign::Center, true});
  const Ink right = InkOf(bitmap);
  EXPECT_NEAR(right.right, 350, 4);
  EXPECT_NEAR((right.top + right.bottom) / 2.0, 80, 5);  // vertically centred

  Bitmap centred = Bitmap::Create(400, 200);
  Canvas(centred).DrawText("Middle", font, {kWhite}, box,
                           {TextAlign::Center, TextAlign::Near, true});
  const Ink middle = InkOf(centred);
  EXPECT_NEAR((middle.left + middle.right) / 2.0, 200, 3);
  EXPECT_LT(middle.top, 60);
}

TEST_F(CanvasText, WrappingAlignmentPlacesEachLineInTheBox) {
  const RectF box{50, 50, 300, 60};
  canvas.DrawText("Right", font, {kWhite}, box, {TextAlign::Far, TextAlign::Center, false});
  EXPECT_NEAR(InkOf(bitmap).right, 350, 4);

  Bitmap centred = Bitmap::Create(400, 200);
  Canvas(centred).DrawText("Middle", font, {kWhite}, box, {TextAlign::Center, TextAlign::Near, false});
  const Ink middle = InkOf(centred);
  EXPECT_NEAR((middle.left + middle.right) / 2.0, 200, 3);
}

TEST_F(CanvasText, LongTextIsClippedOrWrappedInItsBox) {
  const std::string text = "one two three four five six seven eight nine ten eleven twelve";
  canvas.DrawText(text, font, {kWhite}, {100, 20, 150, 40},
                  {TextAlign::Near, TextAlign::Near, true});
  const Ink clipped = InkOf(bitmap);
  EXPECT_GE(clipped.left, 100);
  EXPECT_LE(clipped.right, 249);
  EXPECT_LE(clipped.bottom, 59);

  Bitmap wrapped = Bitmap::Create(400, 200);
  Canvas(wrapped).DrawText(text, font, {kWhite}, {100, 20, 150, 180});
  const Ink lines = InkOf(wrapped);
  EXPECT_LE(lines.right, 249);
  EXPECT_GT(lines.bottom - lines.top, 3 * 20);  // several lines
}

TEST_F(CanvasText, ZeroHeightLeavesTheTextUnclippedVertically) {
  canvas.DrawText("Below", font, {kWhite}, {100, 50, 200, 0},
                  {TextAlign::Far, TextAlign::Center, true});
  const Ink ink = InkOf(bitmap);
  ASSERT_TRUE(ink.Any());
  EXPECT_GT(ink.bottom, 55);
  EXPECT_NEAR(ink.right, 300, 4);
}

TEST_F(CanvasText, TextEndsAtItsFirstNul) {
  canvas.DrawText(std::string("abc\0def", 7), font, {kWhite}, {0, 0, 0, 0});
  Bitmap shorter = Bitmap::Create(400, 200);
  Canvas(shorter).DrawText("abc", font, {kWhite}, {0, 0, 0, 0});
  EXPECT_EQ(InkOf(bitmap).right, InkOf(shorter).right);
}

TEST(FontCollection, TakesOnlyFontFaces) {
  FontCollection collection;
  EXPECT_FALSE(collection.FirstFamily());
  const std::uint8_t junk[] = {0, 1, 0, 0, 9, 9, 9, 9};
  EXPECT_FALSE(collection.AddMemoryFont(junk));
  EXPECT_FALSE(collection.FirstFamily());
  EXPECT_TRUE(collection.AddMemoryFont(FindResource(165)));
  ASSERT_TRUE(collection.FirstFamily());
  EXPECT_FALSE(collection.FirstFamily()->name.empty());
}

TEST(Shapes, FillsCoverWholePixels) {
  Bitmap bitmap = Bitmap::Create(20, 20);
  Canvas canvas(bitmap);
  canvas.FillRectangle({0xFF00FF00}, 2, 3, 4, 5);
  const Ink fill = InkOf(bitmap);
  EXPECT_EQ(fill.left, 2);
  EXPECT_EQ(fill.top, 3);
  EXPECT_EQ(fill.right, 5);
  EXPECT_EQ(fill.bottom, 7);
  EXPECT_EQ(bitmap.PixelAt(2, 3), 0xFF00FF00u);

  Bitmap line = Bitmap::Create(20, 20);
  Canvas(line).DrawLine({kWhite, 1.0f}, 10, 2, 10, 15);
  const Ink stroke = InkOf(line);
  EXPECT_EQ(stroke.left, 10);
  EXPECT_EQ(stroke.right, 10);
  EXPECT_GE(stroke.top, 2);
  EXPECT_LE(stroke.bottom, 15);
}

TEST(Shapes, PolygonUsesTheEvenOddRule) {
  // A five-pointed star drawn in one stroke: its centre is enclosed twice, so it stays empty.
  std::vector<PointF> star;
  for (int k = 0; k < 5; ++k) {
    const double angle = (-90.0 + 144.0 * k) * std::numbers::pi / 180.0;
    star.push_back({float(50 + 45 * std::cos(angle)), float(50 + 45 * std::sin(angle))});
  }
  Bitmap bitmap = Bitmap::Create(100, 100);
  Canvas(bitmap).FillPolygonEvenOdd({0x80FF0000}, star);
  EXPECT_EQ(bitmap.PixelAt(50, 50), 0u);  // the centre
  EXPECT_NE(bitmap.PixelAt(50, 12), 0u);  // the top point
  EXPECT_EQ(bitmap.PixelAt(2, 2), 0u);    // outside
}

TEST(Bitmaps, DecodeOnlyPng) {
  const std::uint8_t junk[] = {1, 2, 3, 4};
  EXPECT_FALSE(Bitmap::DecodePng(junk));
  EXPECT_FALSE(Bitmap::DecodePng({}));
  const auto png = FindResource(167);
  EXPECT_FALSE(Bitmap::DecodePng(png.first(png.size() / 2)));  // truncated
  const auto marker = Bitmap::DecodePng(png);
  ASSERT_TRUE(marker);
  EXPECT_EQ(marker->Width(), 112);
  EXPECT_EQ(marker->Height(), 112);
}

TEST(Bitmaps, ScaleAndSaveRoundTrip) {
  Bitmap source = Bitmap::Create(2, 1);
  Canvas canvas(source);
  canvas.FillRectangle({0xFFFF0000}, 0, 0, 1, 1);
  canvas.FillRectangle({0xFF0000FF}, 1, 0, 1, 1);
  const Bitmap wide = source.Scaled(40, 10);
  EXPECT_EQ(wide.Width(), 40);
  EXPECT_EQ(wide.Height(), 10);
  EXPECT_EQ(wide.PixelAt(0, 5), 0xFFFF0000u);
  EXPECT_EQ(wide.PixelAt(39, 5), 0xFF0000FFu);

  test::TempDir dir;
  ASSERT_TRUE(wide.SavePng(dir / "wide.png"));
  const std::string bytes = test::ReadFile(dir / "wide.png");
  const auto again =
      Bitmap::DecodePng({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  ASSERT_TRUE(again);
  EXPECT_EQ(again->PixelAt(39, 5), 0xFF0000FFu);
  EXPECT_FALSE(wide.SavePng(dir / "missing" / "folder" / "x.png"));
}

}  // namespace
}  // namespace vexmor::platform
