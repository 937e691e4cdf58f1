#include "app/status_view.h"

#include "app/status_texts.h"
#include "patcher/patcher.h"
#include "ui/button.h"
#include "ui/launcher_window.h"
#include "ui/progress_bar.h"

namespace vexmor {
namespace {

// A bar's rectangle widened by a quarter of its height to each side, where its texts may reach.
platform::Rect WidenedRect(const ProgressBar& bar) {
  const double quarter = 0.25 * (bar.bottom - bar.top);
  return {std::int32_t(bar.left - quarter), bar.top, std::int32_t(bar.right + quarter), bar.bottom};
}

void ShowMessage(LauncherWindow& w, std::wstring text) {
  w.fileProgress->visible = false;
  w.totalProgress->visible = false;
  w.statusLine = std::move(text);
  w.dirtyRects.Add(w.statusRect, true);
}

void SampleSpeed(LauncherWindow& w, std::int64_t nowMs, std::int64_t fileBytesDone) {
  SpeedSampler sampler{w.sampleBytes, w.speedMBps, w.sampleTimeMs, std::move(w.speedHistory)};
  sampler.Sample(nowMs, fileBytesDone);
  w.sampleBytes = sampler.sampleBytes;
  w.speedMBps = sampler.speedMBps;
  w.sampleTimeMs = sampler.sampleTimeMs;
  w.speedHistory = std::move(sampler.speedHistory);
}

void PlaceBars(LauncherWindow& w, PatchStage stage, const Patcher& patcher) {
  ProgressBar& file = *w.fileProgress;
  ProgressBar& total = *w.totalProgress;
  file.visible = true;
  if (stage == PatchStage::UpdatingLauncher) {
    total.visible = false;
    file.left = total.left;
    file.top = total.top;
    file.right = total.right;
    file.bottom = total.bottom;
    w.launcherTitleShown = true;
    w.launcherTitle = patcher.LauncherUpdateTitle();
  } else {
    total.visible = true;
    file.left = w.margin;
    file.top = w.footerTop;
    file.right = w.playButton->x - w.margin;
    file.bottom = w.footerTop + w.barHeight;
    w.launcherTitleShown = false;
    w.launcherTitle.clear();
  }
}

void UpdateItemBar(LauncherWindow& w, PatchStage stage, const Patcher& patcher, std::int64_t nowMs) {
  ProgressBar& file = *w.fileProgress;
  const std::int64_t done = patcher.fileBytesDone;
  const std::int64_t total = patcher.fileBytesTotal;
  if (file.value == std::uint64_t(done) && file.maximum == std::uint64_t(total)) return;
  SampleSpeed(w, nowMs, done);
  // The head is kept apart from the speed, so a stage without an item name of its own keeps the
  // previous head rather than adding one speed text after another to the label.
  w.progressHead = ItemHead(stage, patcher.CurrentFileName(), w.progressHead);
  file.SetLabel(w.progressHead + SpeedText(w.speedMBps));
  file.value = std::uint64_t(done);
  file.maximum = std::uint64_t(total);
  w.dirtyRects.Add(WidenedRect(file), true);
}

void UpdatePhaseBar(LauncherWindow& w, const Patcher& patcher) {
  ProgressBar& bar = *w.totalProgress;
  const std::int32_t index = patcher.fileIndex;
  const std::int32_t count = patcher.fileCount;
  const std::int64_t done = patcher.bytesDone;
  const std::int64_t total = patcher.bytesTotal;
  if (bar.value == std::uint64_t(index) && bar.value == std::uint64_t(done) &&
      bar.maximum == std::uint64_t(count) && bar.maximum == std::uint64_t(total)) {
    return;
  }
  std::wstring label = PhaseLabel(index, count, done, total, SpeedSampler{.speedHistory = w.speedHistory}.MeanSpeed());
  // Rebuilt at every tick, but repainted only when it shows something new: a stalled transfer
  // must not keep the window painting.
  if (label == bar.label && bar.value == std::uint64_t(done) && bar.maximum == std::uint64_t(total)) return;
  bar.SetLabel(std::move(label));
  bar.value = std::uint64_t(done);
  bar.maximum = std::uint64_t(total);
  w.dirtyRects.Add(WidenedRect(bar), true);
}

}  // namespace

void UpdateStatusView(LauncherWindow& w, std::int64_t nowMs) {
  const Patcher& patcher = *w.patcher;
  const std::wstring statusText = patcher.StatusText();
  if (!statusText.empty()) {
    if (!w.startProblem.empty()) {
      if (statusText == w.startProblemOver) return;
      w.startProblem.clear();
    }
    if (w.statusLine != statusText) ShowMessage(w, statusText);
    return;
  }
  w.startProblem.clear();
  if (!w.statusLine.empty()) w.dirtyRects.Add(w.statusRect, true);
  const PatchStage stage = patcher.stage;
  PlaceBars(w, stage, patcher);
  w.statusLine.clear();
  UpdateItemBar(w, stage, patcher, nowMs);
  UpdatePhaseBar(w, patcher);
}

void ShowStartProblem(LauncherWindow& w, std::wstring text) {
  w.startProblemOver = w.patcher->StatusText();
  w.startProblem = text;
  ShowMessage(w, std::move(text));
}

}  // namespace vexmor
