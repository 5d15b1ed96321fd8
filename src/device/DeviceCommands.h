#pragma once

#include <cstdint>
#include <filesystem>

#include "common/Result.h"
#include "device/DeviceSession.h"
#include "profiles/ProfileData.h"

namespace vexlo {

// Sends the current profile's device settings to the mouse: which of the left, right and middle
// buttons the mouse filter intercepts, the hardware functions of the side and sensitivity buttons,
// the four sensitivity levels with their colours, the report rate and the light effect.
//
// Each command first brings the profile fields it sends into their valid range (storing the
// clamped values back), changes the session's register image, and then writes the whole byte of
// every register it changed; it never reads the mouse. A failed write is not retried, does not
// stop the command's other writes and does not close the link.
//
// Every command answers: Ok; NotConnected when the session is not connected (nothing is changed
// then, not even the profile); NotFound when the session is connected but the link is closed
// (the image and the profile change, nothing is written); or the first failure of its writes
// (the driver's error, DeviceNotConnected when the mouse went away during it).
//
// User-interface thread.
class DeviceCommands {
 public:
  // ApplyButtons: every button.
  static constexpr int kAllButtons = 7;

  // Both must outlive the commands; `settings` is the current profile's device part.
  DeviceCommands(DeviceSession& session, DeviceSettings& settings);

  // `which` 0..2: the interception table (all three buttons); 3..6: that button's register; any
  // other value: the table and all four registers.
  [[nodiscard]] Result ApplyButtons(int which);

  // Level 0..3: its sensitivity step (register 0x08 and its own register). BadData for a level out
  // of range.
  [[nodiscard]] Result ApplyDpiLevel(int level);

  // The report-rate record.
  [[nodiscard]] Result ApplyReportRate();

  // The light effect and the four level colours. Brightness and speed are clamped and stored but
  // the mouse has no register for them.
  [[nodiscard]] Result ApplyLighting();

  // The whole device part of the profile: buttons, levels 0..3, report rate, lighting, each only
  // while everything before it succeeded; the first failure is the result.
  [[nodiscard]] Result ApplyDeviceSettings();

  // The lighting panel's reset: the four levels, the light mode, parameter, brightness, speed and
  // colour and the level colours take their default values; while connected they are sent
  // (levels 0..3, then the lighting); then they are saved to `profileFile`. Ok; the save's failure;
  // else the mouse's failure. A mouse that is not connected is no failure: the values reach it
  // with the next full apply.
  [[nodiscard]] Result ResetLighting(const std::filesystem::path& profileFile);

 private:
  Result SendInterceptionTable();
  Result ApplyButtonRegister(int button);
  Result WriteImageRegister(std::uint8_t reg);

  DeviceSession& session_;
  DeviceSettings& settings_;
};

}  // namespace vexlo
