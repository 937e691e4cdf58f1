#include "ui/layout.h"

#include <cstdlib>

#include "resources/resources.h"
#include "ui/button.h"
#include "ui/images.h"
#include "ui/launcher_window.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"

namespace vexmor {
namespace {

constexpr int kTitleString = 103;
constexpr int kRegularFont = 144;
constexpr int kBoldFont = 165;

std::unique_ptr<Button> MakeScaledButton(float scale, int normalId, int hoverId, int pressedId,
                                         int disabledId) {
  return std::make_unique<Button>(LoadScaledPng(normalId, scale), LoadScaledPng(hoverId, scale),
                                  LoadScaledPng(pressedId, scale),
                                  LoadScaledPng(disabledId, scale));
}

// A font resource that is missing leaves its collection empty; the renderer reports that.
void RegisterFont(platform::FontCollection& collection, int id) {
  const auto bytes = FindResource(id);
  if (!bytes.empty()) collection.AddMemoryFont(bytes);
}

}  // namespace

std::unique_ptr<Button> MakeButton(float scale, std::int32_t designWidth, std::int32_t designHeight,
                                   std::int32_t x, std::int32_t y, int normalId, int pressedId,
                                   int hoverId, int disabledId) {
  const ImageSize size = FitToScale(designWidth, designHeight, scale);
  auto button = std::make_unique<Button>(LoadPngSized(normalId, size.width, size.height),
                                         LoadPngSized(hoverId, size.width, size.height),
                                         LoadPngSized(pressedId, size.width, size.height),
                                         LoadPngSized(disabledId, size.width, size.height));
  button->Place(x, y, size.width, size.height);
  return button;
}

void LoadResources(LauncherWindow& window) {
  const float scale = window.scale;
  window.title = FindStringResource(kTitleString);
  window.newsPanelImage = LoadScaledPng(187, scale);
  window.newsPanelHoverImage = LoadScaledPng(188, scale);

  window.repairButton = MakeScaledButton(scale, 175, 176, 177, 177);
  window.repairButton->disabled = true;
  window.aboutButton = MakeScaledButton(scale, 178, 179, 180, 180);
  window.continueButton = MakeScaledButton(scale, 181, 182, 183, 183);
  window.retryButton = MakeScaledButton(scale, 184, 185, 186, 186);
  window.confirmButton = MakeScaledButton(scale, 196, 197, 198, 198);
  window.declineButton = MakeScaledButton(scale, 156, 157, 158, 158);

  window.fileProgress = MakeProgressBar(LoadScaledPng(167, scale));
  window.totalProgress = MakeProgressBar(LoadScaledPng(167, scale));

  RegisterFont(window.regularFonts, kRegularFont);
  RegisterFont(window.boldFonts, kBoldFont);
}

void BuildLayout(LauncherWindow& window) {
  LauncherWindow& w = window;
  const float scale = w.scale;
  const auto s60 = std::int32_t(scale * 60.0f);
  const auto s448 = std::int32_t(scale * 448.0f);

  w.clientRect = {0, 0, w.width, w.height};
  w.textPoints = std::int32_t(w.height * 0.03);
  w.fontPixels = std::abs(w.textPoints * 96 / 72);
  w.headerHeight = std::int32_t(w.height * 0.056);
  w.iconSize = w.headerHeight;

  w.closeButton = MakeButton(scale, 60, 60, w.width - s60, 0, 156, 158, 157, 156);
  const Anchors& close = w.closeButton->anchors;
  w.menuButton =
      MakeButton(scale, 60, 60, close.topLeft.x - s60, close.topLeft.y + 1, 172, 174, 173, 174);
  const Anchors& menu = w.menuButton->anchors;
  w.minimizeButton =
      MakeButton(scale, 60, 60, menu.topLeft.x - s60, menu.topLeft.y, 159, 161, 160, 159);

  w.newsCount = 0;
  w.footerHeight = std::int32_t(w.height * 0.26);
  w.footerTop = w.height - w.footerHeight;
  w.margin = std::int32_t(w.footerHeight * 0.1);
  const std::int32_t newsHeight = (w.height - 4 * w.margin - w.footerHeight - w.headerHeight) / 3;

  for (std::int32_t i = 0; i < std::int32_t(w.newsButtons.size()); ++i) {
    auto& news = w.newsButtons[i];
    news = MakeNewsButton(w.newsPanelImage, w.newsPanelHoverImage);
    news->Place(w.margin, (newsHeight + w.margin) * i + 2 + w.headerHeight + w.margin,
                std::int32_t(double(scale) * 680.0), newsHeight);
    news->disabled = true;
  }

  const Anchors& firstNews = w.newsButtons[0]->anchors;
  w.websiteButton = MakeButton(scale, 268, 90, firstNews.topRight.x + w.margin,
                               firstNews.topRight.y, 211, 212, 213, 214);
  w.websiteButton->disabled = true;
  const Anchors& website = w.websiteButton->anchors;
  w.forumButton = MakeButton(scale, 268, 90, website.topRight.x + w.margin, website.topRight.y, 215,
                             216, 217, 218);
  w.forumButton->disabled = true;

  w.playButton =
      MakeButton(scale, 448, 162, w.width - s448 - w.margin, w.footerTop, 168, 169, 170, 171);
  w.playButton->disabled = true;
  const Anchors& play = w.playButton->anchors;
  w.cancelButton = MakeButton(scale, 448, 162, play.topLeft.x, play.topLeft.y, 203, 204, 205, 206);
  w.playLiteButton =
      MakeButton(scale, 448, 90, play.bottomLeft.x, play.bottomLeft.y, 199, 200, 201, 202);
  w.playLiteButton->disabled = true;

  w.barHeight = (w.footerHeight - 2 * w.margin) / 2;
  const std::int32_t playX = w.playButton->x;
  ProgressBar& total = *w.totalProgress;
  total.left = w.margin;
  total.top = w.height - w.margin - w.barHeight;
  total.right = playX - w.margin;
  total.bottom = w.height - w.margin;
  ProgressBar& file = *w.fileProgress;
  file.left = w.margin;
  file.top = w.footerTop;
  file.right = playX - w.margin;
  file.bottom = w.footerTop + w.barHeight;

  w.statusRect = {std::int32_t(w.margin - w.barHeight * 0.25), w.footerTop,
                  std::int32_t(playX - w.margin + w.barHeight * 0.25), w.height - w.margin};
  w.menuRect = {0, w.headerHeight, w.width, w.footerTop};

  // A box of two rows (repair, about) from L to R and y0 to y1, with a pointer whose tip sits a
  // third of an icon below the header, under the middle of the gear icon.
  const std::int32_t half = w.iconSize / 2;
  const std::int32_t third = w.iconSize / 3;
  const platform::PointF tip{float(w.menuButton->x + 1 + half), float(w.headerHeight + third)};
  const float y0 = float(half) + tip.y;
  const float right = float(w.width - w.margin);
  const float y1 = float(2 * w.iconSize) + y0;
  const auto leftEdge = float(double(w.width - w.margin) - w.width * 0.25);
  w.menuShape = {tip,
                 {float(half) + tip.x, y0},
                 {right, y0},
                 {right, y1},
                 {leftEdge, y1},
                 {leftEdge, y0},
                 {float(half) + tip.x - float(w.iconSize), y0}};

  w.repairButton->Place(std::int32_t(leftEdge), std::int32_t(y0), std::int32_t(right - leftEdge),
                        w.iconSize);
  w.aboutButton->Place(std::int32_t(leftEdge), std::int32_t(float(w.iconSize) + y0),
                       std::int32_t(right - leftEdge), w.iconSize);

  w.retryButton->Place(std::int32_t(w.iconSize * 0.8), std::int32_t(w.height - w.iconSize * 1.5),
                       std::int32_t(w.width * 0.4 + w.iconSize), w.iconSize);
  w.continueButton->Place(std::int32_t((w.width - w.iconSize) - w.iconSize * 0.75),
                          w.retryButton->y, w.iconSize, w.iconSize);
  w.continueButton->leftSlack = std::int32_t(w.width * 0.18);
  w.confirmButton->Place(std::int32_t(w.iconSize * 0.8), w.height - std::int32_t(w.iconSize * 1.5),
                         w.iconSize + std::int32_t(w.width * 0.12), w.iconSize);
  w.declineButton->Place(w.width - w.confirmButton->x - w.iconSize, w.confirmButton->y, w.iconSize,
                         w.confirmButton->height);
  w.declineButton->leftSlack = w.confirmButton->width - w.iconSize;

  w.statusLine = L"Initializing...";
  w.menuOpen = false;
  w.dialogShown = false;
  w.launcherTitleShown = false;
  w.dialogKind = 0;
  w.launcherTitle.clear();
}

}  // namespace vexmor
