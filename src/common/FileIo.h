#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/Result.h"

namespace vexlo {

// Reads a whole file. FileNotFound when it does not exist.
[[nodiscard]] Result ReadFileBytes(const std::filesystem::path& path, std::string& bytes);

// Replaces the file's contents atomically: the bytes go to a temporary file in the same folder,
// which is flushed to the disk and then renamed over the file. A crash, a full disk or a
// read-only folder leaves the previous contents whole, and the failure is returned.
[[nodiscard]] Result ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// Where a replacement can fail. Tests make the next replacement fail at one of these steps with
// a chosen errno, as a full disk or a read-only folder would.
enum class ReplaceStep { Create, Write, Sync, Rename };
void FailNextReplaceForTesting(ReplaceStep step, int error);

}  // namespace vexlo
