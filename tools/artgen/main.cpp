// Paints every image of the launcher into <resources>/images, with the captions set in the fonts
// of <resources>/fonts. Everything is seeded, so running it again gives identical files.
//
//   vexmor-artgen <resources folder>

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "tools/artgen/artwork.h"
#include "tools/artgen/png_writer.h"

namespace vexmor::artgen {

void ImageFolder::Save(const Image& image, const std::string& name) const {
  WritePng(image, folder_ / name);
  std::cout << (folder_ / name).string() << '\n';
}

}  // namespace vexmor::artgen

int main(int argc, char** argv) {
  using namespace vexmor::artgen;
  if (argc != 2) {
    std::cerr << "usage: vexmor-artgen <resources folder>\n";
    return 2;
  }
  const std::filesystem::path resources = argv[1];
  try {
    const Fonts fonts(resources / "fonts");
    std::filesystem::create_directories(resources / "images");
    const ImageFolder images(resources / "images");
    PaintBackground(images);
    PaintIcons(images);
    PaintPlates(images, fonts);
    PaintNewsPanels(images);
    PaintProgressMarker(images);
    PaintAppIcon(images);
  } catch (const std::exception& e) {
    std::cerr << "vexmor-artgen: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
