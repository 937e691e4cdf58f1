#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "support/patchinfo/patch_entry.h"

namespace vexmor {

// Reads the checksum list: one record per line (LF, CRLF tolerated), five TAB-separated fields
// path, size, compressed size, CRC-32 and SHA-256. Appends the records to entries in list order
// and sets totalSize to the sum of their sizes.
//
// Returns false when cancelFlag was set before a line (the records read so far stay). A list with
// a line that is not a record of five fields, or whose path is not a plain relative path inside the
// game folder, is corrupted as a whole: entries and totalSize are then emptied and the result is
// true, so the caller sees a list without records.
bool ReadPatchList(std::string_view text, std::vector<PatchEntry>& entries, std::int64_t& totalSize,
                   const std::atomic<bool>* cancelFlag);

}  // namespace vexmor
