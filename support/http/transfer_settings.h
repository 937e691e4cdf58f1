#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vexmor {

// A transfer that receives nothing for this long is aborted.
inline constexpr std::int64_t kStallTimeoutMs = 60000;

// What every transfer and the server probe of one engine share.
struct TransferSettings {
  std::string caBundle;  // PEM certificates to trust; empty means the system's default store
  std::chrono::milliseconds stallTimeout{kStallTimeoutMs};
};

}  // namespace vexmor
