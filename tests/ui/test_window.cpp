#include "tests/ui/test_window.h"

#include "patcher/patcher.h"
#include "platform/canvas/canvas.h"
#include "tests/testlib/temp_dir.h"
#include "ui/layout.h"
#include "ui/renderer.h"

namespace vexmor::test {

std::unique_ptr<LauncherWindow> MakeLaidOutWindow(int height) {
  auto window = std::make_unique<LauncherWindow>();
  window->height = height;
  window->width = int(height * 1.7777777777777777);
  window->scale = float(height) / 1080.0f;
  window->clientRect = {0, 0, window->width, window->height};
  TempDir folder;
  EngineConfig config;
  config.launcherFolder = folder.path();
  config.modulePath = folder / "vexmor-launcher";
  window->patcher = std::make_unique<Patcher>(config);
  LoadResources(*window);
  BuildLayout(*window);
  return window;
}

std::unique_ptr<LauncherWindow> MakeTestWindow(int height) {
  auto window = MakeLaidOutWindow(height);
  CreateRenderer(*window);
  return window;
}

platform::Bitmap Rasterize(const platform::CachedBitmap& image) {
  auto bitmap = platform::Bitmap::Create(image.Width(), image.Height());
  platform::Canvas canvas(bitmap);
  canvas.DrawCached(image, 0, 0);
  return bitmap;
}

}  // namespace vexmor::test
