#include "app/error_window.h"

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/font.h"
#include "platform/canvas/font_collection.h"
#include "platform/window/window.h"
#include "resources/resources.h"

namespace vexmor {
namespace {

constexpr int kRegularFont = 144;
constexpr int kWidth = 480;
constexpr int kHeight = 170;
constexpr int kPadding = 20;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 34;
constexpr float kTextPixels = 16.0f;
constexpr platform::Argb kBackground = 0xFF1C1F24;
constexpr platform::Argb kButton = 0xFF3A404A;
constexpr platform::Argb kButtonHover = 0xFF4E5664;
constexpr platform::Argb kText = 0xFFFFFFFF;

struct OkButton {
  int x = kWidth - kPadding - kButtonWidth;
  int y = kHeight - kPadding - kButtonHeight;
  bool hovered = false;

  bool Contains(int px, int py) const {
    return px >= x && px < x + kButtonWidth && py >= y && py < y + kButtonHeight;
  }
  platform::PixelRect Rect() const { return {x, y, x + kButtonWidth, y + kButtonHeight}; }
};

}  // namespace

bool ShowErrorWindow(const platform::VideoSystem& video, const std::string& text) {
  platform::FontCollection fonts;
  const auto bytes = FindResource(kRegularFont);
  if (bytes.empty() || !fonts.AddMemoryFont(bytes)) return false;
  const auto family = fonts.FirstFamily();
  if (!family) return false;
  const platform::Font font(*family, kTextPixels, platform::FontWeight::Regular);

  const auto display = video.PrimaryDisplay();
  const int left = display ? (display->width - kWidth) / 2 : 0;
  const int top = display ? (display->height - kHeight) / 2 : 0;
  std::string error;
  auto window = platform::Window::Create(video, {kErrorWindowTitle, left, top, kWidth, kHeight}, error);
  if (!window) return false;

  platform::Bitmap buffer = platform::Bitmap::Create(kWidth, kHeight);
  OkButton ok;
  bool done = false;
  bool pressedOnOk = false;
  window->SetPainter([&](const platform::InvalidRegion&) {
    platform::Canvas canvas(buffer);
    canvas.FillRectangle({kBackground}, 0, 0, kWidth, kHeight);
    const float textBottom = float(ok.y - kPadding / 2);
    const platform::RectF textBox{float(kPadding), float(kPadding), float(kWidth - 2 * kPadding),
                                  textBottom - kPadding};
    canvas.DrawText(text, font, {kText}, textBox, {platform::TextAlign::Near, platform::TextAlign::Center});
    canvas.FillRectangle({ok.hovered ? kButtonHover : kButton}, ok.x, ok.y, kButtonWidth, kButtonHeight);
    canvas.DrawText("OK", font, {kText},
                    {float(ok.x), float(ok.y), float(kButtonWidth), float(kButtonHeight)},
                    {platform::TextAlign::Center, platform::TextAlign::Center, true});
    const auto pixels = buffer.Pixels();
    return platform::Argb32Pixels{pixels.data, pixels.width, pixels.height, pixels.stride};
  });
  window->SetEventHandler([&](const platform::WindowEvent& event) {
    using platform::WindowEventKind;
    switch (event.kind) {
      case WindowEventKind::CloseRequest:
        done = true;
        return;
      case WindowEventKind::LeftButtonDown:
        pressedOnOk = ok.Contains(event.x, event.y);
        return;
      case WindowEventKind::LeftButtonUp:
        if (pressedOnOk && ok.Contains(event.x, event.y)) done = true;
        pressedOnOk = false;
        return;
      case WindowEventKind::MouseMove:
      case WindowEventKind::MouseLeave: {
        const bool over = event.kind == WindowEventKind::MouseMove && ok.Contains(event.x, event.y);
        if (over != ok.hovered) {
          ok.hovered = over;
          window->Invalidate(ok.Rect(), false);
        }
        return;
      }
      case WindowEventKind::RestoreRequest:
        window->RestoreAndRaise();
        return;
    }
  });
  window->Show();
  // The only window of the process until it is closed; nothing else runs meanwhile.
  while (!done) {
    if (window->WaitForFrame(1000) == platform::WaitEnd::Closed) done = true;
  }
  return true;
}

}  // namespace vexmor
