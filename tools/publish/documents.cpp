#include "tools/publish/documents.h"

#include <algorithm>

#include "support/digest/crc32.h"

namespace vexmor::publish {
namespace {

constexpr int kNewsEntries = 3;
constexpr int kLinesPerEntry = 4;

void AppendKey(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append(" = ").append(value).push_back('\n');
}

}  // namespace

std::string ChecksumListText(const std::vector<ListedFile>& files) {
  std::string out;
  for (const ListedFile& file : files) {
    out.append(file.path).push_back('\t');
    out.append(std::to_string(file.size)).push_back('\t');
    out.append(std::to_string(file.compressedSize)).push_back('\t');
    out.append(Crc32Hex(file.crc)).push_back('\t');
    out.append(file.sha256).push_back('\n');
  }
  return out;
}

std::string ReleaseDocumentText(const ReleaseValues& values) {
  std::string out;
  AppendKey(out, "game_version", std::to_string(values.gameVersion));
  if (values.launcher) {
    AppendKey(out, "launcher_version", std::to_string(values.launcher->version));
    AppendKey(out, "launcher_size", std::to_string(values.launcher->size));
    AppendKey(out, "launcher_checksum", values.launcher->sha256);
  }
  if (values.announceVersion > 0) {
    AppendKey(out, "announce_version", std::to_string(values.announceVersion));
    AppendKey(out, "announce_link", values.announceLink);
  }
  if (!values.websiteLink.empty()) AppendKey(out, "website_link", values.websiteLink);
  if (!values.forumLink.empty()) AppendKey(out, "forum_link", values.forumLink);
  return out;
}

std::string LinkProblem(std::string_view link) {
  if (link.empty()) return "is empty";
  if (link.find_first_of("#;") != std::string_view::npos) {
    return "contains '#' or ';', where the release document's reader cuts the value off";
  }
  for (char c : link) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return "contains a control character or a line end";
  }
  if (link.front() == ' ' || link.back() == ' ') return "starts or ends with a blank";
  return {};
}

std::vector<std::string> NewsWarnings(std::string_view news) {
  std::vector<std::string> warnings;
  if (news.find('\0') != std::string_view::npos) {
    warnings.push_back("holds a NUL byte; the launcher ignores everything after it");
    news = news.substr(0, news.find('\0'));
  }
  int lines = 0;
  std::size_t start = 0;
  while (start < news.size()) {
    const std::size_t end = std::min(news.find('\n', start), news.size());
    const std::string_view line = news.substr(start, end - start);
    if (!line.empty() && line != "\r") ++lines;
    start = end + 1;
  }
  if (lines % kLinesPerEntry != 0) {
    warnings.push_back(std::to_string(lines) +
                       " non-blank lines: the launcher shows complete groups of four lines only");
  }
  if (lines > kNewsEntries * kLinesPerEntry) {
    warnings.push_back("more than three entries: the launcher shows the first three only");
  }
  return warnings;
}

}  // namespace vexmor::publish
