#pragma once

#include "platform/canvas/geometry.h"

namespace vexmor {

struct LauncherWindow;
class Button;

// Layout rectangles of the texts and boxes the scene draws, from the window's layout.

// A menu entry's caption: from a little right of its icon to the menu's right edge.
platform::RectF MenuCaptionBox(const LauncherWindow& window, const Button& entry);

// The status box over the place of both progress bars.
platform::RectF StatusBox(const LauncherWindow& window);

// The launcher-update box over the upper bar's place, and its text inset from both sides.
platform::RectF LauncherTitleBox(const LauncherWindow& window);
platform::RectF LauncherTitleTextBox(const LauncherWindow& window);

// The question dialog's text and the captions of its answers. The right answers' captions end at
// their icon's left edge; "CONFIRM" and "CANCEL" cover exactly the answers' hit areas.
platform::RectF QuestionTextBox(const LauncherWindow& window);
platform::RectF RetryCaptionBox(const LauncherWindow& window);
platform::RectF ContinueCaptionBox(const LauncherWindow& window);
platform::RectF ConfirmCaptionBox(const LauncherWindow& window);
platform::RectF DeclineCaptionBox(const LauncherWindow& window);

}  // namespace vexmor
