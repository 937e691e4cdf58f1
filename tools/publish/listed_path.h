#pragma once

#include <string>
#include <string_view>

namespace vexmor::publish {

// Why a relative, '/'-separated path cannot be published: the checksum list separates fields with
// TAB and records with LF, the launcher converts listed paths as UTF-8 and joins them to its folder
// and to the server address byte for byte, without escaping. Empty when the path can be published.
std::string ListedPathProblem(std::string_view path);

}  // namespace vexmor::publish
