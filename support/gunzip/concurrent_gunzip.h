#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/system/atomic_file.h"

namespace vexmor {

// Expands gzip data while it is still arriving, on a thread of its own, into a temporary file
// beside the target, so that a large download and its expansion overlap. The target itself is
// replaced only by Commit, which the caller calls once it has verified the whole input: nothing
// of unverified data ever reaches the target. The expansion gives the same results as GunzipFile
// over the same bytes.
class ConcurrentGunzip {
 public:
  explicit ConcurrentGunzip(const std::filesystem::path& target);
  // Ends the input if that has not happened, waits for the thread and removes the temporary file
  // unless it was committed.
  ~ConcurrentGunzip();
  ConcurrentGunzip(const ConcurrentGunzip&) = delete;
  ConcurrentGunzip& operator=(const ConcurrentGunzip&) = delete;

  // False when no thread or channel could be had; the caller then expands the file afterwards.
  bool Started() const { return thread_.joinable(); }

  // Hands over the next compressed bytes, in order. Blocks while the expansion is about a megabyte
  // behind. The expansion takes every byte even after it failed, so this never stalls for good.
  void Feed(const void* data, std::size_t size);

  // Ends the input and waits for the expansion; true when all of it expanded without error.
  bool Finish();

  // Replaces the target with the expansion. Only after Finish returned true.
  bool Commit();

 private:
  void Expand(int input);

  int feedFd_ = -1;  // the writing end of the channel to the expanding thread
  bool fed_ = true;  // every byte handed over reached the channel
  bool expanded_ = false;
  platform::AtomicFileWriter output_;
  std::thread thread_;
};

}  // namespace vexmor
