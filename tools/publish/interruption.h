#pragma once

namespace vexmor::publish {

// Turns Ctrl-C and SIGTERM into a request that long work checks between steps, so an interrupted
// build removes its unfinished folder and leaves the old tree as it was. A second signal ends the
// program at once.
void CatchInterruptions();

bool Interrupted();

}  // namespace vexmor::publish
