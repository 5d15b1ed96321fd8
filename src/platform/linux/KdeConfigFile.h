#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"

namespace vexlo {

// One of KDE's configuration files ("kdeglobals", "kcminputrc") in memory, read and changed as
// KDE's own configuration classes do: groups nest ("[Libinput][1133][49291][Name]"), group and key
// names match exactly (case counts), '[' and ']' in a group name are written as "\x5b" and "\x5d".
// A change replaces or adds one key and keeps every other line as it was. Values are taken as
// written, without KDE's escapes, which the numbers the program writes never need.
class KdeConfigFile {
 public:
  // A group and the groups it lies in, outermost first.
  using Group = std::vector<std::string>;

  // A missing file gives an empty document and FileNotFound; other failures their result.
  [[nodiscard]] Result Load(const std::filesystem::path& path);
  static KdeConfigFile Parse(std::string_view text);

  std::optional<std::string> Find(const Group& group, std::string_view key) const;
  // Replaces the value, or adds the key at the end of its group (the group at the end of the
  // file when it is new). InvalidParameter for names or values that would not read back (empty,
  // a line break, '=' in a key) and no change.
  [[nodiscard]] Result Set(const Group& group, std::string_view key, std::string_view value);
  // Removes the key when present.
  void Remove(const Group& group, std::string_view key);

  std::string Serialize() const;
  // Writes the file atomically.
  [[nodiscard]] Result Save(const std::filesystem::path& path) const;

 private:
  // Index of the line holding `key` in `group`, or none.
  std::optional<std::size_t> FindLine(const Group& group, std::string_view key) const;

  std::vector<std::string> lines_;  // without their line breaks
};

}  // namespace vexlo
