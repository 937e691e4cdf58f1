// Runs vexmor-publish as operators do and checks its trees with independent tools: the openssl
// command line for signatures, gzip and sha256sum for the compressed files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <functional>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

#include "support/paths/text.h"
#include "tests/testlib/temp_dir.h"

namespace vexmor {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a command line; arguments are quoted for the shell.
RunResult RunCommand(const std::vector<std::string>& command) {
  static TempDir outputs;
  std::string line;
  for (const std::string& arg : command) line += Quote(arg) + " ";
  line += ">" + Quote((outputs / "out").string()) + " 2>" + Quote((outputs / "err").string());
  const int status = std::system(line.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(outputs / "out"), ReadFile(outputs / "err")};
}

RunResult Publish(std::vector<std::string> args) {
  args.insert(args.begin(), VEXMOR_PUBLISH_PROGRAM);
  return RunCommand(args);
}

// Every file below a folder with its bytes, by path relative to it.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = ReadFile(entry.path());
  }
  return files;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Deterministic, compressible content of a given size.
std::string Content(std::size_t size, char seed) {
  std::string out;
  for (std::size_t i = 0; out.size() < size; ++i) out += std::to_string(i * 7919 % 1000) + seed;
  out.resize(size);
  return out;
}

class PublishToolTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    keys_ = new TempDir;
    for (const char* name : {"one", "two"}) {
      ASSERT_EQ(Publish({"keygen", "--private", Key(name), "--public", PublicKey(name)}).exitCode, 0);
    }
  }
  static void TearDownTestSuite() { delete keys_; }

  static std::string Key(const std::string& name) { return (*keys_ / (name + ".pem")).string(); }
  static std::string PublicKey(const std::string& name) { return (*keys_ / (name + ".pub.pem")).string(); }

  void SetUp() override {
    WriteFile(Root() / "Vexmor/Option.ini", "[Display]\nWidth=1920\n");
    WriteFile(Root() / "Vexmor/VexmorGame.exe", "#!/bin/sh\necho started\n");
    WriteFile(Root() / "Vexmor/Data/world.pak", Content(1300000, 'w'));
    WriteFile(Root() / "Vexmor/Data/empty.dat", "");
    WriteFile(Root() / "Vexmor/Données/été.txt", Content(5000, 'e'));
  }

  fs::path Root() const { return dir_ / "game"; }
  fs::path Tree() const { return dir_ / "tree"; }
  fs::path Documents() const { return Tree() / "new_launcher"; }

  std::vector<std::string> BuildArgs(const fs::path& tree) const {
    return {"build",          "--root", Root().string(), "--out",   tree.string(),
            "--game-version", "12",     "--key",         Key("one")};
  }
  RunResult Build(const fs::path& tree) { return Publish(BuildArgs(tree)); }
  RunResult Verify(const fs::path& tree, std::vector<std::string> keys = {PublicKey("one")}) {
    std::vector<std::string> args = {"verify", "--tree", tree.string()};
    for (const std::string& key : keys) args.insert(args.end(), {"--public", key});
    return Publish(args);
  }

  static TempDir* keys_;
  TempDir dir_;
};

TempDir* PublishToolTest::keys_ = nullptr;

TEST_F(PublishToolTest, KeygenWritesTheKeyFormTheLauncherBuildsIn) {
  const std::string pem = ReadFile(PublicKey("one"));
  EXPECT_EQ(pem.size(), 451u);
  const std::vector<std::string> lines = Lines(pem);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines.front(), "-----BEGIN PUBLIC KEY-----");
  EXPECT_EQ(lines.back(), "-----END PUBLIC KEY-----");
  for (std::size_t i = 1; i < 7; ++i) EXPECT_EQ(lines[i].size(), 64u);
  EXPECT_EQ((fs::status(Key("one")).permissions() & fs::perms::all),
            fs::perms::owner_read | fs::perms::owner_write);

  const RunResult derived = RunCommand({"openssl", "pkey", "-in", Key("one"), "-pubout"});
  EXPECT_EQ(derived.out, pem);

  const std::string before = ReadFile(Key("one"));
  const RunResult again =
      Publish({"keygen", "--private", Key("one"), "--public", (dir_ / "new.pub.pem").string()});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("never overwritten"), std::string::npos);
  EXPECT_EQ(ReadFile(Key("one")), before);
  EXPECT_FALSE(fs::exists(dir_ / "new.pub.pem"));
}

