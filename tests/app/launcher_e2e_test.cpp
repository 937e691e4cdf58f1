// The real launcher in a window under Xvfb with openbox, against the demo update addresses served
// by vexmor-devserver: updating, playing, cancelling, answering a question, closing, and the
// single instance. Each stage is saved as a screenshot under the build tree.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <thread>

#include "patcher/version_records.h"
#include "platform/system/single_instance.h"
#include "tests/platform/xvfb_display.h"
#include "tests/testlib/spawn_logged.h"
#include "tests/testlib/temp_dir.h"
#include "tests/testlib/update_servers.h"
#include "tests/ui/test_window.h"
#include "ui/button.h"

namespace vexmor::test {
namespace {

using namespace std::chrono_literals;

const std::filesystem::path kDemo = std::filesystem::path(VEXMOR_SOURCE_DIR) / "demo";
const std::filesystem::path kScreens = VEXMOR_SCREEN_DIR;
constexpr int kGameVersion = 3;
constexpr const char* kTitle = "VEXMOR LAUNCHER";

// Runs a command and returns what it wrote on standard output.
std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
  }
  return text;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 30s) {
  for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
    if (condition()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}


// The exit status of a child that ends within the limit; -1 when it did not end or was killed.
int WaitForExit(pid_t pid, std::chrono::milliseconds limit = 10s) {
  int status = 0;
  if (!WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limit)) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The stand-in game of the demo, which logs each start with its arguments next to itself.
std::string DemoGameScript() {
  const std::string script = ReadFile(kDemo / "make-demo-game.sh");
  const std::string begin = "VexmorGame.exe\" <<'GAME'\n";
  const auto from = script.find(begin) + begin.size();
  return script.substr(from, script.find("\nGAME\n", from) + 1 - from);
}

// Whether a launcher of this user listens on the single-instance marker, that is answers later
// starts. A listening socket has the accepting flag (0x10000) in the kernel's list.
bool FirstInstanceAnswers() {
  const std::string name = "@" + std::string(platform::kInstanceName) + "." + std::to_string(getuid());
  std::istringstream lines(ReadFile("/proc/net/unix"));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string slot, references, protocol, flags, type, state, inode, path;
    fields >> slot >> references >> protocol >> flags >> type >> state >> inode >> path;
    if (path == name && flags == "00010000") return true;
  }
  return false;
}

class LauncherEndToEndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::filesystem::create_directories(kScreens); }

  void SetUp() override {
    WriteFile(root / "Vexmor/VexmorGame.exe", DemoGameScript());
    std::filesystem::permissions(root / "Vexmor/VexmorGame.exe", std::filesystem::perms::owner_all);
    WriteFile(root / "Vexmor/Option.ini", "[Display]\nWidth=1920\n");
    // Bytes that do not compress, so a slowed download of this file takes its time.
    std::string terrain(400000, '\0');
    std::uint32_t state = 12345;
    for (char& c : terrain) c = char((state = state * 1664525u + 1013904223u) >> 24);
    WriteFile(root / "Vexmor/data/world.pak", terrain);
    std::filesystem::create_directories(install);
    std::filesystem::copy_file(VEXMOR_LAUNCHER_EXE, install / "vexmor-launcher");
    PublishTree(root, dir / "tree",
                {.gameVersion = kGameVersion, .keyPath = kDemo / "keys/demo-signing-1.pem", .news = kDemo / "news.txt",
                 .website = "https://vexmor.example", .forum = "https://forum.vexmor.example"});
  }

  void TearDown() override {
    for (pid_t pid : launchers) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (server > 0) {
      kill(server, SIGTERM);
      waitpid(server, nullptr, 0);
    }
  }

  // The demo addresses are fixed: a run of these tests elsewhere on the machine may hold them for
  // a while, so the servers wait for them.
  void Serve(std::vector<std::string> faults = {}) {
    std::vector<std::string> arguments{VEXMOR_DEVSERVER_EXE, "--tree", (dir / "tree").string()};
    arguments.insert(arguments.end(), faults.begin(), faults.end());
    for (auto end = std::chrono::steady_clock::now() + 120s;;) {
      std::filesystem::remove(serverLog);
      server = SpawnLogged(arguments, serverLog);
      int status = 0;
      bool ended = false;
      WaitFor([&] {
        ended = waitpid(server, &status, WNOHANG) == server;
        return ended || ReadFile(serverLog).find("ready") != std::string::npos;
      }, 10s);
      if (!ended && ReadFile(serverLog).find("ready") != std::string::npos) return;
      server = -1;
      // Anything but a taken port is a failure.
      ASSERT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 1) << ReadFile(serverLog);
      ASSERT_LT(std::chrono::steady_clock::now(), end) << ReadFile(serverLog);
      std::this_thread::sleep_for(1s);
    }
  }

  // Launchers started beside one that runs elsewhere on the machine for this user: with
  // "-multiwindow" each opens its own window. Only the single-instance tests start without it.
  pid_t StartLauncher(std::vector<std::string> arguments = {"-multiwindow"}) {
    arguments.insert(arguments.begin(), (install / "vexmor-launcher").string());
    const pid_t pid = SpawnLogged(arguments, dir / "launcher.log");
    launchers.push_back(pid);
    return pid;
  }

  std::vector<std::string> VisibleWindows(const std::string& title = kTitle) {
    std::vector<std::string> ids;
    std::istringstream lines(Output("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null"));
    for (std::string id; std::getline(lines, id);) ids.push_back(id);
    return ids;
  }

  // The screen position of the launcher window that appeared last.
  void FindWindow() {
    ASSERT_TRUE(WaitFor([&] { return !VisibleWindows().empty(); })) << ReadFile(dir / "launcher.log");
    const std::string geometry = Output("xdotool getwindowgeometry --shell " + VisibleWindows().back());
    ASSERT_EQ(std::sscanf(geometry.c_str(), "WINDOW=%*d\nX=%d\nY=%d", &windowLeft, &windowTop), 2) << geometry;
  }

  // A click in the middle of a widget of the window's layout (which a 1920x1080 screen makes 540
  // pixels high), or at an offset from its top-left corner.
  void Click(const Button& button, int dx = -1, int dy = -1) {
    const int x = windowLeft + button.x + (dx < 0 ? button.width / 2 : dx);
    const int y = windowTop + button.y + (dy < 0 ? button.height / 2 : dy);
    ASSERT_TRUE(RunXdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y)));
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(RunXdotool("click 1"));
  }

  std::filesystem::path Screenshot(const std::string& name) {
    const auto file = kScreens / (name + ".png");
    EXPECT_EQ(std::system(("import -window root " + file.string()).c_str()), 0);
    return file;
  }

  // Mean brightness (0 to 1) of a widget's place on the screen.
  double Brightness(const Button& button) {
    const auto shot = Screenshot("probe");
    const std::string crop = std::to_string(button.width) + "x" + std::to_string(button.height) + "+" +
                             std::to_string(windowLeft + button.x) + "+" + std::to_string(windowTop + button.y);
    return std::stod(
        Output("convert " + shot.string() + " -crop " + crop + " -colorspace gray -format '%[fx:mean]' info:"));
  }

  std::string GameStarts() { return ReadFile(install / "Vexmor/game-started.log"); }
  int InstalledVersion() { return ReadVersionRecords(install).installedVersion; }

  XvfbDisplay display{1920, 1080, true};
  TempDir dir;
  std::filesystem::path root = dir / "game";
  std::filesystem::path install = dir / "install";
  std::filesystem::path serverLog = dir / "devserver.log";
  std::unique_ptr<LauncherWindow> layout = MakeLaidOutWindow(540);
  pid_t server = -1;
  std::vector<pid_t> launchers;
  int windowLeft = 0;
  int windowTop = 0;
};

TEST_F(LauncherEndToEndTest, UpdatesThenPlayStartsTheGameAndCloseEndsWithStatusZero) {
  Serve();
  const pid_t launcher = StartLauncher();
  FindWindow();
  ASSERT_TRUE(WaitFor([&] { return InstalledVersion() == kGameVersion; })) << ReadFile(serverLog);
  std::this_thread::sleep_for(500ms);  // the next ticks enable PLAY and show the news
  Screenshot("1-updated");

  Click(*layout->playButton);
  ASSERT_TRUE(WaitFor([&] { return GameStarts().find("arguments: (none)") != std::string::npos; }, 10s));
  Click(*layout->playLiteButton);
  ASSERT_TRUE(WaitFor([&] { return GameStarts().find("arguments: -INI=Veld_Lite.ini") != std::string::npos; }, 10s))
      << GameStarts();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(waitpid(launcher, nullptr, WNOHANG), 0) << "the launcher stays open after a start";
  Screenshot("2-game-started");

  Click(*layout->closeButton);
  EXPECT_EQ(WaitForExit(launcher), 0);
  launchers.clear();
}

