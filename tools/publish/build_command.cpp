#include <chrono>
#include <cstdio>

#include "support/digest/sha256_file.h"
#include "tools/publish/arguments.h"
#include "tools/publish/commands.h"
#include "tools/publish/compressor.h"
#include "tools/publish/documents.h"
#include "tools/publish/file_io.h"
#include "tools/publish/gzip_inspect.h"
#include "tools/publish/interruption.h"
#include "tools/publish/signer.h"
#include "tools/publish/tree_scan.h"
#include "tools/publish/tree_swap.h"
#include "tools/publish/worker_pool.h"

namespace vexmor::publish {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kProbeText = "ok\n";

// Everything a build needs, read and checked before anything is written.
struct BuildPlan {
  fs::path root;
  fs::path tree;
  RootScan scan;
  KeyHandle key;
  ReleaseValues release;
  std::string launcherSource;  // path of the launcher executable, empty when none is published
  std::string news;
  bool hasNews = false;
};

bool IsInside(const fs::path& inner, const fs::path& outer) {
  const fs::path relative = inner.lexically_relative(outer);
  return !relative.empty() && *relative.begin() != "..";
}

// Reads the options into a plan; returns the problems, empty when the build can go ahead.
std::vector<std::string> Plan(const Options& options, BuildPlan& plan) {
  std::vector<std::string> problems;
  plan.root = options.Get("root");
  // The tree is swapped as a whole with a folder beside it, so it needs a name of its own:
  // "tree/", "." and "sub/.." become the folder they stand for.
  plan.tree = fs::absolute(options.Get("out")).lexically_normal();
  if (!plan.tree.has_filename()) plan.tree = plan.tree.parent_path();

  const auto gameVersion = ParsePositiveNumber(options.Get("game-version"));
  if (!gameVersion) problems.push_back("--game-version must be a number from 1 to 2147483647");
  plan.release.gameVersion = gameVersion.value_or(0);

  if (options.Has("launcher") != options.Has("launcher-version")) {
    problems.push_back("--launcher and --launcher-version go together");
  } else if (options.Has("launcher")) {
    const auto version = ParsePositiveNumber(options.Get("launcher-version"));
    if (!version) problems.push_back("--launcher-version must be a number from 1 to 2147483647");
    plan.launcherSource = options.Get("launcher");
    std::error_code error;
    const auto size = fs::file_size(plan.launcherSource, error);
    if (error || !fs::is_regular_file(plan.launcherSource)) {
      problems.push_back(plan.launcherSource + ": the launcher executable cannot be read");
    } else if (static_cast<std::int64_t>(size) > kLargestListedSize) {
      problems.push_back(plan.launcherSource + ": the release document carries sizes below 2 GiB only");
    }
    plan.release.launcher = PublishedLauncher{version.value_or(0), 0, {}};
  }

  if (options.Has("announce-version") != options.Has("announce-link")) {
    problems.push_back("--announce-version and --announce-link go together");
  } else if (options.Has("announce-version")) {
    const auto version = ParsePositiveNumber(options.Get("announce-version"));
    if (!version) problems.push_back("--announce-version must be a number from 1 to 2147483647");
    plan.release.announceVersion = version.value_or(0);
    plan.release.announceLink = options.Get("announce-link");
  }
  plan.release.websiteLink = options.Get("website");
  plan.release.forumLink = options.Get("forum");
  for (const auto& [option, link] :
       {std::pair{"--announce-link", plan.release.announceLink},
        std::pair{"--website", plan.release.websiteLink}, std::pair{"--forum", plan.release.forumLink}}) {
    const std::string name(option);
    if (options.Has(name.substr(2)) && !LinkProblem(link).empty()) {
      problems.push_back(name + " " + LinkProblem(link));
    }
  }

  if (options.Has("news")) {
    plan.hasNews = true;
    if (!ReadWholeFile(options.Get("news"), plan.news)) {
      problems.push_back(options.Get("news") + ": the news cannot be read");
    }
    for (const std::string& warning : NewsWarnings(plan.news)) {
      std::fprintf(stderr, "warning: %s %s\n", options.Get("news").c_str(), warning.c_str());
    }
  }

  std::string keyError;
  plan.key = LoadSigningKey(options.Get("key"), keyError);
  if (!plan.key) problems.push_back(keyError);

  plan.scan = ScanRoot(plan.root);
  problems.insert(problems.end(), plan.scan.problems.begin(), plan.scan.problems.end());

  std::error_code error;
  const fs::path root = fs::weakly_canonical(plan.root, error);
  const fs::path tree = fs::weakly_canonical(plan.tree, error);
  if (!error && (tree == root || IsInside(tree, root) || IsInside(root, tree))) {
    problems.push_back("the tree and the game root must not lie inside one another");
  }
  if (fs::exists(fs::symlink_status(plan.tree))) {
    // The old tree is replaced as a whole: make sure it is one, and not a folder of other things.
    if (!fs::is_directory(fs::symlink_status(plan.tree))) {
      problems.push_back(plan.tree.string() + " exists and is not a folder");
    } else if (!fs::is_empty(plan.tree, error) && !fs::exists(plan.tree / "cdn_status.txt")) {
      problems.push_back(plan.tree.string() +
                         " is not empty and is not a published tree; it is not replaced");
    }
  }
  return problems;
}

// The gzip copies of the last build, kept where the source has not changed.
struct Reuse {
  std::vector<bool> reused;
  std::vector<CompressedFile> content;
};

Reuse FindReusable(const BuildPlan& plan, const fs::path& staged, WorkerPool& pool) {
  const std::vector<SourceFile>& files = plan.scan.files;
  Reuse reuse{std::vector<bool>(files.size()), std::vector<CompressedFile>(files.size())};
  const fs::path oldFiles = plan.tree / "new_launcher" / "files";
  if (!fs::is_directory(oldFiles)) return reuse;
  std::int64_t total = 0;
  for (const SourceFile& file : files) total += file.size;
  ProgressMeter progress("Comparing with the last build", total);
  std::vector<std::future<bool>> checks;
  for (std::size_t i = 0; i < files.size(); ++i) {
    checks.push_back(pool.Submit([&, i] {
      // Nothing in here throws: the futures are awaited in order, and later tasks use this frame.
      const fs::path old = oldFiles / (files[i].listedPath + ".gz");
      std::error_code error;
      const bool same = !Interrupted() && fs::is_regular_file(fs::symlink_status(old, error)) &&
                        GzipHoldsFile(old, files[i].location, reuse.content[i].crc, reuse.content[i].size);
      progress.Add(files[i].size);
      if (!same) return false;
      const fs::path target = staged / (files[i].listedPath + ".gz");
      fs::create_directories(target.parent_path(), error);
      // A hard link keeps the very same file; a copy serves where links are not allowed.
      fs::create_hard_link(old, target, error);
      return !error || fs::copy_file(old, target, error);
    }));
  }
  for (std::size_t i = 0; i < checks.size(); ++i) {
    while (checks[i].wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) progress.Show();
    reuse.reused[i] = checks[i].get();
  }
  progress.Finish();
  return reuse;
}

// Writes a document and its signature next to it ("x.txt" and "x.sig").
std::string WriteSigned(const fs::path& folder, const std::string& name, std::string_view text,
                        EVP_PKEY* key) {
  const std::string signature = SignDocument(key, text);
  if (signature.empty()) return name + ".txt cannot be signed";
  if (!WriteWholeFile(folder / (name + ".txt"), text) ||
      !WriteWholeFile(folder / (name + ".sig"), signature)) {
    return name + ".txt cannot be written";
  }
  return {};
}

std::string Build(BuildPlan& plan, const fs::path& staged, std::vector<ListedFile>& listed,
                  int& reusedCount) {
  const fs::path documents = staged / "new_launcher";
  const fs::path files = documents / "files";
  std::error_code error;
  fs::create_directories(files, error);
  if (error) return files.string() + " cannot be created: " + error.message();
  if (!WriteWholeFile(staged / "cdn_status.txt", kProbeText)) return "cdn_status.txt cannot be written";

  WorkerPool pool;
  const Reuse reuse = FindReusable(plan, files, pool);
  if (Interrupted()) return "interrupted";
  std::vector<CompressTask> tasks;
  std::vector<std::size_t> taskFile;
  std::int64_t toCompress = 0;
  for (std::size_t i = 0; i < plan.scan.files.size(); ++i) {
    if (reuse.reused[i]) continue;
    const SourceFile& file = plan.scan.files[i];
    tasks.push_back({file.location, files / (file.listedPath + ".gz")});
    taskFile.push_back(i);
    toCompress += file.size;
  }
  std::vector<CompressedFile> compressed;
  ProgressMeter progress("Compressing", toCompress);
  if (std::string failure = CompressFiles(tasks, pool, progress, compressed); !failure.empty()) {
    return failure;
  }
  progress.Finish();
  reusedCount = static_cast<int>(plan.scan.files.size() - tasks.size());

  listed.resize(plan.scan.files.size());
  for (std::size_t i = 0; i < plan.scan.files.size(); ++i) {
    listed[i].path = plan.scan.files[i].listedPath;
    if (reuse.reused[i]) {
      listed[i].size = reuse.content[i].size;
      listed[i].crc = reuse.content[i].crc;
    }
  }
  for (std::size_t t = 0; t < tasks.size(); ++t) {
    listed[taskFile[t]].size = compressed[t].size;
    listed[taskFile[t]].crc = compressed[t].crc;
  }
  std::vector<std::future<void>> digests;
  for (ListedFile& file : listed) {
    digests.push_back(pool.Submit([&file, &files] {
      const fs::path gz = files / (file.path + ".gz");
      std::error_code sizeError;
      file.compressedSize = static_cast<std::int64_t>(fs::file_size(gz, sizeError));
      file.sha256 = Sha256FileHex(gz);
    }));
  }
  for (auto& digest : digests) digest.get();
  for (const ListedFile& file : listed) {
    // A file may have grown since the scan, and a file that does not compress grows a little.
    if (file.size > kLargestListedSize || file.compressedSize > kLargestListedSize) {
      return file.path + ": too large for the checksum list (it carries sizes below 2 GiB only)";
    }
    if (file.sha256.size() != 64) return file.path + ".gz cannot be read back";
  }

  if (plan.release.launcher) {
    const fs::path launcher = documents / "Vexmor.exe";
    fs::copy_file(plan.launcherSource, launcher, error);
    if (error) return plan.launcherSource + " cannot be copied: " + error.message();
    // Size and digest of the copy that is served, whatever happens to the source meanwhile.
    plan.release.launcher->size = static_cast<std::int64_t>(fs::file_size(launcher, error));
    plan.release.launcher->sha256 = Sha256FileHex(launcher);
    if (error || plan.release.launcher->sha256.size() != 64) return "Vexmor.exe cannot be read back";
    if (plan.release.launcher->size > kLargestListedSize) {
      return plan.launcherSource + ": the release document carries sizes below 2 GiB only";
    }
  }
  for (const auto& [name, text] :
       {std::pair<std::string, std::string>{"latest", ReleaseDocumentText(plan.release)},
        std::pair<std::string, std::string>{"checksums", ChecksumListText(listed)}}) {
    if (std::string failure = WriteSigned(documents, name, text, plan.key.get()); !failure.empty()) {
      return failure;
    }
  }
  if (plan.hasNews) return WriteSigned(documents, "news", plan.news, plan.key.get());
  return {};
}

}  // namespace

