#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "common/Result.h"
#include "profiles/ProfileData.h"

// A profile file: section "Setting" of an INI file, numbers as unsigned decimal text. The same
// format with the extension ".profile" is the exchange file. Every writer replaces the file
// atomically, so a crash never leaves half a profile; each returns Ok or the failed write's
// result, and a failed write leaves the previous file whole.
namespace vexlo {

// Reads the parts given (each may be null). NotAProfile when the file's nFlag is not
// kProfileMarker (a missing file included); nothing is changed then. A missing key takes its
// default; a number wider than its field keeps its low bits, and every value is then brought into
// its valid range (ClampToValidRanges), so what is read is safe to use. The double-click time is
// not read: it comes from the desktop.
[[nodiscard]] Result ReadProfile(const std::filesystem::path& file, DeviceSettings* device,
                                 WindowsSettings* windows, LinkSettings* link);
[[nodiscard]] inline Result ReadProfile(const std::filesystem::path& file, ProfileData& profile) {
  return ReadProfile(file, &profile.device, &profile.windows, &profile.link);
}

// Writes the parts given, key by key in the file's order; then nFlag, but only when both the
// device and the desktop part were given, so that only a complete profile carries the marker.
[[nodiscard]] Result WriteProfile(const std::filesystem::path& file, const DeviceSettings* device,
                                  const WindowsSettings* windows, const LinkSettings* link);
[[nodiscard]] inline Result WriteProfile(const std::filesystem::path& file,
                                         const ProfileData& profile) {
  return WriteProfile(file, &profile.device, &profile.windows, &profile.link);
}

// Writes a complete profile into a file of its own: whatever the file held before is gone.
[[nodiscard]] Result WriteWholeProfile(const std::filesystem::path& file,
                                       const ProfileData& profile);

// The writers that change one setting. A button of 7 or more, or a level of 4 or more, gives
// InvalidParameter and writes nothing.
[[nodiscard]] Result WriteKeyAssignment(const std::filesystem::path& file, int button,
                                        std::uint8_t code, std::uint32_t parameter,
                                        std::string_view extension);
[[nodiscard]] Result WriteDpiLevel(const std::filesystem::path& file, int level,
                                   std::uint16_t value);
[[nodiscard]] Result WriteLighting(const std::filesystem::path& file, std::uint32_t colour,
                                   std::uint8_t brightness, std::uint8_t speed, std::uint8_t mode,
                                   std::uint8_t parameter,
                                   const std::array<std::uint8_t, kDpiLevelCount>& colourIndexes);
[[nodiscard]] Result WritePointerSpeed(const std::filesystem::path& file, std::uint32_t speed);
[[nodiscard]] Result WriteLinkSettings(const std::filesystem::path& file, std::uint32_t flag,
                                       std::string_view path);
[[nodiscard]] Result WriteCurDpiLevel(const std::filesystem::path& file, std::uint8_t level);
[[nodiscard]] Result WriteReportRateIndex(const std::filesystem::path& file, std::uint8_t index);
[[nodiscard]] Result WriteLineCor(const std::filesystem::path& file, std::uint8_t on);
[[nodiscard]] Result WriteWheelScrollLines(const std::filesystem::path& file, std::uint32_t lines);
[[nodiscard]] Result WriteDoubleClickTime(const std::filesystem::path& file,
                                          std::uint32_t milliseconds);

}  // namespace vexlo
