#pragma once

#include <filesystem>
#include <string>

#include "tools/artgen/image.h"
#include "tools/artgen/text.h"

// The kinds of artwork; each function paints one kind and saves its images into the folder.
namespace vexmor::artgen {

// Where the PNG files go; the file names begin with the resource id they are embedded as.
class ImageFolder {
 public:
  explicit ImageFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
  // Writes the image as <folder>/<name> and names it on standard output.
  void Save(const Image& image, const std::string& name) const;

 private:
  std::filesystem::path folder_;
};

void PaintBackground(const ImageFolder& images);   // 152
void PaintIcons(const ImageFolder& images);        // 156-161, 172-186, 196-198
void PaintPlates(const ImageFolder& images, const Fonts& fonts);  // 168-171, 199-206, 211-218
void PaintNewsPanels(const ImageFolder& images);   // 187, 188
void PaintProgressMarker(const ImageFolder& images);  // 167
void PaintAppIcon(const ImageFolder& images);      // 194

}  // namespace vexmor::artgen
