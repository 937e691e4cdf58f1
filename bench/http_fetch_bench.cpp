// Cost per file of downloading a game tree of small files over loopback HTTPS: one client that
// keeps its connection and TLS session, against a new connection and full handshake per file.
// The served tree and the fetched files lie in the temporary folder: TMPDIR=/dev/shm leaves the
// disk's file creation cost out of the "into files" figures.
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include <stdlib.h>

#include "support/http/http_client.h"
#include "tools/server/https_server.h"

namespace vexmor {
namespace {

constexpr int kFiles = 2000;
const std::filesystem::path kTls = VEXMOR_TLS_FIXTURE_DIR;

std::filesystem::path MakeTempFolder(const char* name) {
  std::string pattern = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  return pattern;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A served tree of kFiles files of 4 to 60 KiB, the same on every run, and a folder to fetch into.
struct Tree {
  Tree() : served(MakeTempFolder("vexmor-bench-served")), local(MakeTempFolder("vexmor-bench-local")) {
    std::mt19937 random(153);
    std::uniform_int_distribution<int> size(4 * 1024, 60 * 1024);
    for (int i = 0; i < kFiles; ++i) {
      const auto path = Path(i);
      std::filesystem::create_directories((served / path).parent_path());
      std::ofstream(served / path, std::ios::binary) << std::string(size(random), static_cast<char>('a' + i % 26));
    }
  }
  ~Tree() {
    std::filesystem::remove_all(served);
    std::filesystem::remove_all(local);
  }
  static std::string Path(int i) { return "files/" + std::to_string(i % 40) + "/file" + std::to_string(i) + ".gz"; }

  std::filesystem::path served;
  std::filesystem::path local;
};

TransferSettings Settings() { return TransferSettings{ReadAll(kTls / "test-ca.pem")}; }

template <class FetchOne>
void FetchTree(benchmark::State& state, FetchOne fetchOne) {
  const Tree tree;
  HttpsServer server(HttpsServerOptions{kTls / "server.pem", kTls / "server.key", tree.served, "", 0, nullptr});
  for (auto _ : state) {
    for (int i = 0; i < kFiles; ++i) {
      const std::string path = Tree::Path(i);
      if (fetchOne(server.BaseUrl() + "/" + path, tree.local / path) != TransferResult::TransferOk) {
        state.SkipWithError("a transfer failed");
        return;
      }
    }
  }
  // Reported as time per file.
  state.counters["per_file"] =
      benchmark::Counter(kFiles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Into files, as the game download does, or into memory, which leaves out the file system's part.
TransferResult Fetch(const HttpClient& client, bool toFile, const std::string& url, const std::filesystem::path& file) {
  if (toFile) return client.FetchToFile(url, file, nullptr, nullptr, nullptr);
  std::string body;
  return client.FetchToMemory(url, body, nullptr);
}

void BM_SharedConnection(benchmark::State& state) {
  const HttpClient client(Settings());
  FetchTree(state, [&](const std::string& url, const std::filesystem::path& file) {
    return Fetch(client, state.range(0) != 0, url, file);
  });
}

void BM_ConnectionPerFile(benchmark::State& state) {
  const TransferSettings settings = Settings();
  FetchTree(state, [&](const std::string& url, const std::filesystem::path& file) {
    return Fetch(HttpClient(settings), state.range(0) != 0, url, file);
  });
}

// Argument: 1 into files, 0 into memory.
BENCHMARK(BM_SharedConnection)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ConnectionPerFile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace vexmor
