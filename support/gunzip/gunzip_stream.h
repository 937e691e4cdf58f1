#pragma once

#include <cstddef>

#include "platform/system/atomic_file.h"

namespace vexmor {

// The compressed input is read in pieces of at most this size.
inline constexpr std::size_t kGunzipInputBufferBytes = 1 << 20;

// Expands everything readable from input (a file or the reading end of a channel) into output,
// without committing it, reading pieces of inputBufferBytes. Input that is not gzip is copied as
// it is; members follow one another; anything else after a member is ignored. False when the
// deflate data is damaged or ends early, input cannot be read, or output cannot be written.
bool ExpandInto(int input, std::size_t inputBufferBytes, platform::AtomicFileWriter& output);

}  // namespace vexmor
