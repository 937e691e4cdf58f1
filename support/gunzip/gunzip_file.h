#pragma once

#include <filesystem>

namespace vexmor {

// Expands a gzip file into target. The target is replaced only when the whole source was read and
// written; on false it is unchanged. Input that is not gzip is copied as it is (true). False when
// the source cannot be opened, its deflate data is damaged or ends early (a truncated file, even
// one whose digest a signed list vouches for), or the target cannot be written (read-only, a
// directory, disk full). The source is never changed.
bool GunzipFile(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace vexmor
