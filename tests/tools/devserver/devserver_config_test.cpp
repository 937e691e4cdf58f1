#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/devserver/devserver_config.h"

namespace vexmor::devserver {
namespace {

std::string Parse(std::vector<std::string> args, DevServerConfig& config) {
  config = DemoDefaults("/demo/tls");
  return ParseArguments(args, config);
}

TEST(DevServerConfig, DemoAddressesAndCertificateByDefault) {
  DevServerConfig config;
  ASSERT_EQ(Parse({"--tree", "t"}, config), "");
  EXPECT_EQ(config.certFile, "/demo/tls/demo-server.pem");
  EXPECT_EQ(config.keyFile, "/demo/tls/demo-server.key");
  const std::uint16_t ports[] = {18441, 18442, 18443};
  const char* prefixes[] = {"", "/vexmor-bucket", ""};
  for (int a = 0; a < 3; ++a) {
    EXPECT_EQ(config.addresses[a].port, ports[a]);
    EXPECT_EQ(config.addresses[a].pathPrefix, prefixes[a]);
    EXPECT_EQ(config.addresses[a].tree, "t");
    EXPECT_FALSE(config.addresses[a].unreachable);
    EXPECT_TRUE(config.addresses[a].faults.empty());
  }
}

TEST(DevServerConfig, AddressedValuesApplyToOneAddress) {
  DevServerConfig config;
  ASSERT_EQ(Parse({"--tree", "all", "--tree", "2:bucket", "--port", "3:0", "--unreachable", "1", "--status",
                   "2:/new_launcher/*=503", "--drop", "/a.gz=10", "--slow", "3:/b.gz=100", "--corrupt",
                   "1:/c.gz=7", "--stall", "2:/cdn_status.txt", "--stall-body", "3:/d", "--redirect", "/x=/y"},
                  config),
            "");
  const auto& [first, second, third] = config.addresses;
  EXPECT_EQ(first.tree, "all");
  EXPECT_EQ(second.tree, "bucket");
  EXPECT_EQ(third.port, 0);
  EXPECT_TRUE(first.unreachable);

  auto patterns = [](const AddressConfig& address) {
    std::vector<std::string> result;
    for (const auto& [pattern, fault] : address.faults) result.push_back(pattern + "#" + std::to_string(fault.index()));
    return result;
  };
  EXPECT_EQ(patterns(first), (std::vector<std::string>{"/a.gz#4", "/c.gz#6", "/x#1"}));
  EXPECT_EQ(patterns(second), (std::vector<std::string>{"/vexmor-bucket/new_launcher/*#0", "/vexmor-bucket/a.gz#4",
                                                        "/vexmor-bucket/cdn_status.txt#2", "/vexmor-bucket/x#1"}));
  EXPECT_EQ(patterns(third), (std::vector<std::string>{"/a.gz#4", "/b.gz#5", "/d#3", "/x#1"}));
  EXPECT_EQ(std::get<RespondStatus>(second.faults[0].second).status, 503);
  EXPECT_EQ(std::get<DropAfter>(first.faults[0].second).bodyBytes, 10);
  EXPECT_EQ(std::get<Drip>(third.faults[1].second).bytesPerSecond, 100);
  EXPECT_EQ(std::get<CorruptByte>(first.faults[1].second).offset, 7);
  EXPECT_EQ(std::get<Redirect>(first.faults[2].second).location, "/y");
}

TEST(DevServerConfig, RefusesWrongArguments) {
  struct Case {
    std::vector<std::string> args;
    const char* problem;
  } cases[] = {
      {{}, "no tree to serve at address 1"},
      {{"--tree", "2:t"}, "no tree to serve at address 1"},
      {{"--tree", "t", "--bogus", "x"}, "unknown option: --bogus"},
      {{"--tree"}, "--tree: a value is missing"},
      {{"--tree", "t", "--port", "18441"}, "--port: N:PORT expected"},
      {{"--tree", "t", "--port", "4:1"}, "--port: N:PORT expected"},
      {{"--tree", "t", "--port", "1:65536"}, "--port: N:PORT expected"},
      {{"--tree", "t", "--unreachable", "0"}, "--unreachable: an address number 1 to 3 expected"},
      {{"--tree", "t", "--status", "/a=99"}, "--status: bad value"},
      {{"--tree", "t", "--status", "/a=600"}, "--status: bad value"},
      {{"--tree", "t", "--status", "/a"}, "--status: PATH=VALUE expected"},
      {{"--tree", "t", "--status", "a=404"}, "--status: the path must start with '/'"},
      {{"--tree", "t", "--stall", "/a=1"}, "--stall: no '=' expected"},
      {{"--tree", "t", "--slow", "/a=0"}, "--slow: bad value"},
      {{"--tree", "t", "--drop", "/a=-1"}, "--drop: bad value"},
      {{"--tree", "t", "--corrupt", "/a=x"}, "--corrupt: bad value"},
      {{"--tree", "t", "--redirect", "/a=b"}, "--redirect: bad value"},
  };
  for (const auto& c : cases) {
    DevServerConfig config;
    EXPECT_TRUE(Parse(c.args, config).starts_with(c.problem)) << c.problem << " / " << Parse(c.args, config);
  }
  DevServerConfig config;
  EXPECT_EQ(Parse({"--tree", "t", "--unreachable", "1", "--unreachable", "2", "--unreachable", "3"}, config), "");
  EXPECT_EQ(Parse({"--help"}, config), "");
  EXPECT_TRUE(config.help);
}

}  // namespace
}  // namespace vexmor::devserver
