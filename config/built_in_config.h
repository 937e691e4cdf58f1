#pragma once

#include <array>
#include <string_view>

namespace vexmor {

// Deployment values compiled in at configure time (see cmake/BuiltInConfig.cmake).
extern const std::array<std::string_view, 3> kUpdateUrls;
extern const std::string_view kPublicKey1;
extern const std::string_view kPublicKey2;
// PEM bundle trusted for every HTTPS transfer; empty means the system's default store.
extern const std::string_view kCaBundle;

}  // namespace vexmor
