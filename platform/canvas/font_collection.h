#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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

  struct State;

  // A family of the set, which keeps the set's faces loaded for as long as it exists.
  struct Family {
    std::shared_ptr<State> collection;
    std::string name;
  };

  // The family of the first face added; none while the set holds no face.
  std::optional<Family> FirstFamily() const;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace vexmor::platform
