#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of one file compiled into the program by the resource embedder.
namespace vexmor::embedded {

struct EmbeddedFile {
  const std::uint8_t* bytes;
  std::size_t size;
};

// One entry of the generated resource table: the resource id, the icon size in pixels (0 for
// everything that is not an icon image) and its bytes.
struct ResourceEntry {
  int id;
  int pixels;
  const EmbeddedFile* file;
};

extern const ResourceEntry kResourceTable[];
extern const std::size_t kResourceTableSize;

}  // namespace vexmor::embedded
