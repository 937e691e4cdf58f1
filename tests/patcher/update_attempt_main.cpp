// One update attempt in a process of its own, for the tests of a self-update, which ends the
// process that performs it. Arguments: launcher folder, update base address, test key folder,
// test CA file. Exits 0 only when the attempt ended the process itself; otherwise with 3.
#include <fstream>
#include <iterator>
#include <string>

#include "patcher/patcher.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  vexmor::EngineConfig config;
  config.launcherFolder = argv[1];
  config.modulePath = config.launcherFolder / "vexmor-launcher";
  config.updateUrls = {argv[2], argv[2], argv[2]};
  config.publicKey1 = Read(std::string(argv[3]) + "/trusted-1.pub.pem");
  config.publicKey2 = Read(std::string(argv[3]) + "/trusted-2.pub.pem");
  config.transfer.caBundle = Read(argv[4]);
  vexmor::Patcher patcher(config);
  patcher.UpdateByDomain(argv[2], true);
  return 3;
}