TEST_F(PublishToolTest, BuildsATreeThatIndependentToolsAccept) {
  WriteFile(dir_ / "launcher", Content(70000, 'l'));
  const std::string news = "NEW\nHeadline\nDetail\nhttps://vexmor.example/n\n";
  WriteFile(dir_ / "news.txt", news);
  std::vector<std::string> args = BuildArgs(Tree());
  args.insert(args.end(), {"--launcher", (dir_ / "launcher").string(), "--launcher-version", "154", "--news",
                           (dir_ / "news.txt").string(), "--website", "https://vexmor.example", "--forum",
                           "https://forum.vexmor.example", "--announce-version", "3", "--announce-link",
                           "https://vexmor.example/a?x=1"});
  const RunResult build = Publish(args);
  ASSERT_EQ(build.exitCode, 0) << build.err;
  const RunResult verify = Verify(Tree());
  EXPECT_EQ(verify.exitCode, 0) << verify.out;

  EXPECT_TRUE(fs::is_regular_file(Tree() / "cdn_status.txt"));
  for (const char* document : {"latest", "checksums", "news"}) {
    const fs::path text = Documents() / (std::string(document) + ".txt");
    const fs::path signature = Documents() / (std::string(document) + ".sig");
    EXPECT_EQ(fs::file_size(signature), 256u) << "raw bytes of a 2048-bit signature";
    const RunResult check = RunCommand({"openssl", "dgst", "-sha256", "-verify", PublicKey("one"),
                                        "-signature", signature.string(), text.string()});
    EXPECT_EQ(check.out, "Verified OK\n") << document;
  }
  EXPECT_EQ(ReadFile(Documents() / "news.txt"), news);
  EXPECT_EQ(ReadFile(Documents() / "Vexmor.exe"), ReadFile(dir_ / "launcher"));
  const std::string launcherDigest =
      RunCommand({"sha256sum", (dir_ / "launcher").string()}).out.substr(0, 64);
  EXPECT_EQ(ReadFile(Documents() / "latest.txt"),
            "game_version = 12\nlauncher_version = 154\nlauncher_size = 70000\nlauncher_checksum = " +
                launcherDigest +
                "\nannounce_version = 3\nannounce_link = https://vexmor.example/a?x=1\n"
                "website_link = https://vexmor.example\nforum_link = https://forum.vexmor.example\n");

  const std::vector<std::string> lines = Lines(ReadFile(Documents() / "checksums.txt"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
  const std::regex record("([^\t]+)\t([0-9]+)\t([0-9]+)\t([0-9A-F]{8})\t([0-9a-f]{64})");
  for (const std::string& line : lines) {
    std::smatch fields;
    ASSERT_TRUE(std::regex_match(line, fields, record)) << line;
    const fs::path source = Root() / fields[1].str();
    const fs::path gz = Documents() / "files" / (fields[1].str() + ".gz");
    EXPECT_EQ(std::to_string(fs::file_size(source)), fields[2].str());
    EXPECT_EQ(std::to_string(fs::file_size(gz)), fields[3].str());
    EXPECT_EQ(RunCommand({"gzip", "-t", gz.string()}).exitCode, 0) << line;
    EXPECT_EQ(RunCommand({"gzip", "-dc", gz.string()}).out, ReadFile(source)) << line;
    EXPECT_EQ(RunCommand({"sha256sum", gz.string()}).out.substr(0, 64), fields[5].str()) << line;
  }
  EXPECT_EQ(lines[0].substr(0, lines[0].find('\t')), "Vexmor/Data/empty.dat");
  EXPECT_EQ(lines[0].substr(lines[0].find('\t')),
            "\t0\t20\t00000000\t" + lines[0].substr(lines[0].size() - 64));
}

TEST_F(PublishToolTest, VerifyAcceptsEitherKeyAndRejectsOthers) {
  ASSERT_EQ(Build(Tree()).exitCode, 0);
  EXPECT_EQ(Verify(Tree(), {PublicKey("two"), PublicKey("one")}).exitCode, 0);
  const RunResult wrong = Verify(Tree(), {PublicKey("two")});
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.out.find("latest.sig is not a valid signature"), std::string::npos) << wrong.out;
  EXPECT_NE(wrong.out.find("checksums.sig is not a valid signature"), std::string::npos) << wrong.out;
}

TEST_F(PublishToolTest, VerifyReportsEveryKindOfDamage) {
  WriteFile(dir_ / "launcher", "new launcher");
  WriteFile(dir_ / "news.txt", "A\nB\nC\nD\n");
  std::vector<std::string> args = BuildArgs(Tree());
  args.insert(args.end(), {"--launcher", (dir_ / "launcher").string(), "--launcher-version", "160", "--news",
                           (dir_ / "news.txt").string()});
  ASSERT_EQ(Publish(args).exitCode, 0);
  const fs::path world = Documents() / "files/Vexmor/Data/world.pak.gz";
  struct Damage {
    const char* name;
    std::function<void(const fs::path& documents)> apply;
    const char* reported;
  };
  const Damage damages[] = {
      {"flipped byte in a gz",
       [](const fs::path& d) {
         std::string gz = ReadFile(d / "files/Vexmor/Data/world.pak.gz");
         gz[gz.size() / 2] ^= 1;
         WriteFile(d / "files/Vexmor/Data/world.pak.gz", gz);
       },
       "world.pak.gz does not have the SHA-256"},
      {"missing gz", [](const fs::path& d) { fs::remove(d / "files/Vexmor/Option.ini.gz"); },
       "Option.ini.gz is missing"},
      {"longer gz", [](const fs::path& d) { WriteFile(d / "files/Vexmor/Option.ini.gz", "x"); },
       "Option.ini.gz is 1 bytes"},
      {"edited list",
       [](const fs::path& d) { WriteFile(d / "checksums.txt", ReadFile(d / "checksums.txt") + "\n"); },
       "checksums.sig is not a valid signature"},
      {"list signature missing", [](const fs::path& d) { fs::remove(d / "checksums.sig"); },
       "checksums.sig is missing"},
      {"news signature missing", [](const fs::path& d) { fs::remove(d / "news.sig"); },
       "news.sig is missing"},
      {"launcher replaced", [](const fs::path& d) { WriteFile(d / "Vexmor.exe", "other launcher"); },
       "Vexmor.exe does not have the SHA-256"},
      {"probe document missing", [](const fs::path& d) { fs::remove(d.parent_path() / "cdn_status.txt"); },
       "cdn_status.txt is missing"},
  };
  ASSERT_TRUE(fs::exists(world));
  for (const Damage& damage : damages) {
    const fs::path copy = dir_ / "damaged";
    fs::remove_all(copy);
    fs::copy(Tree(), copy, fs::copy_options::recursive);
    damage.apply(copy / "new_launcher");
    const RunResult verify = Verify(copy);
    EXPECT_EQ(verify.exitCode, 1) << damage.name;
    EXPECT_NE(verify.out.find(damage.reported), std::string::npos) << damage.name << ":\n" << verify.out;
  }
}

TEST_F(PublishToolTest, PublishingTheSameRootTwiceGivesIdenticalTrees) {
  ASSERT_EQ(Build(dir_ / "first").exitCode, 0);
  ASSERT_EQ(Build(dir_ / "new/folders/second").exitCode, 0);
  const auto first = Snapshot(dir_ / "first");
  EXPECT_EQ(first.size(), 10u);  // five files, the probe, two documents and their signatures
  EXPECT_EQ(first, Snapshot(dir_ / "new/folders/second"));
}

TEST_F(PublishToolTest, RebuildKeepsUnchangedFilesAndRecompressesChangedOnes) {
  ASSERT_EQ(Build(Tree()).exitCode, 0);
  const auto Inode = [&](const std::string& listed) {
    struct stat info {};
    EXPECT_EQ(stat((Documents() / "files" / (listed + ".gz")).c_str(), &info), 0) << listed;
    return info.st_ino;
  };
  const auto worldInode = Inode("Vexmor/Data/world.pak");
  const auto optionInode = Inode("Vexmor/Option.ini");
  const auto firstBuild = Snapshot(Tree());

  // Same size, same time stamp, other content: only the content tells.
  const fs::path option = Root() / "Vexmor/Option.ini";
  const auto stamp = fs::last_write_time(option);
  WriteFile(option, "[Display]\nWidth=1280\n");
  fs::last_write_time(option, stamp);
  // New time stamp, same content: still unchanged.
  WriteFile(Root() / "Vexmor/Data/world.pak", Content(1300000, 'w'));

  const RunResult rebuild = Build(Tree());
  ASSERT_EQ(rebuild.exitCode, 0) << rebuild.err;
  EXPECT_NE(rebuild.out.find("4 kept from the last build"), std::string::npos) << rebuild.out;
  EXPECT_EQ(Inode("Vexmor/Data/world.pak"), worldInode);
  EXPECT_NE(Inode("Vexmor/Option.ini"), optionInode);
  EXPECT_EQ(RunCommand({"gzip", "-dc", (Documents() / "files/Vexmor/Option.ini.gz").string()}).out,
            "[Display]\nWidth=1280\n");
  EXPECT_EQ(Verify(Tree()).exitCode, 0);

  // The kept files make the same tree as a fresh build.
  ASSERT_EQ(Build(dir_ / "fresh").exitCode, 0);
  EXPECT_EQ(Snapshot(Tree()), Snapshot(dir_ / "fresh"));
  EXPECT_NE(Snapshot(Tree()), firstBuild);
}

TEST_F(PublishToolTest, RefusalsWriteNothing) {
  struct Refusal {
    const char* name;
    std::function<void(const fs::path& dir, std::vector<std::string>& args)> prepare;
    const char* reported;
  };
  const auto Set = [](std::vector<std::string>& args, const std::string& option, const std::string& value) {
    const auto found = std::find(args.begin(), args.end(), option);
    if (found == args.end()) {
      args.insert(args.end(), {option, value});
    } else {
      *(found + 1) = value;
    }
  };
  const Refusal refusals[] = {
      {"TAB in a path", [](const fs::path& d, auto&) { WriteFile((d / "game") / "Vexmor/a\tb.dat", "x"); },
       "TAB"},
      {"line feed in a path",
       [](const fs::path& d, auto&) { WriteFile((d / "game") / "Vexmor/a\nb.dat", "x"); }, "line feed"},
      {"carriage return in a path",
       [](const fs::path& d, auto&) { WriteFile((d / "game") / "Vexmor/ab.dat\r", "x"); }, "carriage return"},
      {"path not UTF-8",
       [](const fs::path& d, auto&) { WriteFile((d / "game") / "Vexmor/\xe9t\xe9.dat", "x"); }, "UTF-8"},
      {"backslash in a path",
       [](const fs::path& d, auto&) { WriteFile((d / "game") / "Vexmor\\a.dat", "x"); }, "backslash"},
      {"file of 2 GiB",
       [](const fs::path& d, auto&) {
         WriteFile((d / "game") / "Vexmor/huge.pak", "");
         fs::resize_file((d / "game") / "Vexmor/huge.pak", std::uintmax_t{1} << 31);
       },
       "below 2 GiB"},
      {"link that leaves the root",
       [](const fs::path& d, auto&) {
         WriteFile(d / "secret.txt", "x");
         fs::create_symlink(d / "secret.txt", (d / "game") / "Vexmor/secret.txt");
       },
       "leaves the root"},
      {"missing key", [&](const fs::path& d, auto& args) { Set(args, "--key", (d / "none.pem").string()); },
       "cannot be opened"},
      {"key that is not RSA",
       [&](const fs::path& d, auto& args) {
         const std::string key = (d / "ec.pem").string();
         RunCommand(
             {"openssl", "genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256", "-out", key});
         Set(args, "--key", key);
       },
       "not an RSA key"},
      {"public key given as the key",
       [&](const fs::path&, auto& args) { Set(args, "--key", PublicKey("one")); }, "not a PEM private key"},
      {"missing root", [&](const fs::path& d, auto& args) { Set(args, "--root", (d / "nothing").string()); },
       "missing"},
      {"game version 0", [&](const fs::path&, auto& args) { Set(args, "--game-version", "0"); },
       "--game-version"},
      {"link the release document would cut",
       [&](const fs::path&, auto& args) { Set(args, "--website", "https://vexmor.example/#top"); },
       "--website"},
      {"launcher without its version",
       [&](const fs::path& d, auto& args) {
         Set(args, "--launcher", ((d / "game") / "Vexmor/Option.ini").string());
       },
       "go together"},
      {"tree inside the root",
       [&](const fs::path& d, auto& args) { Set(args, "--out", ((d / "game") / "tree").string()); },
       "inside one another"},
      {"unknown option", [&](const fs::path&, auto& args) { Set(args, "--colour", "blue"); },
       "unknown option"},
  };
  ASSERT_EQ(Build(Tree()).exitCode, 0);
  const auto published = Snapshot(Tree());
  const auto game = Snapshot(Root());
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> args = BuildArgs(Tree());
    refusal.prepare(dir_.path(), args);
    const RunResult build = Publish(args);
    EXPECT_NE(build.exitCode, 0) << refusal.name;
    EXPECT_NE(build.err.find(refusal.reported), std::string::npos) << refusal.name << ":\n" << build.err;
    EXPECT_EQ(Snapshot(Tree()), published) << refusal.name;
    EXPECT_FALSE(fs::exists(Root() / "tree")) << refusal.name;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      EXPECT_EQ(entry.path().filename().string().find(".publish-"), std::string::npos) << refusal.name;
    }
    // Back to the good root for the next case.
    fs::remove_all(Root());
    SetUp();
    EXPECT_EQ(Snapshot(Root()), game);
  }
}

