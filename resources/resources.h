#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The artwork, fonts, icon and title compiled into the program. Nothing here reads a file: every
// resource was turned into program data when the program was built.
namespace vexmor {

// Bytes of the PNG image, font or icon with this id; empty when there is none.
// PNG images (152 to 218) are 8-bit RGBA; fonts (144 regular, 165 bold) are TrueType files.
// For the icon (kIconResourceId) this is its largest image, kIconPixels[0] pixels square.
std::span<const std::uint8_t> FindResource(int id);

// Text of the string resource with this id; empty when there is none (103 = "VEXMOR LAUNCHER").
std::wstring_view FindStringResource(int id);

// The application icon is one PNG image per size, largest first.
inline constexpr int kIconResourceId = 194;
inline constexpr int kIconPixels[] = {256, 128, 64, 48, 32, 16};

// The PNG image of icon id that is `pixels` wide and high (one of kIconPixels); empty when there
// is none.
std::span<const std::uint8_t> FindIconImage(int id, int pixels);

}  // namespace vexmor
