#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "resources/resources.h"

namespace vexmor {
namespace {

using Bytes = std::span<const std::uint8_t>;

struct PngHeader {
  std::uint32_t width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
};

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The IHDR chunk, which a PNG file must begin with right after its signature.
::testing::AssertionResult ReadPngHeader(Bytes png, PngHeader& header) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 33) return ::testing::AssertionFailure() << "only " << png.size() << " bytes";
  if (!std::equal(std::begin(kSignature), std::end(kSignature), png.begin())) {
    return ::testing::AssertionFailure() << "no PNG signature";
  }
  if (BigEndian32(&png[8]) != 13 || std::memcmp(&png[12], "IHDR", 4) != 0) {
    return ::testing::AssertionFailure() << "no IHDR chunk first";
  }
  header = {BigEndian32(&png[16]), BigEndian32(&png[20]), png[24], png[25]};
  return ::testing::AssertionSuccess();
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

Surface Decode(Bytes png) {
  struct Reader {
    Bytes rest;
    static cairo_status_t Read(void* closure, unsigned char* data, unsigned int length) {
      auto* reader = static_cast<Reader*>(closure);
      if (length > reader->rest.size()) return CAIRO_STATUS_READ_ERROR;
      std::memcpy(data, reader->rest.data(), length);
      reader->rest = reader->rest.subspan(length);
      return CAIRO_STATUS_SUCCESS;
    }
  } reader{png};
  return Surface(cairo_image_surface_create_from_png_stream(&Reader::Read, &reader));
}

// Alpha of the pixel; cairo's data is premultiplied ARGB in native byte order.
std::uint32_t ArgbAt(cairo_surface_t* surface, int x, int y) {
  const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  return reinterpret_cast<const std::uint32_t*>(row)[x];
}
int AlphaOf(std::uint32_t argb) { return int(argb >> 24); }

struct ImageCase {
  int firstId, lastId;
  std::uint32_t width, height;
  const char* role;
};

constexpr ImageCase kImages[] = {
    {152, 152, 1920, 1080, "background"},
    {156, 161, 60, 60, "close and minimise icons"},
    {167, 167, 112, 112, "progress marker"},
    {168, 171, 448, 162, "PLAY"},
    {172, 186, 60, 60, "menu and answer icons"},
    {187, 188, 680, 208, "news panels"},
    {196, 198, 60, 60, "check-mark icons"},
    {199, 202, 448, 90, "PLAY LITE"},
    {203, 206, 448, 162, "CANCEL"},
    {211, 214, 268, 90, "WEBSITE"},
    {215, 218, 268, 90, "FORUM"},
};

TEST(Resources, EveryImageIsAn8BitRgbaPngOfItsDesignSize) {
  int checked = 0;
  for (const auto& c : kImages) {
    for (int id = c.firstId; id <= c.lastId; ++id, ++checked) {
      SCOPED_TRACE(std::string(c.role) + ", id " + std::to_string(id));
      const Bytes png = FindResource(id);
      PngHeader header;
      ASSERT_TRUE(ReadPngHeader(png, header));
      EXPECT_EQ(header.width, c.width);
      EXPECT_EQ(header.height, c.height);
      EXPECT_EQ(header.bitDepth, 8);
      EXPECT_EQ(header.colourType, 6) << "RGBA";

      const Surface image = Decode(png);
      ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
      EXPECT_EQ(cairo_image_surface_get_width(image.get()), int(c.width));
      EXPECT_EQ(cairo_image_surface_get_height(image.get()), int(c.height));
    }
  }
  EXPECT_EQ(checked, 48);
}

TEST(Resources, BackgroundIsFullyOpaque) {
  const Surface image = Decode(FindResource(152));
  ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
  for (int y = 0; y < 1080; ++y) {
    for (int x = 0; x < 1920; ++x) ASSERT_EQ(AlphaOf(ArgbAt(image.get(), x, y)), 255) << x << ", " << y;
  }
}

TEST(Resources, ProgressMarkerHasAnOpaqueLightGreyBarAndAFadingGlow) {
  const Surface image = Decode(FindResource(167));
  ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
  for (int y = 0; y < 112; ++y) {
    for (int x = 52; x <= 60; ++x) ASSERT_EQ(ArgbAt(image.get(), x, y), 0xFFC8C8C8u) << x << ", " << y;
    // The glow falls off away from the bar on both sides and is gone before the edges.
    for (int x = 51; x > 0; --x) ASSERT_LE(AlphaOf(ArgbAt(image.get(), x - 1, y)), AlphaOf(ArgbAt(image.get(), x, y)));
    for (int x = 61; x < 111; ++x) ASSERT_LE(AlphaOf(ArgbAt(image.get(), x + 1, y)), AlphaOf(ArgbAt(image.get(), x, y)));
    EXPECT_GT(AlphaOf(ArgbAt(image.get(), 51, y)), 0);
    EXPECT_GT(AlphaOf(ArgbAt(image.get(), 61, y)), 0);
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 30, y)), 0);
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 82, y)), 0);
  }
}

