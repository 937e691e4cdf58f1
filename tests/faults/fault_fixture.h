#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tests/patcher/update_fixture.h"

namespace vexmor::test {

// An update fixture whose engines record every status text they set, so that a test sees the
// outcome of each attempt of a run, not only the last one.
class FaultFixture : public UpdateFixture {
 public:
  // An engine over the three servers (or `urls`) with the given stall timeout.
  std::unique_ptr<Patcher> MakeRecordingPatcher(std::chrono::milliseconds stallTimeout = std::chrono::seconds(2));
  std::unique_ptr<Patcher> MakeRecordingPatcher(const std::array<std::string, 3>& urls,
                                                std::chrono::milliseconds stallTimeout = std::chrono::seconds(2));
  // One attempt against the address at a position (1 to 3); questions are answered "true".
  PatchStage AttemptOn(Patcher& patcher, int position);
  // Every status text set so far, in order.
  std::vector<std::wstring> StatusTexts();
  bool SawStatus(std::wstring_view text);

  // A path below a server's base address as that server sees it (the second has a bucket path).
  static std::string PathAt(int position, const std::string& path);
  // The requests a server answered whose path contains `part`.
  static std::vector<RequestLog> RequestsFor(TestServer& server, std::string_view part);
  // The same once there are at least `count` of them (a response cut off is logged when the
  // server notices), or after five seconds.
  static std::vector<RequestLog> AwaitRequests(TestServer& server, std::string_view part, std::size_t count);

  // Gives every installed game file other contents than the published ones ("old <path>"), except
  // the player's own settings, which are never replaced while present.
  void InstallOldFiles();
  // Every file InstallOldFiles wrote still holds what it wrote.
  void ExpectOldFiles();
  static std::vector<const char*> OldFiles();
  static std::string OldContents(const std::string& relative) { return "old " + relative; }
  // No temporary file of an expansion is left in the game's data folder.
  void ExpectNoExpansionLeftovers();
  // The published game fully installed at `version`: every file like the published one, nothing
  // left over from the transfers in the installation.
  void ExpectVerifiedInstallation(int version);

 private:
  std::mutex statusMutex_;
  std::vector<std::wstring> statusTexts_;
};

}  // namespace vexmor::test
