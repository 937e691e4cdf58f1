#pragma once

#include "patcher/engine_config.h"

namespace vexmor {

// The engine's configuration from the values compiled into this launcher and its own location.
EngineConfig BuiltInEngineConfig();

}  // namespace vexmor
