#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Result.h"
#include "engine/ExtensionNumber.h"
#include "engine/ScanCodeTable.h"
#include "profiles/ProfileData.h"

namespace vexlo {

// What one mouse button does: its assignment code (AssignmentCodes) and the data the code needs.
// The profile keeps the three fields as pbyKeySet%d, pdwKeyParameter%d and ppszKeyExt%d.
struct KeyAssignment {
  std::uint8_t code = 0;
  std::uint32_t parameter = 0;  // single key: the ScanCodeTable index; 0 for every other code
  std::string extension;  // launch: the program's path; fire key and macro: the packed number as
                          // signed decimal; empty for every other code. At most 259 UTF-16 units.

  // A code without data.
  static KeyAssignment Plain(std::uint8_t code);
  static KeyAssignment SingleKey(std::uint8_t scanIndex);
  // The path is cut to 259 UTF-16 units, as the profile keeps it.
  static KeyAssignment LaunchProgram(std::string_view path);
  static KeyAssignment FireKey(FireKeyNumber fireKey);
  static KeyAssignment Macro(MacroNumber macro);

  bool operator==(const KeyAssignment&) const = default;
};

// The assignment of button 0..6 of the profile; a disabled button (code 5) for any other number.
KeyAssignment KeyAssignmentOf(const DeviceSettings& device, int button);

// Stores the assignment of button 0..6 in the profile; InvalidParameter (nothing changed) for
// any other button. An extension text is kept only for the codes that use one.
[[nodiscard]] Result StoreKeyAssignment(DeviceSettings& device, int button,
                                        const KeyAssignment& assignment);

// The usage a single-key assignment sends: the key of ScanCodeTable entry parameter & 0xFF.
HidUsage SingleKeyUsage(std::uint32_t parameter);

}  // namespace vexlo