TEST_F(LauncherEndToEndTest, CancelDuringADownloadEndsTheRunCancelled) {
  Serve({"--slow", "/new_launcher/files/Vexmor/data/world.pak.gz=20000"});
  const pid_t launcher = StartLauncher();
  FindWindow();
  // The server logs a request when it has answered it; the big file comes after the game.
  ASSERT_TRUE(WaitFor([&] { return ReadFile(serverLog).find("VexmorGame.exe.gz") != std::string::npos; }))
      << ReadFile(serverLog);
  std::this_thread::sleep_for(1500ms);
  Screenshot("3-downloading");
  Click(*layout->cancelButton);
  // The run ends: PLAY comes back and starts the game that was downloaded before the big file.
  std::this_thread::sleep_for(1000ms);
  Screenshot("4-cancelled");
  Click(*layout->playButton);
  ASSERT_TRUE(WaitFor([&] { return GameStarts().find("arguments: (none)") != std::string::npos; }, 10s))
      << ReadFile(serverLog);
  EXPECT_EQ(InstalledVersion(), 0);
  EXPECT_FALSE(std::filesystem::exists(install / "Vexmor/data/world.pak")) << "the cancelled file was not installed";
  Click(*layout->closeButton);
  EXPECT_EQ(WaitForExit(launcher), 0);
  launchers.clear();
}

TEST_F(LauncherEndToEndTest, TheQuestionToCloseTheGameIsAnsweredByAClick) {
  Serve();
  // A game process of this installation, running.
  const auto game = install / "Vexmor/VexmorGame.exe";
  std::filesystem::create_directories(game.parent_path());
  std::filesystem::copy_file("/bin/sleep", game);
  const pid_t gamePid = SpawnLogged({game.string(), "60"}, dir / "game.log");

  const pid_t launcher = StartLauncher();
  FindWindow();
  // The dialog darkens the whole window, PLAY's place included.
  ASSERT_TRUE(WaitFor([&] { return Brightness(*layout->playButton) < 0.05; })) << ReadFile(serverLog);
  Screenshot("5-question");
  Click(*layout->confirmButton);
  EXPECT_EQ(WaitForExit(gamePid), -1) << "ended by a signal";
  ASSERT_TRUE(WaitFor([&] { return InstalledVersion() == kGameVersion; })) << ReadFile(serverLog);
  std::this_thread::sleep_for(500ms);
  Screenshot("6-answered");
  Click(*layout->closeButton);
  EXPECT_EQ(WaitForExit(launcher), 0);
  launchers.clear();
}

TEST_F(LauncherEndToEndTest, ASecondStartRaisesTheFirstWindowAndMultiwindowOpensAnother) {
  if (FirstInstanceAnswers()) GTEST_SKIP() << "another launcher of this user runs on this machine";
  Serve();
  StartLauncher({});
  FindWindow();
  const std::string first = VisibleWindows().front();
  // The window shows before it answers later starts; until then a second start is refused.
  ASSERT_TRUE(WaitFor(FirstInstanceAnswers));
  ASSERT_TRUE(RunXdotool("windowminimize --sync " + first));
  ASSERT_TRUE(WaitFor([&] { return VisibleWindows().empty(); }));

  const pid_t second = StartLauncher({});
  EXPECT_EQ(WaitForExit(second), 0);
  launchers.pop_back();
  ASSERT_TRUE(WaitFor([&] { return VisibleWindows() == std::vector<std::string>{first}; }));
  Screenshot("7-raised");

  StartLauncher({"-multiwindow"});
  ASSERT_TRUE(WaitFor([&] { return VisibleWindows().size() == 2; })) << ReadFile(dir / "launcher.log");
  std::this_thread::sleep_for(500ms);
  Screenshot("8-multiwindow");
}

TEST_F(LauncherEndToEndTest, StartFailuresAreShownInAWindowOfTheirOwnOrOnStandardErrorWithoutADisplay) {
  {
    // Holds the marker like a launcher that has no window yet, and never answers.
    platform::SingleInstance holder(platform::kInstanceName);
    if (holder.Status() != platform::InstanceStatus::First) {
      GTEST_SKIP() << "another launcher of this user runs on this machine";
    }
    const pid_t launcher = StartLauncher({});
    ASSERT_TRUE(WaitFor([&] { return !VisibleWindows("Vexmor Launcher").empty(); })) << ReadFile(dir / "launcher.log");
    std::this_thread::sleep_for(300ms);
    Screenshot("9-error-window");
    // The OK button, at the lower right of the 480 x 170 window centred on the screen.
    ASSERT_TRUE(RunXdotool("mousemove --sync 1132 588"));
    ASSERT_TRUE(RunXdotool("click 1"));
    EXPECT_EQ(WaitForExit(launcher), 0);
    launchers.clear();
    EXPECT_TRUE(VisibleWindows(kTitle).empty());
  }
  const std::string program = (install / "vexmor-launcher").string();
  const pid_t launcher = SpawnLogged({"/usr/bin/env", "-u", "DISPLAY", program, "-multiwindow"}, dir / "stderr.log");
  launchers.push_back(launcher);
  EXPECT_EQ(WaitForExit(launcher), 0);
  launchers.clear();
  EXPECT_NE(ReadFile(dir / "stderr.log").find("Vexmor Launcher: Failed to create window!"), std::string::npos)
      << ReadFile(dir / "stderr.log");
}

}  // namespace
}  // namespace vexmor::test
