#pragma once

#include <memory>
#include <string>

#include "platform/canvas/canvas.h"
#include "ui/button.h"

namespace vexmor {

struct LauncherWindow;

// A news entry: a button over a panel image that carries the entry's texts and draws three of
// them; the fourth is the link the frame tick opens on a click.
class NewsButton : public Button {
 public:
  // The panel image serves the normal, pressed and disabled states; the hover image the hover.
  NewsButton(const std::optional<platform::Bitmap>& panel,
             const std::optional<platform::Bitmap>& hoverPanel);

  void SetTexts(std::wstring badge, std::wstring headline, std::wstring detail, std::wstring link);

  // The panel, then the badge over the whole panel, the headline at the top left of its right
  // part and the detail at the bottom right of that part.
  void Draw(platform::Canvas& canvas, const platform::Font& badgeFont,
            const platform::Font& headlineFont, const platform::Font& detailFont,
            const platform::SolidBrush& badgeBrush, const platform::SolidBrush& headlineBrush,
            const platform::SolidBrush& detailBrush) const;

  // The right part of the panel, from 46.5 % of its width: the headline at its top left, the
  // detail at the bottom right, kept 1.7 % of the width from the edge.
  platform::RectF HeadlineBox() const;
  platform::RectF DetailBox() const;

  std::wstring badgeText;
  std::wstring headlineText;
  std::wstring detailText;
  std::wstring linkUrl;
  platform::StringFormat badgeFormat{platform::TextAlign::Near, platform::TextAlign::Center};
  platform::StringFormat detailFormat{platform::TextAlign::Far, platform::TextAlign::Far};
};

std::unique_ptr<NewsButton> MakeNewsButton(const std::optional<platform::Bitmap>& panel,
                                           const std::optional<platform::Bitmap>& hoverPanel);

// Fills the news panels from the engine's news text, enables the filled ones, sets `newsCount`
// and asks for the middle band to be repainted.
void FillNewsList(LauncherWindow& window);

}  // namespace vexmor
