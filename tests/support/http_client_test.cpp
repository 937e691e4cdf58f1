#include <gtest/gtest.h>

#include <optional>
#include <vector>
#include <thread>

#include "support/http/http_client.h"
#include "tests/testlib/temp_dir.h"
#include "tests/testlib/test_server.h"

namespace vexmor {
namespace {

using namespace std::chrono_literals;
using test::TempDir;
using test::TestServer;
using enum TransferResult;

// Bytes that differ along the whole length, so that a truncation or shift shows.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return bytes;
}

const std::string kDocument = "release document\n";
const std::string kLarge = Pattern(300 * 1024);
const std::string kDripped = Pattern(2500);  // 2.5 s at 1000 bytes per second
const std::string kNotFoundPage = "<html><body>gone</body></html>";

class HttpClientTest : public ::testing::Test {
 protected:
  HttpClientTest() {
    test::WriteFile(root_ / "doc.txt", kDocument);
    test::WriteFile(root_ / "large.bin", kLarge);
    test::WriteFile(root_ / "dripped.bin", kDripped);
    test::WriteFile(root_ / "cdn_status.txt", "ok");
  }

  TempDir root_;
  TempDir local_;
  TestServer server_{root_.path()};
  HttpClient client_{test::TestTransferSettings(1000ms)};  // stalls show within about two seconds
};

struct Case {
  const char* name;
  const char* path;
  std::optional<Fault> fault;  // on path
  TransferResult result;
  std::string body;  // what the body string or the file holds afterwards
};

const std::vector<Case> kQuickCases = {
    {"found", "/doc.txt", std::nullopt, TransferOk, kDocument},
    {"moved permanently", "/old.txt", Redirect{301, "/doc.txt"}, TransferOk, kDocument},
    {"found elsewhere", "/old.txt", Redirect{302, "/doc.txt"}, TransferOk, kDocument},
    {"not found keeps the page", "/doc.txt", RespondStatus{404, kNotFoundPage}, TransferFailed, kNotFoundPage},
    {"unavailable", "/doc.txt", RespondStatus{503, "busy"}, TransferFailed, "busy"},
    {"missing file", "/none.txt", std::nullopt, TransferFailed, "<html><body><h1>404 Not Found</h1></body></html>\n"},
    {"dropped keeps what arrived", "/large.bin", DropAfter{100000}, TransferFailed, kLarge.substr(0, 100000)},
    {"corrupted byte passes", "/doc.txt", CorruptByte{0}, TransferOk, "\x8d" + kDocument.substr(1)},
};

const std::vector<Case> kSlowCases = {
    {"stall before the headers", "/doc.txt", StallBeforeHeaders{}, TransferFailed, ""},
    {"stall after the headers", "/doc.txt", StallAfterHeaders{}, TransferFailed, ""},
    {"slow drip outlasting the stall time", "/dripped.bin", Drip{1000}, TransferOk, kDripped},
};

TEST_F(HttpClientTest, FetchToMemoryResults) {
  for (const auto* cases : {&kQuickCases, &kSlowCases}) {
    for (const Case& c : *cases) {
      SCOPED_TRACE(c.name);
      server_.ClearFaults();
      if (c.fault) server_.SetFault(c.path, *c.fault);
      std::string body;
      EXPECT_EQ(client_.FetchToMemory(server_.Url(c.path), body, nullptr), c.result);
      EXPECT_EQ(body, c.body);
    }
  }
}

TEST_F(HttpClientTest, FetchToFileResultsAndCounters) {
  for (const Case& c : kQuickCases) {
    SCOPED_TRACE(c.name);
    server_.ClearFaults();
    if (c.fault) server_.SetFault(c.path, *c.fault);
    const auto target = local_ / "a/b/target.gz";  // the folders do not exist for the first case
    test::WriteFile(local_ / "a/b/target.gz", "old contents to be replaced");
    std::filesystem::remove_all(local_ / "a");
    std::atomic<std::int64_t> current{0};
    std::atomic<std::int64_t> accumulated{7};
    EXPECT_EQ(client_.FetchToFile(server_.Url(c.path), target, nullptr, &current, &accumulated), c.result);
    EXPECT_EQ(test::ReadFile(target), c.body);
    EXPECT_EQ(current.load(), static_cast<std::int64_t>(c.body.size()));
    EXPECT_EQ(accumulated.load(), 7 + static_cast<std::int64_t>(c.body.size()));
  }
}

// What the observer is shown is exactly what the file holds, across many writes.
TEST_F(HttpClientTest, FetchToFileShowsTheObserverWhatItWrites) {
  std::string seen;
  const auto target = local_ / "large.bin";
  ASSERT_EQ(client_.FetchToFile(server_.Url("/large.bin"), target, nullptr, nullptr, nullptr, kUnboundedBody,
                                [&](const char* data, std::size_t size) { seen.append(data, size); }),
            TransferOk);
  EXPECT_EQ(test::ReadFile(target), kLarge);
  EXPECT_EQ(seen, kLarge);
}

TEST_F(HttpClientTest, FetchToFileTruncatesAnExistingFile) {
  const auto target = local_ / "doc.txt";
  test::WriteFile(target, std::string(1000, 'x'));
  EXPECT_EQ(client_.FetchToFile(server_.Url("/doc.txt"), target, nullptr, nullptr, nullptr), TransferOk);
  EXPECT_EQ(test::ReadFile(target), kDocument);
}

TEST_F(HttpClientTest, FetchToFileStopsABodyLargerThanAllowed) {
  const auto target = local_ / "large.bin";
  const auto size = static_cast<std::int64_t>(kLarge.size());
  EXPECT_EQ(client_.FetchToFile(server_.Url("/large.bin"), target, nullptr, nullptr, nullptr, size), TransferOk);
  EXPECT_EQ(test::ReadFile(target), kLarge);
  EXPECT_EQ(client_.FetchToFile(server_.Url("/large.bin"), target, nullptr, nullptr, nullptr, size - 1),
            TransferFailed);
  EXPECT_LT(test::ReadFile(target).size(), kLarge.size());

  server_.SetFault("/endless.bin", Endless{});
  EXPECT_EQ(client_.FetchToFile(server_.Url("/endless.bin"), target, nullptr, nullptr, nullptr, 1 << 20),
            TransferFailed);
  EXPECT_LE(std::filesystem::file_size(target), 1u << 20);
}

TEST_F(HttpClientTest, UnwritableTargetIsAFileErrorWithoutARequest) {
  const auto readOnly = local_ / "read-only.bin";
  test::WriteFile(readOnly, "kept");
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  std::filesystem::create_directories(local_ / "folder");

  for (const auto& target : {readOnly, local_ / "folder"}) {
    SCOPED_TRACE(target);
    EXPECT_EQ(client_.FetchToFile(server_.Url("/doc.txt"), target, nullptr, nullptr, nullptr), TransferFileError);
  }
  EXPECT_EQ(test::ReadFile(readOnly), "kept");
  EXPECT_TRUE(std::filesystem::is_directory(local_ / "folder"));
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(HttpClientTest, CancelBeforeTheCallFails) {
  const std::atomic<bool> cancel{true};
  std::string body;
  EXPECT_EQ(client_.FetchToMemory(server_.Url("/doc.txt"), body, &cancel), TransferFailed);
  EXPECT_EQ(client_.FetchToFile(server_.Url("/doc.txt"), local_ / "doc.txt", &cancel, nullptr, nullptr),
            TransferFailed);
  EXPECT_EQ(test::ReadFile(local_ / "doc.txt"), "");
}

TEST_F(HttpClientTest, CancelDuringATransferStopsIt) {
  const HttpClient patient(test::TestTransferSettings(60s));  // the watchdog cannot be what stops it
  server_.SetFault("/large.bin", Drip{2000});                   // would take two and a half minutes
  std::atomic<bool> cancel{false};
  std::atomic<std::int64_t> current{0};
  std::thread canceller([&] {
    while (current.load() < 1000) std::this_thread::sleep_for(10ms);
    cancel = true;
  });
  const auto result = patient.FetchToFile(server_.Url("/large.bin"), local_ / "large.bin", &cancel, &current, nullptr);
  canceller.join();
  EXPECT_EQ(result, TransferFailed);
  const auto kept = test::ReadFile(local_ / "large.bin");
  EXPECT_GE(kept.size(), 1000u);
  EXPECT_LT(kept.size(), kLarge.size());
  EXPECT_EQ(kept, kLarge.substr(0, kept.size()));
}

TEST_F(HttpClientTest, EndlessDocumentStopsAtTheMemoryLimit) {
  server_.SetFault("/endless.txt", Endless{});
  std::string body;
  EXPECT_EQ(client_.FetchToMemory(server_.Url("/endless.txt"), body, nullptr), TransferFailed);
  EXPECT_LE(body.size(), kMaxMemoryBodyBytes);
  EXPECT_GT(body.size(), kMaxMemoryBodyBytes - (1u << 20));
}

TEST_F(HttpClientTest, TransfersFromTwoThreadsAtOnce) {
  // The update worker and the news task share one client.
  auto fetchMany = [&](const std::string& path, const std::string& expected) {
    for (int i = 0; i < 40; ++i) {
      std::string body;
      ASSERT_EQ(client_.FetchToMemory(server_.Url(path), body, nullptr), TransferOk);
      ASSERT_EQ(body, expected);
    }
  };
  std::thread news(fetchMany, "/doc.txt", kDocument);
  fetchMany("/large.bin", kLarge);
  news.join();
}

TEST(HttpClientTls, RefusesServersItCannotVerify) {
  const TempDir root;
  test::WriteFile(root / "doc.txt", kDocument);
  struct TlsCase {
    const char* name;
    test::TestCertificate certificate;
    bool trustTestCa;
  } cases[] = {
      {"issued by an unknown authority", test::TestCertificate::Untrusted, true},
      {"issued for another host", test::TestCertificate::OtherHost, true},
      {"test authority not in the system store", test::TestCertificate::Trusted, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TestServer server(root.path(), "", c.certificate);
    const HttpClient client(c.trustTestCa ? test::TestTransferSettings() : TransferSettings{});
    std::string body;
    EXPECT_EQ(client.FetchToMemory(server.Url("/doc.txt"), body, nullptr), TransferFailed);
    EXPECT_FALSE(client.ProbeServer(server.BaseUrl()));
    EXPECT_TRUE(server.Requests().empty());
  }
}

TEST_F(HttpClientTest, ProbeNeedsA200ForTheStatusDocument) {
  struct ProbeCase {
    const char* name;
    std::optional<Fault> fault;
    bool usable;
  } cases[] = {
      {"answers", std::nullopt, true},
      {"redirects to an answer", Redirect{302, "/doc.txt"}, true},
      {"not found", RespondStatus{404, kNotFoundPage}, false},
      {"unavailable", RespondStatus{503, "busy"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server_.ClearFaults();
    if (c.fault) server_.SetFault("/cdn_status.txt", *c.fault);
    EXPECT_EQ(client_.ProbeServer(server_.BaseUrl()), c.usable);
  }
}

TEST_F(HttpClientTest, ProbeBelowABucketPath) {
  const TestServer bucket(root_.path(), "/vexmor-bucket");
  EXPECT_TRUE(client_.ProbeServer(bucket.BaseUrl()));
  EXPECT_EQ(bucket.RequestedPaths(), std::vector<std::string>{"/vexmor-bucket/cdn_status.txt"});
}

TEST_F(HttpClientTest, ProbeGivesUpOnAServerThatHangs) {
  server_.SetFault("/cdn_status.txt", StallAfterHeaders{});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client_.ProbeServer(server_.BaseUrl()));
  // The probe has no watchdog of its own; only its time limit can have ended it.
  EXPECT_GE(std::chrono::steady_clock::now() - start, kProbeTimeout);
}

TEST_F(HttpClientTest, ProbeOfAnAddressNobodyListensOn) {
  const std::string url = server_.BaseUrl();
  server_.Stop();
  EXPECT_FALSE(client_.ProbeServer(url));
}

}  // namespace
}  // namespace vexmor
