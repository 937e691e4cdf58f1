#pragma once

#include "patcher/engine_config.h"

namespace vexmor {

// How questions are answered without a window.
enum class HeadlessAnswers { Ask, Yes, No };

struct HeadlessOptions {
  bool repair = false;
  HeadlessAnswers answers = HeadlessAnswers::Ask;
};

// One update run without any window system: status texts and progress on standard output,
// questions answered by the options or on the terminal, Ctrl-C cancels (twice: ends at once).
// Returns 0 when the run finished, otherwise the number of the final stage.
int RunHeadless(const HeadlessOptions& options, EngineConfig config);

}  // namespace vexmor
