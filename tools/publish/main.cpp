#include <algorithm>
#include <cstdio>
#include <exception>
#include <span>
#include <string>
#include <vector>

#include "tools/publish/commands.h"

namespace {

constexpr char kUsage[] =
    "usage:\n"
    "  vexmor-publish keygen --private KEY.pem --public KEY.pub.pem [--bits 2048]\n"
    "  vexmor-publish build --root DIR --out TREE --game-version N --key KEY.pem\n"
    "                       [--launcher FILE --launcher-version N] [--news FILE]\n"
    "                       [--website URL] [--forum URL]\n"
    "                       [--announce-version N --announce-link URL]\n"
    "  vexmor-publish verify --tree TREE --public KEY.pub.pem [--public KEY2.pub.pem]\n"
    "exit status: 0 success; 1 failure (a refused build writes nothing, verify found problems);\n"
    "2 wrong arguments\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (std::find(args.begin(), args.end(), "--help") != args.end() || args[0] == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::span<const std::string> rest(args.begin() + 1, args.end());
  try {
    if (args[0] == "keygen") return vexmor::publish::RunKeygen(rest);
    if (args[0] == "build") return vexmor::publish::RunBuild(rest);
    if (args[0] == "verify") return vexmor::publish::RunVerify(rest);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vexmor-publish %s: %s\n", args[0].c_str(), error.what());
    return 1;
  }
  std::fprintf(stderr, "vexmor-publish: unknown command '%s'\n%s", args[0].c_str(), kUsage);
  return 2;
}
