#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vexmor::platform {

// A private set of font faces loaded from bytes in memory. No font of the system is ever looked
// up: the set has its own font configuration, which knows only the faces added to it.
class FontCollection {
 public:
  FontCollection();

  // Adds the TrueType or OpenType face(s) in these bytes; false when nothing could be added.
  bool AddMemoryFont(std::span<const std::uint8_t> bytes);

  // The family name of the first face added; empty while the set holds none.
  std::string FirstFamily() const;

  struct State;
  const std::shared_ptr<State>& SharedState() const { return state_; }

 private:
  std::shared_ptr<State> state_;
};

}  // namespace vexmor::platform
