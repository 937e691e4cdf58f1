#pragma once

#include <filesystem>

#include "tools/artgen/image.h"

namespace vexmor::artgen {

// Writes the image as an 8-bit RGBA PNG (colour type 6) whatever its content: cairo's own writer
// drops the alpha channel of opaque images, and the launcher expects RGBA throughout.
// Throws std::runtime_error when the file cannot be written.
void WritePng(const Image& image, const std::filesystem::path& file);

}  // namespace vexmor::artgen
