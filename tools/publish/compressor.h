#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/publish/progress.h"
#include "tools/publish/worker_pool.h"

namespace vexmor::publish {

struct CompressTask {
  std::filesystem::path source;
  std::filesystem::path gz;  // created with its folders
};

// What was read from a source: the size and CRC-32 of exactly the bytes that were compressed.
struct CompressedFile {
  std::int64_t size = 0;
  std::uint32_t crc = 0;
};

// Compresses every source into its gzip file. Files are read one after another in chunks, the
// chunks are compressed on the pool and written back in order, so all cores work even on a single
// large file. Fills results (one per task) and returns the first failure, empty when all succeed.
std::string CompressFiles(const std::vector<CompressTask>& tasks, WorkerPool& pool, ProgressMeter& progress,
                          std::vector<CompressedFile>& results);

}  // namespace vexmor::publish
