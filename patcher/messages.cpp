#include "patcher/messages.h"

#include <cstdio>

#include "support/paths/text.h"

namespace vexmor {

std::wstring FormatFailureList(const std::vector<PatchEntry>& entries, std::wstring_view heading) {
  constexpr int kShown = 3;
  std::wstring text(heading);
  int failed = 0;
  for (const auto& entry : entries) {
    if (!entry.failed) continue;
    if (failed++ < kShown) {
      text += L"\n" + AnsiToWide(entry.path) + L" (Error: " + entry.errorText + L")";
    }
  }
  for (int line = failed; line < kShown; ++line) text += L"\n";
  if (failed > kShown) text += L"\n\n... and " + std::to_wstring(failed - kShown) + L" more.";
  return text;
}

std::wstring FormatLauncherUpdateTitle(std::int32_t launcherVersion) {
  char number[32];
  std::snprintf(number, sizeof number, "%.2f", launcherVersion / 100.0);
  return std::wstring(messages::kLauncherUpdateTitlePrefix) + AnsiToWide(number);
}

}  // namespace vexmor
