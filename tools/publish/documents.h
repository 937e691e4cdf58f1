#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexmor::publish {

// One record of the checksum list.
struct ListedFile {
  std::string path;
  std::int64_t size = 0;
  std::int64_t compressedSize = 0;
  std::uint32_t crc = 0;
  std::string sha256;  // of the compressed copy, 64 lower-case hexadecimal digits
};

// checksums.txt: one line per file in the given order, five TAB-separated fields, LF line ends.
std::string ChecksumListText(const std::vector<ListedFile>& files);

struct PublishedLauncher {
  std::int32_t version = 0;
  std::int64_t size = 0;
  std::string sha256;
};

// The values of the release document; links that are empty are left out.
struct ReleaseValues {
  std::int32_t gameVersion = 0;
  std::optional<PublishedLauncher> launcher;
  std::int32_t announceVersion = 0;  // 0: no announcement
  std::string announceLink;
  std::string websiteLink;
  std::string forumLink;
};

// latest.txt: one "key = value" line per value, LF line ends.
std::string ReleaseDocumentText(const ReleaseValues& values);

// Why a link cannot be stored as a value of the release document (the reader trims values, cuts
// them at '#' or ';' and ends them at a line end); empty when it can.
std::string LinkProblem(std::string_view link);

// What a news text holds that the launcher will not show; empty when every line is shown.
std::vector<std::string> NewsWarnings(std::string_view news);

}  // namespace vexmor::publish
