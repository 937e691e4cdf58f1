#pragma once

#include <unistd.h>

#include <vector>

#include "platform/canvas/c_handles.h"
#include "platform/canvas/font_collection.h"

namespace vexmor::platform {

// A file descriptor closed with its owner.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  UniqueFd& operator=(UniqueFd&&) = delete;
  ~UniqueFd() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// Shared by the collection and every font made from it: the faces are read through
// /proc/self/fd/N, so the memory files must stay open as long as the font map can load glyphs.
struct FontCollection::State {
  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  ~State();

  detail::FcConfigPtr config;
  detail::FontMapPtr fontMap;
  std::vector<UniqueFd> faceFiles;
};

}  // namespace vexmor::platform