bool HasStagingFolder(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".publish-") != std::string::npos) return true;
  }
  return false;
}

TEST_F(PublishToolTest, AnInterruptedBuildLeavesTheOldTreeAndNoTrace) {
  ASSERT_EQ(Build(Tree()).exitCode, 0);
  const auto published = Snapshot(Tree());
  // Data of four letters takes seconds to compress, so the build is still running at the signal.
  std::mt19937 random(1);
  std::string slow(48 << 20, '\0');
  for (char& c : slow) c = "ACGT"[random() % 4];
  WriteFile(Root() / "Vexmor/Data/slow.pak", slow);

  std::vector<std::string> args = BuildArgs(Tree());
  args.insert(args.begin(), VEXMOR_PUBLISH_PROGRAM);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  for (int i = 0; i < 1000 && !HasStagingFolder(dir_.path()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // well into the compression
  kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_FALSE(HasStagingFolder(dir_.path()));
  EXPECT_EQ(Snapshot(Tree()), published);
}

TEST_F(PublishToolTest, AFolderThatIsNotATreeIsNeverReplaced) {
  WriteFile(dir_ / "documents/letter.txt", "keep me");
  const RunResult build = Build(dir_ / "documents");
  EXPECT_EQ(build.exitCode, 1);
  EXPECT_NE(build.err.find("not a published tree"), std::string::npos) << build.err;
  EXPECT_EQ(ReadFile(dir_ / "documents/letter.txt"), "keep me");
  // An empty folder is fine.
  fs::create_directories(dir_ / "empty");
  EXPECT_EQ(Build(dir_ / "empty").exitCode, 0);
  EXPECT_EQ(Verify(dir_ / "empty").exitCode, 0);
}

}  // namespace
}  // namespace vexmor
