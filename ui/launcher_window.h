#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/font_collection.h"
#include "platform/canvas/geometry.h"
#include "ui/dirty_rects.h"

namespace vexmor {

namespace platform {
class Window;
}  // namespace platform

class Button;
class NewsButton;
class Patcher;
class ProgressBar;
class Renderer;

// The launcher's one main object, as a record: the window's geometry, its widgets and drawing
// context, the state of the user interface and the update engine. The presentation (layout,
// renderer, news list, scene) and the shell (loop, input, frame tick) are functions over it. Every
// field is read and written on the main thread only; the engine behind `patcher` is shared with
// the worker thread.
struct LauncherWindow {
  LauncherWindow();
  ~LauncherWindow();
  LauncherWindow(const LauncherWindow&) = delete;
  LauncherWindow& operator=(const LauncherWindow&) = delete;

  bool running = false;              // the loop goes on while set; set once the window is shown
  platform::Window* hwnd = nullptr;  // the popup window, made by the shell after the layout
  DirtyRects dirtyRects;             // repaints asked for, for the shell to pass to the window
  std::wstring title;
  std::optional<platform::Bitmap> newsPanelImage;  // given to the news entries
  std::optional<platform::Bitmap> newsPanelHoverImage;
  platform::FontCollection regularFonts;
  platform::FontCollection boldFonts;
  std::unique_ptr<Button> closeButton;
  std::unique_ptr<Button> menuButton;
  std::unique_ptr<Button> minimizeButton;
  std::unique_ptr<Button> websiteButton;
  std::unique_ptr<Button> forumButton;
  std::unique_ptr<Button> playButton;
  std::unique_ptr<Button> playLiteButton;
  std::unique_ptr<Button> cancelButton;
  std::unique_ptr<Button> repairButton;
  std::unique_ptr<Button> aboutButton;
  std::unique_ptr<Button> confirmButton;
  std::unique_ptr<Button> declineButton;
  std::unique_ptr<Button> continueButton;
  std::unique_ptr<Button> retryButton;
  std::unique_ptr<ProgressBar> fileProgress;               // the current item
  std::unique_ptr<ProgressBar> totalProgress;              // the whole phase
  std::array<std::unique_ptr<NewsButton>, 3> newsButtons;  // index 0 at the top
  std::wstring statusLine;  // the engine's message shown; empty while the bars are shown
  std::vector<platform::PointF> menuShape;  // outline of the drop-down menu, 7 points
  bool menuOpen = false;
  bool dialogShown = false;
  std::int32_t dialogKind = 0;  // 0, or the kind of question shown (1 failed files, 2 close game)
  platform::Rect clientRect;
  std::int32_t screenWidth = 0;
  std::int32_t screenHeight = 0;
  std::int32_t refreshRate = 0;
  std::int32_t frameIntervalMs = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  float scale = 0;  // height / 1080: the artwork's design height is 1080 pixels
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t headerHeight = 0;
  std::int32_t iconSize = 0;
  std::int32_t footerHeight = 0;
  std::int32_t footerTop = 0;
  std::int32_t margin = 0;
  std::int32_t textPoints = 0;
  std::int32_t fontPixels = 0;
  std::int32_t barHeight = 0;
  platform::Rect statusRect;  // status line and both progress bars
  platform::Rect menuRect;    // the middle band: menu and news
  bool launcherTitleShown = false;
  std::wstring launcherTitle;
  bool draggingWindow = false;
  std::int32_t dragAnchorX = 0;
  std::int32_t dragAnchorY = 0;
  std::unique_ptr<Patcher> patcher;
  std::thread worker;
  std::atomic<bool> workerReturned{false};  // set by the worker once its run has returned
  bool updatePending = false;  // a started update waits for the previous run to return
  std::uint64_t sampleBytes = 0;
  double speedMBps = 0;
  std::int64_t sampleTimeMs = 0;
  std::deque<double> speedHistory;  // the last speed samples, at most 100
  std::int32_t newsCount = 0;       // news entries in use, 0 to 3
  bool cancelShown = false;         // CANCEL takes PLAY's place
  std::wstring progressHead;        // the current item's label without its speed
  std::wstring startProblem;        // why the game did not start, shown in the status line
  std::wstring startProblemOver;    // the engine's text it replaced; a new engine text ends it
  std::unique_ptr<Renderer> renderer;
};

}  // namespace vexmor