TEST(Resources, NewsPanelsAreBlackWithTwoAlphaLevelsSplitBySlantedEdge) {
  const struct {
    int id, leftAlpha, rightAlpha;
  } cases[] = {{187, 129, 76}, {188, 112, 51}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const Surface image = Decode(FindResource(c.id));
    ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
    for (int y = 0; y < 208; ++y) {
      for (int x = 0; x < 680; ++x) {
        const std::uint32_t argb = ArgbAt(image.get(), x, y);
        ASSERT_EQ(argb & 0xFFFFFFu, 0u) << "black at " << x << ", " << y;
        ASSERT_GE(AlphaOf(argb), c.rightAlpha);
        ASSERT_LE(AlphaOf(argb), c.leftAlpha);
      }
    }
    // The edge runs from about x 302 at the top to about x 224 at the bottom.
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 290, 0)), c.leftAlpha);
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 314, 0)), c.rightAlpha);
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 212, 207)), c.leftAlpha);
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 236, 207)), c.rightAlpha);
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 0, 100)), c.leftAlpha);
    EXPECT_EQ(AlphaOf(ArgbAt(image.get(), 679, 100)), c.rightAlpha);
  }
}

// Hover shows the glow variant and press the dimmed one; swapped or missing variants would show.
TEST(Resources, IconGlowVariantsSpreadLightAndDimmedVariantsAreDarker) {
  const struct {
    int plain, glow, dimmed;
  } groups[] = {{156, 157, 158}, {159, 160, 161}, {172, 173, 174}, {175, 176, 177},
                {178, 179, 180}, {181, 182, 183}, {184, 185, 186}, {196, 197, 198}};
  struct Summary {
    long alphaSum = 0;
    int brightest = 0;  // highest green level among fully opaque pixels
  };
  const auto summarise = [](int id) {
    const Surface image = Decode(FindResource(id));
    Summary summary;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 60; ++x) {
        const std::uint32_t argb = ArgbAt(image.get(), x, y);
        summary.alphaSum += AlphaOf(argb);
        if (AlphaOf(argb) == 255) summary.brightest = std::max(summary.brightest, int((argb >> 8) & 0xFF));
      }
    }
    return summary;
  };
  for (const auto& g : groups) {
    SCOPED_TRACE(g.plain);
    const Summary plain = summarise(g.plain), glow = summarise(g.glow), dimmed = summarise(g.dimmed);
    EXPECT_EQ(plain.brightest, 255) << "plain icons are white";
    EXPECT_GT(glow.alphaSum, plain.alphaSum * 3 / 2) << "the halo reaches beyond the shape";
    EXPECT_LE(dimmed.brightest, 160);
  }
}

TEST(Resources, IconHasEverySizeLargestFirst) {
  for (int pixels : kIconPixels) {
    SCOPED_TRACE(pixels);
    PngHeader header;
    ASSERT_TRUE(ReadPngHeader(FindIconImage(kIconResourceId, pixels), header));
    EXPECT_EQ(header.width, std::uint32_t(pixels));
    EXPECT_EQ(header.height, std::uint32_t(pixels));
    EXPECT_EQ(header.colourType, 6);
  }
  const Bytes largest = FindResource(kIconResourceId);
  const Bytes image256 = FindIconImage(kIconResourceId, 256);
  EXPECT_EQ(largest.data(), image256.data());
  EXPECT_TRUE(FindIconImage(kIconResourceId, 24).empty());
  EXPECT_TRUE(FindIconImage(kIconResourceId, 0).empty());
  EXPECT_TRUE(FindIconImage(152, 0).empty()) << "only icons have sized images";
}

TEST(Resources, FontsAreTrueTypeFiles) {
  for (int id : {144, 165}) {
    const Bytes font = FindResource(id);
    ASSERT_GT(font.size(), 10000u) << id;
    const std::uint8_t kTrueType[] = {0x00, 0x01, 0x00, 0x00};
    EXPECT_TRUE(std::equal(std::begin(kTrueType), std::end(kTrueType), font.begin())) << id;
  }
  EXPECT_NE(FindResource(144).data(), FindResource(165).data());
}

TEST(Resources, TitleStringAndUnknownIds) {
  EXPECT_EQ(FindStringResource(103), L"VEXMOR LAUNCHER");
  EXPECT_TRUE(FindStringResource(104).empty());
  EXPECT_TRUE(FindStringResource(152).empty());
  for (int id : {0, -1, 103, 151, 153, 162, 189, 195, 207, 219, 65535}) {
    EXPECT_TRUE(FindResource(id).empty()) << id;
  }
}

}  // namespace
}  // namespace vexmor
