// Cost of one paint of the launcher-sized window (960x540): a button-sized rectangle against
// the whole window. Only the invalid rectangles are copied to the screen.
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/window/window.h"

namespace vexmor::platform {
namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 540;

void PaintRect(benchmark::State& state, PixelRect rect) {
  std::string error;
  auto video = VideoSystem::Start(VideoDriver::System, error);
  auto window = video ? Window::Create(*video, {"bench", 0, 0, kWidth, kHeight}, error) : nullptr;
  if (!window) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::vector<std::uint32_t> backBuffer(kWidth * kHeight, 0xFF336699);
  window->SetPainter([&](const InvalidRegion&) {
    return Argb32Pixels{backBuffer.data(), kWidth, kHeight, kWidth * 4};
  });
  window->Show();
  window->PaintNow();
  for (auto _ : state) {
    window->Invalidate(rect, false);
    window->PaintNow();
  }
  state.counters["pixels"] = rect.Width() * rect.Height();
}

void BM_PaintButtonSizedRect(benchmark::State& state) { PaintRect(state, {400, 470, 560, 510}); }
void BM_PaintWholeWindow(benchmark::State& state) { PaintRect(state, {0, 0, kWidth, kHeight}); }

BENCHMARK(BM_PaintButtonSizedRect)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintWholeWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexmor::platform
