#include "tools/publish/tree_scan.h"

#include <algorithm>

#include "tools/publish/listed_path.h"

namespace vexmor::publish {
namespace fs = std::filesystem;
namespace {

bool IsInside(const fs::path& canonical, const fs::path& canonicalRoot) {
  const fs::path relative = canonical.lexically_relative(canonicalRoot);
  return !relative.empty() && *relative.begin() != "..";
}

class Scanner {
 public:
  explicit Scanner(const fs::path& canonicalRoot) : root_(canonicalRoot) {}

  RootScan Finish() {
    std::sort(scan_.files.begin(), scan_.files.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.listedPath < b.listedPath; });
    return std::move(scan_);
  }

  // Walks one folder; chain holds the canonical folders from the root down to it, to see loops.
  void Walk(const fs::path& folder, const std::string& prefix, std::vector<fs::path>& chain) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return Problem(prefix.empty() ? "." : prefix, "cannot be read: " + error.message());
    for (; it != fs::directory_iterator(); it.increment(error)) {
      Visit(it->path(), prefix + it->path().filename().string(), chain);
    }
    if (error) Problem(prefix.empty() ? "." : prefix, "cannot be read: " + error.message());
  }

 private:
  void Visit(const fs::path& location, const std::string& listed, std::vector<fs::path>& chain) {
    std::error_code error;
    const fs::file_status own = fs::symlink_status(location, error);
    if (error) return Problem(listed, "cannot be read: " + error.message());
    fs::file_status status = own;
    if (fs::is_symlink(own)) {
      const fs::path target = fs::canonical(location, error);
      if (error) return Problem(listed, "is a symbolic link to nothing");
      if (!IsInside(target, root_)) {
        return Problem(listed, "is a symbolic link that leaves the root (to " + target.string() + ")");
      }
      status = fs::status(target, error);
      if (error) return Problem(listed, "cannot be read: " + error.message());
    }
    if (fs::is_directory(status)) {
      const fs::path canonical = fs::canonical(location, error);
      if (error) return Problem(listed, "cannot be read: " + error.message());
      if (std::find(chain.begin(), chain.end(), canonical) != chain.end()) {
        return Problem(listed, "is a symbolic link that closes a loop");
      }
      chain.push_back(canonical);
      Walk(location, listed + "/", chain);
      chain.pop_back();
      return;
    }
    if (!fs::is_regular_file(status)) return Problem(listed, "is not a regular file or folder");
    if (std::string problem = ListedPathProblem(listed); !problem.empty()) {
      return Problem(listed, problem);
    }
    const auto size = static_cast<std::int64_t>(fs::file_size(location, error));
    if (error) return Problem(listed, "cannot be read: " + error.message());
    if (size > kLargestListedSize) {
      return Problem(
          listed, "is " + std::to_string(size) + " bytes; the checksum list carries sizes below 2 GiB only");
    }
    scan_.files.push_back({listed, location, size});
  }

  void Problem(const std::string& listed, const std::string& reason) {
    scan_.problems.push_back(listed + ": " + reason);
  }

  fs::path root_;
  RootScan scan_;
};

}  // namespace

RootScan ScanRoot(const fs::path& root) {
  std::error_code error;
  const fs::path canonical = fs::canonical(root, error);
  if (error || !fs::is_directory(canonical)) {
    RootScan scan;
    scan.problems.push_back(root.string() + ": the game root is missing or not a folder");
    return scan;
  }
  Scanner scanner(canonical);
  std::vector<fs::path> chain{canonical};
  scanner.Walk(canonical, "", chain);
  return scanner.Finish();
}

}  // namespace vexmor::publish
