#pragma once

#include <cstdint>
#include <string>

namespace vexmor {

struct LauncherWindow;

// The lower band from the engine's status, at the end of a frame tick: the engine's text over the
// bars' place when it has one, else the bars (or, while the launcher updates itself, its title box
// and one bar) with the item's name and speed and the phase's counts and time left. Repaints only
// what changed. `nowMs` is the wall clock the speed is sampled against.
void UpdateStatusView(LauncherWindow& window, std::int64_t nowMs);

// Shows why the game did not start, in place of the engine's current text, until the engine
// says something new.
void ShowStartProblem(LauncherWindow& window, std::wstring text);

}  // namespace vexmor
