#include "app/input_routing.h"

#include "ui/button.h"
#include "ui/launcher_window.h"
#include "ui/news_button.h"

namespace vexmor {
namespace {

std::vector<Button*> DialogWidgets(const LauncherWindow& w) {
  switch (w.dialogKind) {
    case 1:
      return {w.continueButton.get(), w.retryButton.get()};
    case 2:
      return {w.confirmButton.get(), w.declineButton.get()};
    default:
      return {};
  }
}

// The main widgets up to the news entries, without the menu's entries.
std::vector<Button*> MainWidgets(const LauncherWindow& w) {
  std::vector<Button*> widgets{w.closeButton.get(),   w.menuButton.get(),
                               w.minimizeButton.get(), w.websiteButton.get(),
                               w.forumButton.get(),    (w.cancelShown ? w.cancelButton : w.playButton).get(),
                               w.playLiteButton.get()};
  for (const auto& news : w.newsButtons) widgets.push_back(news.get());
  return widgets;
}

bool InsideButton(const Button& button, std::int32_t x, std::int32_t y) {
  return x >= button.x && x < button.x + button.width && y >= button.y && y < button.y + button.height;
}

void CloseMenu(LauncherWindow& w) {
  w.menuOpen = false;
  w.dirtyRects.Add(w.menuRect, true);
}

}  // namespace

std::vector<Button*> ActiveWidgets(const LauncherWindow& w) {
  if (w.dialogShown) return DialogWidgets(w);
  std::vector<Button*> widgets = MainWidgets(w);
  if (w.menuOpen) {
    widgets.push_back(w.repairButton.get());
    widgets.push_back(w.aboutButton.get());
  }
  return widgets;
}

bool InsideMenuShape(std::span<const platform::PointF> shape, std::int32_t x, std::int32_t y) {
  const float px = float(x);
  const float py = float(y);
  bool inside = false;
  for (std::size_t i = 0, j = shape.size() - 1; i < shape.size(); j = i++) {
    const platform::PointF& a = shape[j];
    const platform::PointF& b = shape[i];
    if ((a.y > py) != (b.y > py) && px < a.x + (b.x - a.x) * (py - a.y) / (b.y - a.y)) inside = !inside;
  }
  return inside;
}

bool OnMouseDown(LauncherWindow& w, std::int32_t x, std::int32_t y) {
  bool taken = false;
  for (Button* widget : ActiveWidgets(w)) widget->OnPress(w.dirtyRects, x, y, taken);
  if (w.menuOpen && !InsideButton(*w.menuButton, x, y) && !InsideMenuShape(w.menuShape, x, y)) CloseMenu(w);
  return !taken;
}

void OnMouseUp(LauncherWindow& w, std::int32_t x, std::int32_t y) {
  if (w.dialogShown) {
    for (Button* widget : DialogWidgets(w)) widget->OnRelease(w.dirtyRects, x, y);
    return;
  }
  for (Button* widget : MainWidgets(w)) widget->OnRelease(w.dirtyRects, x, y);
  if (w.menuOpen && !w.menuButton->clicked && !InsideMenuShape(w.menuShape, x, y)) CloseMenu(w);
  if (w.menuOpen) {
    w.repairButton->OnRelease(w.dirtyRects, x, y);
    w.aboutButton->OnRelease(w.dirtyRects, x, y);
  }
}

void OnMouseMove(LauncherWindow& w, std::int32_t x, std::int32_t y) {
  for (Button* widget : ActiveWidgets(w)) widget->OnMove(w.dirtyRects, x, y);
}

void ClearHoverOnLeave(LauncherWindow& w) {
  std::vector<Button*> widgets{w.closeButton.get(),   w.menuButton.get(),
                               w.minimizeButton.get(), w.websiteButton.get(),
                               w.forumButton.get(),    (w.cancelShown ? w.cancelButton : w.playButton).get(),
                               w.playLiteButton.get()};
  if (w.menuOpen) {
    widgets.push_back(w.repairButton.get());
    widgets.push_back(w.aboutButton.get());
  }
  for (Button* widget : DialogWidgets(w)) widgets.push_back(widget);
  for (Button* widget : widgets) widget->OnMove(w.dirtyRects, -1, -1);
}

platform::CursorStyle CursorFor(const LauncherWindow& w) {
  if (w.dialogShown) return platform::CursorStyle::Arrow;
  for (std::int32_t i = 0; i < w.newsCount; ++i) {
    if (w.newsButtons[i]->hovered) return platform::CursorStyle::Hand;
  }
  return platform::CursorStyle::Arrow;
}

void HandleWindowEvent(LauncherWindow& w, const platform::WindowEvent& event) {
  using platform::WindowEventKind;
  switch (event.kind) {
    case WindowEventKind::CloseRequest:
      w.running = false;
      return;
    case WindowEventKind::RestoreRequest:
      if (w.hwnd) w.hwnd->RestoreAndRaise();
      return;
    case WindowEventKind::MouseLeave:
      // Hover is cleared by the frame tick, which looks where the mouse is.
      return;
    case WindowEventKind::MouseMove:
      if (w.draggingWindow && event.leftButtonDown && w.hwnd) {
        // From the event's own screen position: a query of the pointer may lag behind.
        w.hwnd->Move(event.screenX - w.dragAnchorX, event.screenY - w.dragAnchorY);
      }
      OnMouseMove(w, event.x, event.y);
      break;
    case WindowEventKind::LeftButtonDown:
      w.draggingWindow = OnMouseDown(w, event.x, event.y);
      if (w.draggingWindow && w.hwnd) w.hwnd->CaptureMouse(true);
      w.dragAnchorX = event.x;
      w.dragAnchorY = event.y;
      break;
    case WindowEventKind::LeftButtonUp:
      if (w.draggingWindow) {
        w.draggingWindow = false;
        if (w.hwnd) w.hwnd->CaptureMouse(false);
      }
      OnMouseUp(w, event.x, event.y);
      break;
  }
  if (w.hwnd) w.hwnd->SetCursor(CursorFor(w));
}

}  // namespace vexmor
