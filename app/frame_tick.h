#pragma once

#include "app/game_start.h"

namespace vexmor {

struct LauncherWindow;

// The frame tick: the only place where the window reads the engine's status and gives it
// commands. Clears hover when the mouse has left, starts an update that waits for the previous run,
// shows and answers questions, follows the engine (CANCEL in PLAY's place, links and PLAY
// enabled), acts on clicked widgets and refreshes the status view.
void UpdateFrame(LauncherWindow& window, const ShellEffects& effects);

// Starts an update run, or a repair with `repair`: the buttons that must wait for its end are
// disabled at once. A run still going on is never interrupted; the new one starts at the first
// tick that finds it returned, and until then the frame ticks go on, so the old run's questions
// are shown and answered as usual.
void StartUpdate(LauncherWindow& window, bool repair);

// Joins a run that has returned, and starts the waiting update once no run is going on; false
// while the previous run still works.
bool StartPendingUpdate(LauncherWindow& window);

// For a window that is destroyed rather than left to the process's end: cancels the run, declines
// its questions and waits for it to return.
void StopUpdateWorker(LauncherWindow& window);

}  // namespace vexmor
