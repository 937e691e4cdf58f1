// The profile file ("Launcher.ini") reader and editor over arbitrary bytes. An input is three
// length bytes, then a section name, a key and a value of those lengths, then the file's text.
// Besides not crashing:
// - a write is refused exactly when a name or the value could not be read back as written;
// - after a write the key reads back as the value (as a reader sees it: without blanks around it
//   and without matching quotes), writing it again changes nothing, and the edit is one splice
//   that keeps every other line;
// - the file functions do the same on a real file: the file holds the edited text (or is unchanged
//   when the write is refused), no temporary is left, and the integer read is the value's number.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/profile_file.h"
#include "platform/system/profile_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/scratch_folder.h"

namespace {

using namespace std::string_view_literals;
namespace platform = vexmor::platform;

constexpr std::int32_t kDefault = -7;

struct Input {
  std::string_view section, key, value, text;
};

Input Split(std::string_view data) {
  Input input;
  if (data.size() < 3) return input;
  const std::size_t lengths[3] = {static_cast<unsigned char>(data[0]), static_cast<unsigned char>(data[1]),
                                  static_cast<unsigned char>(data[2])};
  data.remove_prefix(3);
  std::string_view* parts[3] = {&input.section, &input.key, &input.value};
  for (int i = 0; i < 3; ++i) {
    *parts[i] = data.substr(0, lengths[i]);
    data.remove_prefix(parts[i]->size());
  }
  input.text = data;
  return input;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsStorableName(std::string_view name, std::string_view forbidden) {
  return !name.empty() && Trim(name) == name && name.find_first_of(forbidden) == std::string_view::npos;
}

bool IsStorable(const Input& input) {
  return IsStorableName(input.section, "\r\n\0]"sv) && IsStorableName(input.key, "\r\n\0="sv) &&
         input.key.front() != '[' && input.key.front() != ';' &&
         input.value.find_first_of("\r\n\0"sv) == std::string_view::npos;
}

std::string AsRead(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    // An edit may end a last line that has a stray carriage return and no line feed.
    while (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The edit replaced at most one line and added at most two (a header and the key).
void CheckSplice(std::string_view before, std::string_view after) {
  const std::vector<std::string_view> a = Lines(before);
  const std::vector<std::string_view> b = Lines(after);
  std::size_t prefix = 0;
  while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
         a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
    ++suffix;
  }
  FUZZ_CHECK(a.size() - prefix - suffix <= 1);
  FUZZ_CHECK(b.size() - prefix - suffix <= 2);
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream input(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
}

std::int32_t ExpectedInt(const std::optional<std::string>& value) {
  return value ? platform::ProfileValueToInt(*value) : kDefault;
}

void CheckFile(const Input& input, const std::optional<std::string>& edited) {
  vexmor::fuzz::ClearScratchFolder();
  const std::filesystem::path file = vexmor::fuzz::ScratchFolder() / "Launcher.ini";
  std::ofstream(file, std::ios::binary).write(input.text.data(), std::streamsize(input.text.size()));

  FUZZ_CHECK(platform::GetProfileInt(file, input.section, input.key, kDefault) ==
             ExpectedInt(platform::FindProfileValue(input.text, input.section, input.key)));
  FUZZ_CHECK(platform::WriteProfileString(file, input.section, input.key, input.value) == edited.has_value());
  FUZZ_CHECK(ReadFile(file) == (edited ? *edited : std::string(input.text)));
  FUZZ_CHECK(std::distance(std::filesystem::directory_iterator(vexmor::fuzz::ScratchFolder()),
                           std::filesystem::directory_iterator()) == 1);
  if (edited) {
    FUZZ_CHECK(platform::GetProfileInt(file, input.section, input.key, kDefault) ==
               platform::ProfileValueToInt(AsRead(input.value)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input input = Split({reinterpret_cast<const char*>(data), size});

  const std::optional<std::string> found = platform::FindProfileValue(input.text, input.section, input.key);
  if (found) FUZZ_CHECK(found->find('\n') == std::string::npos);
  std::int32_t number = 0;
  std::memcpy(&number, data, std::min(size, sizeof number));
  FUZZ_CHECK(platform::ProfileValueToInt(std::to_string(number)) == number);

  const std::optional<std::string> edited =
      platform::SetProfileValue(input.text, input.section, input.key, input.value);
  FUZZ_CHECK(edited.has_value() == IsStorable(input));
  if (edited) {
    FUZZ_CHECK(platform::FindProfileValue(*edited, input.section, input.key) == AsRead(input.value));
    FUZZ_CHECK(platform::SetProfileValue(*edited, input.section, input.key, input.value) == edited);
    CheckSplice(input.text, *edited);
  }
  CheckFile(input, edited);
  return 0;
}
