#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "support/patchinfo/patch_list.h"

namespace vexmor {
namespace {

const std::string kSha = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const std::string kRecord = "Vexmor/a.pak\t12\t5\tcbf43926\t" + kSha;

// Records as "path|size|compressedSize|crc|sha256".
std::vector<std::string> Describe(const std::vector<PatchEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) {
    out.push_back(e.path + "|" + std::to_string(e.size) + "|" + std::to_string(e.compressedSize) + "|" + e.crc + "|" +
                  e.sha256);
    EXPECT_FALSE(e.needsUpdate || e.failed || !e.errorText.empty()) << e.path;
  }
  return out;
}

struct Outcome {
  bool result;
  std::vector<std::string> records;
  std::int64_t totalSize;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
  *out << (o.result ? "true" : "false") << " total " << o.totalSize << " [";
  for (const auto& r : o.records) *out << "\n  " << r;
  *out << "]";
}

Outcome Read(std::string_view text, const std::atomic<bool>* cancel = nullptr) {
  std::vector<PatchEntry> entries;
  std::int64_t total = -1;
  const bool result = ReadPatchList(text, entries, total, cancel);
  return {result, Describe(entries), total};
}

TEST(ReadPatchList, Records) {
  const std::string a = "Vexmor/a.pak|12|5|CBF43926|" + kSha;
  struct Case {
    const char* name;
    std::string text;
    Outcome expected;
  } cases[] = {
      {"empty text", "", {true, {}, 0}},
      {"one record without final line feed", kRecord, {true, {a}, 12}},
      {"final line feed adds no record", kRecord + "\n", {true, {a}, 12}},
      {"CRLF lines", kRecord + "\r\n" + kRecord + "\r\nb\t1\t2\t0000000a\t" + kSha + "\r\n",
       {true, {a, a, "b|1|2|0000000A|" + kSha}, 25}},
      {"runs of TABs count as one", "\tVexmor/a.pak\t\t12\t5\t\t\tcbf43926\t" + kSha + "\t", {true, {a}, 12}},
      {"fields after the fifth are ignored", kRecord + "\textra\tmore", {true, {a}, 12}},
      {"CRC upper-cased", "x\t1\t1\t1a2b3c4d\t" + kSha, {true, {"x|1|1|1A2B3C4D|" + kSha}, 1}},
      {"SHA-256 kept as written", "x\t1\t1\t0\tABCDEF", {true, {"x|1|1|0|ABCDEF"}, 1}},
      {"SHA-256 cut to 64 characters", "x\t1\t1\t0\t" + kSha + "ff", {true, {"x|1|1|0|" + kSha}, 1}},
      {"blanks belong to the fields", " x \t 7 \t8\t ab \t s ", {true, {" x |7|8| AB | s "}, 7}},
      {"malformed numbers give 0", "x\tabc\t3000000000\t0\ts", {true, {"x|0|0|0|s"}, 0}},
      {"sizes add up in 64 bits", "x\t2147483647\t1\t0\ts\ny\t2147483647\t1\t0\ts",
       {true, {"x|2147483647|1|0|s", "y|2147483647|1|0|s"}, 4294967294}},
      {"a path listed twice gives two records", kRecord + "\n" + kRecord, {true, {a, a}, 24}},
      {"nested relative path", "a/b/c..d/.e\t1\t1\t0\ts", {true, {"a/b/c..d/.e|1|1|0|s"}, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.expected) << c.name;
}

TEST(ReadPatchList, LineThatIsNotASafeRecordCorruptsTheWholeList) {
  const Outcome corrupted{true, {}, 0};
  const std::string tail = "\t1\t1\t0\t" + kSha;
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"blank line between records", kRecord + "\n\n" + kRecord},
      {"blank line at the end", kRecord + "\n\n"},
      {"line holding only a carriage return", kRecord + "\r\n\r\n"},
      {"line of TABs", kRecord + "\n\t\t\t\t\t"},
      {"four fields", kRecord + "\nx\t1\t1\t0"},
      {"absolute path", "/etc/passwd" + tail},
      {"path led by a backslash", "\\share\\x" + tail},
      {"drive path", "C:/Windows/x" + tail},
      {"drive-relative path", "c:x" + tail},
      {"parent folder", "../x" + tail},
      {"parent folder further in", "Vexmor/../../x" + tail},
      {"path ending in a parent folder", "Vexmor/.." + tail},
      {"current folder component", "Vexmor/./x" + tail},
      {"current folder", "." + tail},
      {"backslash inside", "Vexmor\\x" + tail},
      {"NUL inside", std::string("Vexmor/x\0.exe", 13) + tail},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.text), corrupted) << c.name;
    EXPECT_EQ(Read(kRecord + "\n" + c.text), corrupted) << c.name << ", after a good record";
  }
}

TEST(ReadPatchList, CancelledBeforeTheFirstLine) {
  std::atomic<bool> cancel{true};
  EXPECT_EQ(Read(kRecord + "\n" + kRecord, &cancel), (Outcome{false, {}, 0}));
  EXPECT_EQ(Read("", &cancel), (Outcome{false, {}, 0}));
  cancel = false;
  EXPECT_EQ(Read(kRecord, &cancel).records.size(), 1u);
}

}  // namespace
}  // namespace vexmor
