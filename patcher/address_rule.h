#pragma once

#include "patcher/patch_stage.h"

namespace vexmor {

inline constexpr int kAddressCount = 3;

enum class NextAddress { EndRun, Next, First };

// What follows an attempt on the address at `position` (1 to 3) that left `stage`.
constexpr NextAddress ApplyAddressRule(PatchStage stage, int position) {
  switch (stage) {
    case PatchStage::Finished:
    case PatchStage::GameRunning:
    case PatchStage::LocalIssues:
    case PatchStage::Cancelled:
      return NextAddress::EndRun;
    case PatchStage::FilesNotChecked:
      return position < kAddressCount ? NextAddress::Next : NextAddress::First;
    default:
      return position < kAddressCount ? NextAddress::Next : NextAddress::EndRun;
  }
}

}  // namespace vexmor
