#include "ui/scene.h"

#include "patcher/patcher.h"
#include "support/paths/text.h"
#include "ui/button.h"
#include "ui/launcher_window.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"
#include "ui/renderer.h"

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

// A menu entry: its icon, and its caption from a little right of the icon to the menu's right edge.
void DrawMenuEntry(const LauncherWindow& w, Renderer& r, const Button& entry,
                   std::wstring_view caption) {
  DrawButton(r.backGraphics, entry);
  const auto captionX = float(double(entry.x + w.iconSize) + w.iconSize * 0.08);
  DrawText(r, caption, r.dimBrush,
           {captionX, float(entry.y), w.menuShape[2].x - captionX, float(w.iconSize)},
           r.leftFormat);
}

void PaintMenu(const LauncherWindow& w, Renderer& r) {
  const Button& repair = *w.repairButton;
  const std::int32_t separatorX = repair.x + w.iconSize;
  r.backGraphics.DrawLine(r.dimPen, separatorX, repair.y, separatorX,
                          std::int32_t(w.menuShape[4].y));
  r.backGraphics.FillPolygonEvenOdd(r.panelBrush, w.menuShape);
  const bool repairing = repair.disabled && w.patcher->repairRequested.load();
  DrawMenuEntry(w, r, repair, repairing ? L"Repairing..." : L"Repair installation");
  DrawMenuEntry(w, r, *w.aboutButton, L"About");
}

void PaintStatusArea(const LauncherWindow& w, Renderer& r) {
  const ProgressBar& upper = *w.fileProgress;
  if (!w.statusLine.empty()) {
    const RectF box{float(upper.left), float(w.statusRect.top), float(upper.right - upper.left),
                    float(w.statusRect.bottom - w.statusRect.top)};
    r.backGraphics.FillRectangle(r.panelBrush, box);
    DrawText(r, w.statusLine, r.whiteBrush, box, r.centerFormat);
  } else if (w.launcherTitleShown) {
    const std::int32_t boxWidth = w.playButton->x - 2 * w.margin;
    r.backGraphics.FillRectangle(r.panelBrush, w.margin, w.footerTop, boxWidth, w.barHeight);
    const auto inset = std::int32_t(double(boxWidth) * 0.02);
    DrawText(r, w.launcherTitle, r.whiteBrush,
             {float(w.margin + inset), float(w.footerTop), float(boxWidth - 2 * inset),
              float(w.barHeight)},
             r.leftFormat);
  }
}

void PaintDialog(const LauncherWindow& w, Renderer& r) {
  const platform::Rect& client = w.clientRect;
  const std::int32_t cw = client.right - client.left;
  const std::int32_t ch = client.bottom - client.top;
  r.backGraphics.FillRectangle(r.overlayBrush, client.left, client.top, cw, ch);
  const auto header = float(w.headerHeight);
  DrawText(r, w.patcher->QuestionText(), r.whiteBrush,
           {header + float(client.left), header + float(client.top), float(cw) - 2 * header,
            float(ch) - 3 * header},
           r.centerFormat);

  if (w.dialogKind == 1) {
    const Button& retry = *w.retryButton;
    const Button& next = *w.continueButton;
    DrawText(r, L"Try again", r.dimBrush,
             {float(double(w.iconSize) + w.iconSize * 0.8), float(retry.y),
              float(w.width * 0.5), float(retry.height)},
             r.leftFormat);
    DrawButton(r.backGraphics, retry);
    DrawText(r, L"Continue anyways", r.dimBrush,
             {0, float(next.y), float(next.x), float(next.height)}, r.rightFormat);
    DrawButton(r.backGraphics, next);
  } else if (w.dialogKind == 2) {
    const Button& confirm = *w.confirmButton;
    const Button& decline = *w.declineButton;
    DrawText(r, L"CONFIRM", r.dimBrush,
             {float(confirm.x + w.iconSize), float(confirm.y), float(confirm.width - w.iconSize),
              float(confirm.height)},
             r.leftFormat);
    DrawButton(r.backGraphics, confirm);
    DrawText(r, L"CANCEL", r.dimBrush,
             {float(decline.x - decline.leftSlack), float(decline.y), float(decline.leftSlack),
              float(decline.height)},
             r.rightFormat);
    DrawButton(r.backGraphics, decline);
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
