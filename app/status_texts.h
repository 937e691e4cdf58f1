#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "patcher/patch_stage.h"

namespace vexmor {

inline constexpr std::int64_t kSampleIntervalMs = 500;
inline constexpr std::size_t kSpeedHistoryLimit = 100;
inline constexpr std::size_t kNameTailChars = 25;
inline constexpr std::wstring_view kLauncherExeName = L"Vexmor.exe";

// Transfer speed of the current item, sampled at most every kSampleIntervalMs from the growth of
// its received bytes, and the history of the last samples for the time left.
struct SpeedSampler {
  std::uint64_t sampleBytes = 0;
  double speedMBps = 0;
  std::int64_t sampleTimeMs = 0;
  std::deque<double> speedHistory;  // survives restarts, unlike the three values above

  // Takes a sample when one is due at `nowMs`.
  void Sample(std::int64_t nowMs, std::int64_t fileBytesDone);
  // Back to no sample, at the start of a run.
  void Restart();
  // (0.5 + sum of the samples) / their number; infinite without samples.
  double MeanSpeed() const;
};

// The item's last path component, or "..." and its last 25 characters when it is longer.
std::wstring ItemName(std::wstring_view currentFileName);

// Head of the current item's label for the stage; `previousHead` stands for other stages.
std::wstring ItemHead(PatchStage stage, std::wstring_view currentFileName, std::wstring_view previousHead);

// " (%.2f MB/s)".
std::wstring SpeedText(double speedMBps);

// "File i of n (a of b MB, t minutes remaining)".
std::wstring PhaseLabel(std::int32_t fileIndex, std::int32_t fileCount, std::int64_t bytesDone,
                        std::int64_t bytesTotal, double meanSpeedMBps);

// Wall-clock milliseconds since the epoch, as the speed samples are taken.
std::int64_t WallClockMs();

}  // namespace vexmor
