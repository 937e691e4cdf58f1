#pragma once

#include <filesystem>

namespace vexmor::fuzz {

// A folder of this process for the files a target writes, in memory (/dev/shm) where the system
// has it so that millions of runs do not wear a disk. Created on first use, removed at exit.
const std::filesystem::path& ScratchFolder();

// Every entry of the scratch folder is removed.
void ClearScratchFolder();

}  // namespace vexmor::fuzz
