#include "engine/KeyAssignment.h"

#include "common/Text.h"
#include "engine/AssignmentCodes.h"

namespace vexlo {

KeyAssignment KeyAssignment::Plain(std::uint8_t code) {
  return {code, 0, {}};
}

KeyAssignment KeyAssignment::SingleKey(std::uint8_t scanIndex) {
  return {kCodeSingleKey, scanIndex, {}};
}

KeyAssignment KeyAssignment::LaunchProgram(std::string_view path) {
  return {kCodeLaunchProgram, 0, TruncateToBuffer(path)};
}

KeyAssignment KeyAssignment::FireKey(FireKeyNumber fireKey) {
  return {kCodeFireKey, 0, EncodeFireKey(fireKey)};
}

KeyAssignment KeyAssignment::Macro(MacroNumber macro) {
  return {kCodeMacro, 0, EncodeMacro(macro)};
}

KeyAssignment KeyAssignmentOf(const DeviceSettings& device, int button) {
  if (button < 0 || button >= kButtonCount) return KeyAssignment::Plain(kCodeDisabled);
  const auto i = static_cast<std::size_t>(button);
  return {device.pbyKeySet[i], device.pdwKeyParameter[i], device.ppszKeyExt[i]};
}

Result StoreKeyAssignment(DeviceSettings& device, int button, const KeyAssignment& assignment) {
  if (button < 0 || button >= kButtonCount) return Result::InvalidParameter;
  const auto i = static_cast<std::size_t>(button);
  device.pbyKeySet[i] = assignment.code;
  device.pdwKeyParameter[i] = assignment.parameter;
  device.ppszKeyExt[i] =
      CodeUsesExtension(assignment.code) ? TruncateToBuffer(assignment.extension) : std::string();
  return Result::Ok;
}

HidUsage SingleKeyUsage(std::uint32_t parameter) {
  return KeyCodeToUsage(ScanCodeTable()[parameter & 0xFF].keyCode);
}

}  // namespace vexlo
