#include "platform/system/profile_file.h"

#include <cerrno>
#include <optional>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "platform/system/atomic_file.h"
#include "platform/system/profile_text.h"

namespace vexmor::platform {
namespace {

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadWholeFile(const std::filesystem::path& file, std::string& text) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  char buffer[4096];
  ReadResult result = ReadResult::Read;
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count > 0) {
      text.append(buffer, static_cast<std::size_t>(count));
    } else if (count == 0) {
      break;
    } else if (errno != EINTR) {
      result = ReadResult::Failed;  // a directory ends here too
      break;
    }
  }
  ::close(fd);
  return result;
}

}  // namespace

std::int32_t GetProfileInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
                           std::int32_t defaultValue) {
  std::string text;
  if (ReadWholeFile(file, text) != ReadResult::Read) return defaultValue;
  const std::optional<std::string> value = FindProfileValue(text, section, key);
  return value ? ProfileValueToInt(*value) : defaultValue;
}

bool WriteProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string text;
  // A file that exists but cannot be read must not be replaced by one holding only this key.
  if (ReadWholeFile(file, text) == ReadResult::Failed) return false;
  const std::optional<std::string> edited = SetProfileValue(text, section, key, value);
  if (!edited) return false;
  AtomicFileWriter writer(file);
  return writer.Write(edited->data(), edited->size()) && writer.Commit();
}

}  // namespace vexmor::platform
