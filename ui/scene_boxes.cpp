#include "ui/scene_boxes.h"

#include "ui/button.h"
#include "ui/launcher_window.h"
#include "ui/progress_bar.h"

namespace vexmor {

using platform::RectF;

RectF MenuCaptionBox(const LauncherWindow& w, const Button& entry) {
  const auto x = float(double(entry.x + w.iconSize) + w.iconSize * 0.08);
  return {x, float(entry.y), w.menuShape[2].x - x, float(w.iconSize)};
}

RectF StatusBox(const LauncherWindow& w) {
  const ProgressBar& upper = *w.fileProgress;
  return {float(upper.left), float(w.statusRect.top), float(upper.right - upper.left),
          float(w.statusRect.bottom - w.statusRect.top)};
}

RectF LauncherTitleBox(const LauncherWindow& w) {
  return {float(w.margin), float(w.footerTop), float(w.playButton->x - 2 * w.margin),
          float(w.barHeight)};
}

RectF LauncherTitleTextBox(const LauncherWindow& w) {
  const std::int32_t boxWidth = w.playButton->x - 2 * w.margin;
  const auto inset = std::int32_t(double(boxWidth) * 0.02);
  return {float(w.margin + inset), float(w.footerTop), float(boxWidth - 2 * inset),
          float(w.barHeight)};
}

RectF QuestionTextBox(const LauncherWindow& w) {
  const platform::Rect& client = w.clientRect;
  const auto header = float(w.headerHeight);
  return {header + float(client.left), header + float(client.top),
          float(client.right - client.left) - 2 * header,
          float(client.bottom - client.top) - 3 * header};
}

RectF RetryCaptionBox(const LauncherWindow& w) {
  const Button& retry = *w.retryButton;
  return {float(double(w.iconSize) + w.iconSize * 0.8), float(retry.y), float(w.width * 0.5),
          float(retry.height)};
}

RectF ContinueCaptionBox(const LauncherWindow& w) {
  const Button& next = *w.continueButton;
  return {0, float(next.y), float(next.x), float(next.height)};
}

RectF ConfirmCaptionBox(const LauncherWindow& w) {
  const Button& confirm = *w.confirmButton;
  return {float(confirm.x + w.iconSize), float(confirm.y), float(confirm.width - w.iconSize),
          float(confirm.height)};
}

RectF DeclineCaptionBox(const LauncherWindow& w) {
  const Button& decline = *w.declineButton;
  return {float(decline.x - decline.leftSlack), float(decline.y), float(decline.leftSlack),
          float(decline.height)};
}

}  // namespace vexmor
