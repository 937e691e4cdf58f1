// The engine's file check over an installed tree against the cheapest possible pass over the same
// files: open, read in 64 KiB blocks, close. Both run several times, alternately, on files already
// in the page cache; the best time of each is printed.
// usage: bench_check_tree FOLDER CHECKSUMS [PATH-PREFIX] [RUNS]
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "patcher/patcher.h"
#include "support/patchinfo/patch_list.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// Reads every listed file once; the byte count keeps the loop from being optimised away.
std::int64_t PlainReadLoop(const std::filesystem::path& folder, const std::vector<vexmor::PatchEntry>& entries) {
  constexpr std::size_t kBlock = 64 * 1024;
  const auto buffer = std::make_unique<char[]>(kBlock);
  std::int64_t total = 0;
  for (const auto& entry : entries) {
    const int fd = ::open((folder / entry.path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    for (ssize_t count; (count = ::read(fd, buffer.get(), kBlock)) > 0;) total += count;
    ::close(fd);
  }
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_check_tree FOLDER CHECKSUMS [PATH-PREFIX] [RUNS]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::ifstream listFile(argv[2], std::ios::binary);
  const std::string list((std::istreambuf_iterator<char>(listFile)), std::istreambuf_iterator<char>());
  const std::string prefix = argc > 3 ? argv[3] : "";
  const int runs = argc > 4 ? std::stoi(argv[4]) : 5;

  std::vector<vexmor::PatchEntry> all;
  std::int64_t listedBytes = 0;
  vexmor::ReadPatchList(list, all, listedBytes, nullptr);
  std::vector<vexmor::PatchEntry> entries;
  for (const auto& entry : all) {
    if (entry.path.compare(0, prefix.size(), prefix) == 0) entries.push_back(entry);
  }
  if (entries.empty()) {
    std::fprintf(stderr, "bench_check_tree: no listed file starts with '%s'\n", prefix.c_str());
    return 1;
  }

  vexmor::EngineConfig config;
  config.launcherFolder = folder;
  config.modulePath = folder / "bench_check_tree";
  config.openLink = [](const std::string&) { return true; };
  vexmor::Patcher patcher(std::move(config));

  double bestPlain = 1e30;
  double bestCheck = 1e30;
  std::int64_t bytes = 0;
  vexmor::CheckCounts counts;
  for (int run = 0; run <= runs; ++run) {  // run 0 only warms the page cache
    auto start = Clock::now();
    bytes = PlainReadLoop(folder, entries);
    const double plain = Seconds(Clock::now() - start);

    auto checked = entries;
    start = Clock::now();
    patcher.CheckFiles(checked, counts, 0, 0);
    const double check = Seconds(Clock::now() - start);
    if (run > 0) {
      bestPlain = std::min(bestPlain, plain);
      bestCheck = std::min(bestCheck, check);
    }
  }
  if (counts.toDownload != 0 || counts.notOpened != 0) {
    std::fprintf(stderr, "bench_check_tree: %d files differ from the list, %d cannot be opened\n", counts.toDownload,
                 counts.notOpened);
    return 1;
  }
  std::printf("files %zu\nbytes %lld\nplain_seconds %.4f\ncheck_seconds %.4f\n", entries.size(),
              static_cast<long long>(bytes), bestPlain, bestCheck);
  return 0;
}
