#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/canvas/canvas.h"
#include "ui/images.h"

namespace vexmor {

// A translucent band with a light marker that moves from left to right as the value grows, a
// label at the left and the percentage at the right. The frame tick writes value, maximum and
// visibility; a hidden bar draws nothing.
class ProgressBar {
 public:
  explicit ProgressBar(CachedImage marker) : markerImage(std::move(marker)) {}

  void SetLabel(std::wstring text) { label = std::move(text); }

  // Left edge of the marker image; none when the ratio is undefined (nothing of nothing done).
  // The marker stops at 99.5 % of the usable width.
  std::optional<std::int32_t> MarkerLeft() const;

  // Whole percent done, truncated ("57%"); "0%" when the maximum is 0. The figure can exceed 100
  // when the value does; it is capped at 9999999 so the text stays short.
  std::wstring PercentText() const;

  // The marker, then the band over it (the marker shows through dimmed).
  void DrawTrack(platform::Canvas& canvas, const platform::SolidBrush& band) const;
  // The label from the left inset and the percentage up to the right inset, vertically centred,
  // neither wrapped.
  void DrawText(platform::Canvas& canvas, const platform::Font& font,
                const platform::SolidBrush& brush) const;

  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::wstring label = L"Loading...";
  std::uint64_t value = 0;
  std::uint64_t maximum = 100;
  bool visible = false;
  CachedImage markerImage;
};

std::unique_ptr<ProgressBar> MakeProgressBar(const std::optional<platform::Bitmap>& marker);

}  // namespace vexmor