int RunBuild(std::span<const std::string> args) {
  static constexpr OptionSpec kSpecs[] = {{"root"},         {"out"},
                                          {"game-version"}, {"key"},
                                          {"launcher"},     {"launcher-version"},
                                          {"news"},         {"website"},
                                          {"forum"},        {"announce-version"},
                                          {"announce-link"}};
  Options options;
  std::string problem = ParseOptions(args, kSpecs, options);
  for (const char* required : {"root", "out", "game-version", "key"}) {
    if (problem.empty() && !options.Has(required)) problem = std::string("--") + required + " is required";
  }
  if (!problem.empty()) {
    std::fprintf(stderr, "vexmor-publish build: %s\n", problem.c_str());
    return 2;
  }

  const auto start = std::chrono::steady_clock::now();
  BuildPlan plan;
  const std::vector<std::string> problems = Plan(options, plan);
  if (!problems.empty()) {
    for (const std::string& line : problems) std::fprintf(stderr, "vexmor-publish build: %s\n", line.c_str());
    std::fprintf(stderr, "vexmor-publish build: nothing was written\n");
    return 1;
  }

  CatchInterruptions();
  std::string failure;
  StagingFolder staging(plan.tree, failure);
  std::vector<ListedFile> listed;
  int reused = 0;
  if (failure.empty()) failure = Build(plan, staging.path(), listed, reused);
  if (failure.empty()) failure = staging.SwapIntoPlace();
  if (!failure.empty()) {
    std::fprintf(stderr, "vexmor-publish build: %s\nvexmor-publish build: the tree was left as it was\n",
                 failure.c_str());
    return 1;
  }

  std::int64_t bytes = 0;
  std::int64_t compressedBytes = 0;
  for (const ListedFile& file : listed) {
    bytes += file.size;
    compressedBytes += file.compressedSize;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "Published %zu file%s (%.1f MiB, %.1f MiB compressed; %d kept from the last build) to %s in %.1f s\n",
      listed.size(), listed.size() == 1 ? "" : "s", static_cast<double>(bytes) / 1048576.0,
      static_cast<double>(compressedBytes) / 1048576.0, reused, plan.tree.c_str(), seconds);
  return 0;
}

}  // namespace vexmor::publish
