#include "ui/news_button.h"

#include "patcher/patcher.h"
#include "support/paths/text.h"
#include "ui/launcher_window.h"
#include "ui/news_entries.h"

namespace vexmor {

NewsButton::NewsButton(const std::optional<platform::Bitmap>& panel,
                       const std::optional<platform::Bitmap>& hoverPanel)
    : Button(panel, hoverPanel, panel, panel) {}

std::unique_ptr<NewsButton> MakeNewsButton(const std::optional<platform::Bitmap>& panel,
                                           const std::optional<platform::Bitmap>& hoverPanel) {
  return std::make_unique<NewsButton>(panel, hoverPanel);
}

void NewsButton::SetTexts(std::wstring badge, std::wstring headline, std::wstring detail,
                          std::wstring link) {
  badgeText = std::move(badge);
  headlineText = std::move(headline);
  detailText = std::move(detail);
  linkUrl = std::move(link);
}

namespace {

std::int32_t SplitOf(std::int32_t width) { return std::int32_t(double(width) * 0.465); }

}  // namespace

platform::RectF NewsButton::HeadlineBox() const {
  const std::int32_t split = SplitOf(width);
  return {float(x + split), float(y), float(width - split), float(height)};
}

platform::RectF NewsButton::DetailBox() const {
  const std::int32_t split = SplitOf(width);
  return {float(x + split), float(y), float(double(float(width - split)) - double(width) * 0.017),
          float(height)};
}

void NewsButton::Draw(platform::Canvas& canvas, const platform::Font& badgeFont,
                      const platform::Font& headlineFont, const platform::Font& detailFont,
                      const platform::SolidBrush& badgeBrush,
                      const platform::SolidBrush& headlineBrush,
                      const platform::SolidBrush& detailBrush) const {
  if (const CachedImage& image = CurrentImage()) canvas.DrawCached(*image, x, y);
  canvas.DrawText(WideToUtf8(badgeText), badgeFont, badgeBrush,
                  {float(x), float(y), float(width), float(height)}, badgeFormat);
  canvas.DrawText(WideToUtf8(headlineText), headlineFont, headlineBrush, HeadlineBox());
  canvas.DrawText(WideToUtf8(detailText), detailFont, detailBrush, DetailBox(), detailFormat);
}

void FillNewsList(LauncherWindow& window) {
  const std::vector<NewsEntry> entries = GroupNewsEntries(window.patcher->NewsText());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    NewsButton& button = *window.newsButtons[i];
    button.SetTexts(entries[i].badge, entries[i].headline, entries[i].detail, entries[i].link);
    button.disabled = false;
  }
  window.newsCount = std::int32_t(entries.size());
  window.dirtyRects.Add(window.menuRect, true);
}

}  // namespace vexmor
