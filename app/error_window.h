#pragma once

#include <string>

#include "platform/window/video_system.h"

namespace vexmor {

inline constexpr const char* kErrorWindowTitle = "Vexmor Launcher";

// Shows a failure of the start in a small window of its own, titled kErrorWindowTitle, with the
// text and an OK button, and returns once the user closed it. False when no such window can be
// shown (it cannot be created, or the embedded font is missing); the caller then reports the text
// another way.
bool ShowErrorWindow(const platform::VideoSystem& video, const std::string& text);

}  // namespace vexmor
