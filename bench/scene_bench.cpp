// Composing the whole scene into the back buffer, as every paint does, at a 1920 x 1080 window.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "patcher/patcher.h"
#include "ui/button.h"
#include "ui/launcher_window.h"
#include "ui/layout.h"
#include "ui/news_button.h"
#include "ui/progress_bar.h"
#include "ui/renderer.h"
#include "ui/scene.h"

namespace vexmor {
namespace {

std::unique_ptr<LauncherWindow> MakeWindow(int height) {
  auto window = std::make_unique<LauncherWindow>();
  window->height = height;
  window->width = int(height * 1.7777777777777777);
  window->scale = float(height) / 1080.0f;
  EngineConfig config;
  config.launcherFolder = std::filesystem::temp_directory_path() / "vexmor-bench-scene";
  window->patcher = std::make_unique<Patcher>(config);
  LoadResources(*window);
  BuildLayout(*window);
  CreateRenderer(*window);
  return window;
}

// What a paint during a download shows: three news entries, the open menu, both bars with texts.
void ShowDownload(LauncherWindow& w) {
  w.patcher->SetNewsText(
      L"NEW\nSeason of Embers begins\n12 March\nhttps://example.org/1\n"
      L"EVENT\nDouble experience weekend\n14 March\nhttps://example.org/2\n"
      L"PATCH\nBalance changes for every class\n15 March\nhttps://example.org/3\n");
  FillNewsList(w);
  w.menuOpen = true;
  w.cancelShown = true;
  w.statusLine.clear();
  w.fileProgress->visible = w.totalProgress->visible = true;
  w.fileProgress->SetLabel(L"Updating: ...ata/textures_high_04.pak (11.52 MB/s)");
  w.fileProgress->value = 57;
  w.totalProgress->SetLabel(L"File 3 of 120 (45 of 800 MB, 12 minutes remaining)");
  w.totalProgress->value = 45;
  w.totalProgress->maximum = 800;
}

void BM_ComposeInitialScene(benchmark::State& state) {
  const auto window = MakeWindow(1080);
  for (auto _ : state) PaintScene(*window);
}
BENCHMARK(BM_ComposeInitialScene)->Unit(benchmark::kMillisecond);

void BM_ComposeDownloadScene(benchmark::State& state) {
  const auto window = MakeWindow(int(state.range(0)));
  ShowDownload(*window);
  for (auto _ : state) PaintScene(*window);
}
BENCHMARK(BM_ComposeDownloadScene)->Arg(1080)->Arg(480)->Unit(benchmark::kMillisecond);

void BM_ComposeQuestionOverDownload(benchmark::State& state) {
  const auto window = MakeWindow(1080);
  ShowDownload(*window);
  Patcher& patcher = *window->patcher;
  std::thread worker([&] {
    patcher.AskUser(L"Some files could not be updated.\nTry again?", QuestionKind::FailedFiles);
  });
  while (!patcher.questionPending.load(std::memory_order_acquire)) std::this_thread::yield();
  window->dialogShown = true;
  window->dialogKind = 1;
  for (auto _ : state) PaintScene(*window);
  patcher.AnswerQuestion(true);
  worker.join();
}
BENCHMARK(BM_ComposeQuestionOverDownload)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexmor
