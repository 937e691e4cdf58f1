#include "ui/scene.h"

#include "patcher/patcher.h"
#include "support/paths/text.h"
#include "ui/button.h"
#include "ui/launcher_window.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"
#include "ui/renderer.h"
#include "ui/scene_boxes.h"

namespace vexmor {
namespace {

using platform::RectF;

void DrawButton(platform::Canvas& canvas, const Button& button) {
  if (const CachedImage& image = button.CurrentImage()) {
    canvas.DrawCached(*image, button.x, button.y);
  }
}

void DrawText(Renderer& r, std::wstring_view text, const platform::SolidBrush& brush,
              const RectF& box, const platform::StringFormat& format = {}) {
  r.backGraphics.DrawText(WideToUtf8(text), r.textFont, brush, box, format);
}

void DrawMenuEntry(const LauncherWindow& w, Renderer& r, const Button& entry,
                   std::wstring_view caption) {
  DrawButton(r.backGraphics, entry);
  DrawText(r, caption, r.dimBrush, MenuCaptionBox(w, entry), r.leftFormat);
}

void PaintMenu(const LauncherWindow& w, Renderer& r) {
  const Button& repair = *w.repairButton;
  // Down the left side of the captions to the bottom of the box; the fill goes over it.
  const std::int32_t separatorX = repair.x + w.iconSize;
  r.backGraphics.DrawLine(r.dimPen, separatorX, repair.y, separatorX,
                          std::int32_t(w.menuShape[4].y));
  r.backGraphics.FillPolygonEvenOdd(r.panelBrush, w.menuShape);
  const bool repairing = repair.disabled && w.patcher->repairRequested.load();
  DrawMenuEntry(w, r, repair, repairing ? L"Repairing..." : L"Repair installation");
  DrawMenuEntry(w, r, *w.aboutButton, L"About");
}

// The status text over both bars' place, else the launcher-update title over the upper bar's.
void PaintStatusArea(const LauncherWindow& w, Renderer& r) {
  if (!w.statusLine.empty()) {
    const RectF box = StatusBox(w);
    r.backGraphics.FillRectangle(r.panelBrush, box);
    DrawText(r, w.statusLine, r.whiteBrush, box, r.centerFormat);
  } else if (w.launcherTitleShown) {
    const RectF box = LauncherTitleBox(w);
    r.backGraphics.FillRectangle(r.panelBrush, int(box.x), int(box.y), int(box.width),
                                 int(box.height));
    DrawText(r, w.launcherTitle, r.whiteBrush, LauncherTitleTextBox(w), r.leftFormat);
  }
}

void PaintDialog(const LauncherWindow& w, Renderer& r) {
  const platform::Rect& client = w.clientRect;
  r.backGraphics.FillRectangle(r.overlayBrush, client.left, client.top, client.right - client.left,
                               client.bottom - client.top);
  DrawText(r, w.patcher->QuestionText(), r.whiteBrush, QuestionTextBox(w), r.centerFormat);
  if (w.dialogKind == 1) {
    DrawText(r, L"Try again", r.dimBrush, RetryCaptionBox(w), r.leftFormat);
    DrawButton(r.backGraphics, *w.retryButton);
    DrawText(r, L"Continue anyways", r.dimBrush, ContinueCaptionBox(w), r.rightFormat);
    DrawButton(r.backGraphics, *w.continueButton);
  } else if (w.dialogKind == 2) {
    DrawText(r, L"CONFIRM", r.dimBrush, ConfirmCaptionBox(w), r.leftFormat);
    DrawButton(r.backGraphics, *w.confirmButton);
    DrawText(r, L"CANCEL", r.dimBrush, DeclineCaptionBox(w), r.rightFormat);
    DrawButton(r.backGraphics, *w.declineButton);
  }
}

}  // namespace

void PaintScene(const LauncherWindow& w) {
  Renderer& r = *w.renderer;
  platform::Canvas& canvas = r.backGraphics;

  // The background is opaque and covers the whole buffer, so the buffer is never cleared.
  if (r.background) canvas.DrawCached(*r.background, 0, 0);
  canvas.FillRectangle(r.shadeBrush, 0, 0, w.width, w.headerHeight + 1);

  for (const Button* button : {w.closeButton.get(), w.menuButton.get(), w.minimizeButton.get(),
                               w.websiteButton.get(), w.forumButton.get()}) {
    DrawButton(canvas, *button);
  }
  DrawButton(canvas, w.cancelShown ? *w.cancelButton : *w.playButton);
  DrawButton(canvas, *w.playLiteButton);

  for (std::int32_t i = 0; i < w.newsCount; ++i) {
    w.newsButtons[i]->Draw(canvas, r.titleFont, r.smallFont, r.smallFont, r.lightBrush,
                           r.whiteBrush, r.dimBrush);
  }

  if (w.menuOpen) PaintMenu(w, r);

  for (const ProgressBar* bar : {w.fileProgress.get(), w.totalProgress.get()}) {
    bar->DrawTrack(canvas, r.panelBrush);
    bar->DrawText(canvas, r.textFont, r.whiteBrush);
  }

  PaintStatusArea(w, r);

  // A zero-size box: the title is laid out from its corner, unwrapped and unclipped.
  DrawText(r, w.title, r.whiteBrush, {3, -1, 0, 0});

  if (w.dialogShown) PaintDialog(w, r);
}

}  // namespace vexmor
