#pragma once

namespace vexmor::platform {

// Asks the window that waits in this process to restore and raise itself: its wait reports a
// RestoreRequest event. Safe to call from any thread; false when no video system is running.
bool PostRestoreRequest();

}  // namespace vexmor::platform
