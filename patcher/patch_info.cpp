#include "patcher/patcher.h"
#include "support/patchinfo/patch_list.h"

namespace vexmor {

bool Patcher::ParsePatchInfo(std::string_view text, std::vector<PatchEntry>& entries) {
  bytesDone = 0;
  bytesTotal = 0;
  std::int64_t total = 0;
  const bool complete = ReadPatchList(text, entries, total, &cancelRequested);
  bytesTotal = total;
  return complete;
}

}  // namespace vexmor
