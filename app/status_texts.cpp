#include "app/status_texts.h"

#include <chrono>
#include <cstdio>
#include <numeric>

#include "support/paths/paths.h"
#include "support/paths/text.h"

namespace vexmor {
namespace {

constexpr double kBytesPerMegabyte = 1048576.0;

}  // namespace

void SpeedSampler::Sample(std::int64_t nowMs, std::int64_t fileBytesDone) {
  const std::int64_t elapsed = nowMs - sampleTimeMs;
  if (elapsed <= kSampleIntervalMs) return;
  sampleTimeMs = nowMs;
  const auto done = static_cast<std::uint64_t>(fileBytesDone);
  if (done > sampleBytes) {
    speedMBps = static_cast<double>(done - sampleBytes) / (static_cast<double>(elapsed) / 1000.0) / kBytesPerMegabyte;
    speedHistory.push_back(speedMBps);
    if (speedHistory.size() > kSpeedHistoryLimit) speedHistory.pop_front();
  }
  sampleBytes = done;
}

void SpeedSampler::Restart() {
  sampleBytes = 0;
  speedMBps = 0;
  sampleTimeMs = 0;
}

double SpeedSampler::MeanSpeed() const {
  return (0.5 + std::accumulate(speedHistory.begin(), speedHistory.end(), 0.0)) /
         static_cast<double>(speedHistory.size());
}

std::wstring ItemName(std::wstring_view currentFileName) {
  std::wstring name = FileNameOf(currentFileName);
  if (name.size() > kNameTailChars) name = L"..." + name.substr(name.size() - kNameTailChars);
  return name;
}

std::wstring ItemHead(PatchStage stage, std::wstring_view currentFileName, std::wstring_view previousHead) {
  switch (stage) {
    case PatchStage::UpdatingLauncher:
      return L"Downloading: " + std::wstring(kLauncherExeName);
    case PatchStage::CheckingFiles:
      return L"Checking: " + ItemName(currentFileName);
    case PatchStage::DownloadingFiles:
      return L"Updating: " + ItemName(currentFileName);
    default:
      return std::wstring(previousHead);
  }
}

std::wstring SpeedText(double speedMBps) {
  char text[255];
  std::snprintf(text, sizeof text, " (%.2f MB/s)", speedMBps);
  return AnsiToWide(text);
}

std::wstring PhaseLabel(std::int32_t fileIndex, std::int32_t fileCount, std::int64_t bytesDone,
                        std::int64_t bytesTotal, double meanSpeedMBps) {
  const auto doneMB = static_cast<std::uint64_t>(static_cast<double>(bytesDone) / kBytesPerMegabyte);
  const auto totalMB = static_cast<std::uint64_t>(static_cast<double>(bytesTotal) / kBytesPerMegabyte);
  // With no sample the mean is infinite and the time left 0. A phase whose bytes are all done
  // can show more done than total MB; the difference then wraps like the unsigned figure it is,
  // so clamp it to 0 rather than show an absurd number of minutes.
  const std::uint64_t leftMB = totalMB > doneMB ? totalMB - doneMB : 0;
  const auto minutes = static_cast<std::uint64_t>(static_cast<double>(leftMB) / meanSpeedMBps / 60.0);
  const std::wstring timeText = minutes == 1 ? L"1 minute remaining)" : std::to_wstring(minutes) + L" minutes remaining)";
  return L"File " + std::to_wstring(fileIndex) + L" of " + std::to_wstring(fileCount) + L" (" +
         std::to_wstring(doneMB) + L" of " + std::to_wstring(totalMB) + L" MB, " + timeText;
}

std::int64_t WallClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace vexmor
