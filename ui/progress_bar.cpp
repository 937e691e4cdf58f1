#include "ui/progress_bar.h"

#include <algorithm>
#include <cmath>

#include "support/paths/text.h"

namespace vexmor {
namespace {

constexpr double kMarkerLimit = 0.995;
constexpr double kLargestPercent = 9999999.0;

}  // namespace

std::unique_ptr<ProgressBar> MakeProgressBar(const std::optional<platform::Bitmap>& marker) {
  return std::make_unique<ProgressBar>(MakeCachedBitmap(marker));
}

std::optional<std::int32_t> ProgressBar::MarkerLeft() const {
  const std::int32_t h = bottom - top;
  const std::int32_t w = right - left;
  const auto usable = std::int32_t(double(w) - double(h) * 0.1);
  const double ratio = double(value) / double(maximum);
  if (std::isnan(ratio)) return std::nullopt;
  const auto fill = std::int32_t(std::min(kMarkerLimit, ratio) * double(usable));
  const std::int32_t position = left + std::min(fill, usable);
  return std::int32_t(double(position) - double(h) / 2.35);
}

std::wstring ProgressBar::PercentText() const {
  double percent = 0;
  if (maximum != 0) percent = std::min(double(value) / double(maximum) * 100.0, kLargestPercent);
  return std::to_wstring(std::int32_t(percent)) + L"%";
}

void ProgressBar::DrawTrack(platform::Canvas& canvas, const platform::SolidBrush& band) const {
  if (!visible) return;
  if (const auto markerLeft = MarkerLeft(); markerLeft && markerImage) {
    canvas.DrawCached(*markerImage, *markerLeft, top);
  }
  canvas.FillRectangle(band, left, top, right - left, bottom - top);
}

void ProgressBar::DrawText(platform::Canvas& canvas, const platform::Font& font,
                           const platform::SolidBrush& brush) const {
  if (!visible) return;
  const auto inset = std::int32_t(double(right - left) * 0.02);
  const platform::RectF box{float(left + inset), float(top), float(right - 2 * inset - left),
                            float(bottom - top)};
  canvas.DrawText(WideToUtf8(label), font, brush, box,
                  {platform::TextAlign::Near, platform::TextAlign::Center, true});
  canvas.DrawText(WideToUtf8(PercentText()), font, brush, box,
                  {platform::TextAlign::Far, platform::TextAlign::Center, true});
}

}  // namespace vexmor
