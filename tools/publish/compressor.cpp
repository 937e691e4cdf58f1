#include "tools/publish/compressor.h"

#include <deque>
#include <future>
#include <map>

#include "support/digest/crc32.h"
#include "tools/publish/file_io.h"
#include "tools/publish/gzip_chunks.h"
#include "tools/publish/interruption.h"

namespace vexmor::publish {
namespace fs = std::filesystem;
namespace {

struct PendingChunk {
  std::size_t task = 0;
  std::int64_t inputBytes = 0;
  bool last = false;
  std::future<std::string> deflated;
};

class Pipeline {
 public:
  Pipeline(const std::vector<CompressTask>& tasks, WorkerPool& pool, ProgressMeter& progress,
           std::vector<CompressedFile>& results)
      : tasks_(tasks), pool_(pool), progress_(progress), results_(results) {
    results_.assign(tasks.size(), {});
  }

  std::string Run() {
    for (std::size_t i = 0; i < tasks_.size() && error_.empty(); ++i) Read(i);
    // Chunks already submitted are awaited even after a failure: they refer to nothing of ours.
    while (!pending_.empty()) WriteFront();
    return error_;
  }

 private:
  // Enough chunks in flight to keep every worker busy while this thread reads and writes.
  std::size_t MaxInFlight() const { return pool_.Size() * 4; }

  void Read(std::size_t index) {
    const CompressTask& task = tasks_[index];
    const FileHandle source = OpenFile(task.source, "rb");
    if (!source) return Fail(task.source.string() + ": cannot be opened");
    std::error_code error;
    fs::create_directories(task.gz.parent_path(), error);
    FileHandle gz = OpenFile(task.gz, "wb");
    if (!gz) return Fail(task.gz.string() + ": cannot be created");
    std::fwrite(GzipHeader().data(), 1, GzipHeader().size(), gz.get());
    outputs_.emplace(index, std::move(gz));

    std::string dictionary;
    bool last = false;
    while (!last && error_.empty()) {
      if (Interrupted()) return Fail("interrupted");
      std::string chunk(kChunkBytes, '\0');
      chunk.resize(std::fread(chunk.data(), 1, chunk.size(), source.get()));
      if (std::ferror(source.get())) return Fail(task.source.string() + ": read error");
      last = chunk.size() < kChunkBytes;
      CompressedFile& result = results_[index];
      result.crc = Crc32(result.crc, chunk.data(), chunk.size());
      result.size += static_cast<std::int64_t>(chunk.size());
      std::string nextDictionary =
          chunk.substr(chunk.size() > kDictionaryBytes ? chunk.size() - kDictionaryBytes : 0);
      const auto inputBytes = static_cast<std::int64_t>(chunk.size());
      auto deflated = pool_.Submit(
          [chunk = std::move(chunk), dictionary, last] { return DeflateChunk(chunk, dictionary, last); });
      pending_.push_back({index, inputBytes, last, std::move(deflated)});
      dictionary = std::move(nextDictionary);
      while (pending_.size() > MaxInFlight()) WriteFront();
    }
  }

  void WriteFront() {
    PendingChunk chunk = std::move(pending_.front());
    pending_.pop_front();
    const std::string deflated = chunk.deflated.get();
    const auto output = outputs_.find(chunk.task);
    if (output == outputs_.end()) return;  // its file failed earlier
    std::fwrite(deflated.data(), 1, deflated.size(), output->second.get());
    progress_.Add(chunk.inputBytes);
    progress_.Show();
    if (!chunk.last) return;
    const CompressedFile& result = results_[chunk.task];
    const std::string trailer = GzipTrailer(result.crc, static_cast<std::uint64_t>(result.size));
    std::fwrite(trailer.data(), 1, trailer.size(), output->second.get());
    const bool written = CloseWritten(std::move(output->second));
    outputs_.erase(output);
    if (!written) Fail(tasks_[chunk.task].gz.string() + ": cannot be written");
  }

  void Fail(std::string error) {
    if (error_.empty()) error_ = std::move(error);
  }

  const std::vector<CompressTask>& tasks_;
  WorkerPool& pool_;
  ProgressMeter& progress_;
  std::vector<CompressedFile>& results_;
  std::deque<PendingChunk> pending_;
  std::map<std::size_t, FileHandle> outputs_;
  std::string error_;
};

}  // namespace

std::string CompressFiles(const std::vector<CompressTask>& tasks, WorkerPool& pool, ProgressMeter& progress,
                          std::vector<CompressedFile>& results) {
  return Pipeline(tasks, pool, progress, results).Run();
}

}  // namespace vexmor::publish
