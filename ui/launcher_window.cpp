#include "ui/launcher_window.h"

#include "patcher/patcher.h"
#include "ui/button.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"
#include "ui/renderer.h"

namespace vexmor {

// Defined here, where the owned types are complete.
LauncherWindow::LauncherWindow() = default;
LauncherWindow::~LauncherWindow() = default;

}  // namespace vexmor
