#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/Result.h"

namespace vexlo {

// The largest files the program reads. Settings, profiles, macros, skin and language files are
// INI files of a few kilobytes; skin pictures are larger.
inline constexpr std::size_t kMaxIniFileBytes = std::size_t{1} << 20;
inline constexpr std::size_t kMaxImageFileBytes = std::size_t{32} << 20;

// Reads a whole regular file of at most `limit` bytes; every file the program reads comes
// through here. It never waits on a FIFO or a device and never opens one: FileNotFound when
// nothing is there; AccessDenied for a folder; BadFileType for anything else that is not a
// regular file; FileTooLarge above the limit; CantResolveFilename for a loop of links; otherwise
// the failure of the open or the read. `bytes` is empty after a failure.
[[nodiscard]] Result ReadFileBytes(const std::filesystem::path& path, std::string& bytes,
                                   std::size_t limit);

// Replaces the file's contents atomically: the bytes go to a temporary file with a short name in
// the same folder, which is flushed to the disk and then renamed over the file. A crash, a full
// disk or a read-only folder leaves the previous contents whole, and the failure is returned.
// A symbolic link is written through: its final target gets the contents and the link stays. An
// existing file keeps its mode; a new one is readable by its owner only. A target that exists
// and is not a regular file is refused as ReadFileBytes refuses it.
[[nodiscard]] Result ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// Creates the folder and every missing parent, readable by their owner only; existing folders
// keep their modes. Ok when the folder exists afterwards.
[[nodiscard]] Result CreatePrivateFolders(const std::filesystem::path& folder);

// Removes the temporary files that replacements interrupted by a crash left in the folder. A
// replacement under way in another process keeps its file.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

// Where a replacement can fail. Tests make the next replacement fail at one of these steps with
// a chosen errno, as a full disk or a read-only folder would.
enum class ReplaceStep { Create, Write, Sync, Rename };
void FailNextReplaceForTesting(ReplaceStep step, int error);

}  // namespace vexlo
