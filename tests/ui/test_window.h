#pragma once

#include <memory>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/cached_bitmap.h"
#include "ui/launcher_window.h"

namespace vexmor::test {

// A launcher window of the given client height, laid out and with its renderer, as the window's
// construction leaves it, but without a window on screen. Its engine never runs.
std::unique_ptr<LauncherWindow> MakeTestWindow(int height);

// The same, stopping after the layout: fonts registered, no renderer yet.
std::unique_ptr<LauncherWindow> MakeLaidOutWindow(int height);

// An image drawn over transparent black, so its pixels can be read.
platform::Bitmap Rasterize(const platform::CachedBitmap& image);

}  // namespace vexmor::test
