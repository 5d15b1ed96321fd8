#include "device/DeviceCommands.h"

#include <algorithm>

#include "device/DriverInterface.h"
#include "device/InterceptionTable.h"
#include "device/RegisterMap.h"
#include "device/ReportRateRecord.h"
#include "profiles/ProfileFile.h"

namespace vexlo {
namespace {

constexpr std::uint8_t kHighestBrightness = 4;
constexpr std::uint8_t kHighestSpeed = 4;

// The earlier failure wins: it is the one that explains what went wrong.
Result FirstFailure(Result earlier, Result later) {
  return earlier != Result::Ok ? earlier : later;
}

}  // namespace

DeviceCommands::DeviceCommands(DeviceSession& session, DeviceSettings& settings)
    : session_(session), settings_(settings) {}

Result DeviceCommands::WriteImageRegister(std::uint8_t reg) {
  DeviceLink& link = session_.Link();
  if (!link.IsOpen()) return Result::NotFound;
  return link.WriteRegister(reg, session_.RegisterImage()[reg]);
}

Result DeviceCommands::ApplyButtons(int which) {
  if (const Result connected = session_.IsConnected(); connected != Result::Ok) return connected;
  const bool all = which < 0 || which >= kButtonCount;
  Result result = Result::Ok;
  if (all || which < kFirstRegisterButton) result = SendInterceptionTable();
  for (int button = kFirstRegisterButton; button < kButtonCount; ++button) {
    if (all || which == button) result = FirstFailure(result, ApplyButtonRegister(button));
  }
  return result;
}

Result DeviceCommands::SendInterceptionTable() {
  DeviceLink& link = session_.Link();
  std::array<bool, 3> intercepted{};
  for (int button = 0; button < kFirstRegisterButton; ++button) {
    const auto at = static_cast<std::size_t>(button);
    intercepted[at] = !MousePerformsCode(button, settings_.pbyKeySet[at]);
  }
  std::array<std::int64_t, kInterceptRecordCount> events{};
  for (std::size_t index = 0; index < events.size(); ++index) {
    events[index] = link.EventDriverValue(index);
  }
  return link.MouseFilterControl(kIoctlButtonInterception,
                                 BuildInterceptionTable(intercepted, events));
}

Result DeviceCommands::ApplyButtonRegister(int button) {
  const DeviceLink& link = session_.Link();
  // Every button 3..6 has a register once the link has opened, which Connect needs.
  const std::uint8_t reg = link.ButtonRegisters()[static_cast<std::size_t>(button)];
  const std::uint8_t factory = FactoryButtonFunction(link.ModelVariant(), reg);
  const std::uint8_t code = settings_.pbyKeySet[static_cast<std::size_t>(button)];
  SetButtonFunction(session_.RegisterImage(), reg, ButtonHardwareFunction(button, code, factory));
  return WriteImageRegister(reg);
}

Result DeviceCommands::ApplyDpiLevel(int level) {
  if (level < 0 || level >= kDpiLevelCount) return Result::BadData;
  if (const Result connected = session_.IsConnected(); connected != Result::Ok) return connected;
  std::uint16_t& dpi = settings_.pwDpi[static_cast<std::size_t>(level)];
  dpi = ClampDpi(dpi);
  SetLevelStep(session_.RegisterImage(), level, DpiStep(dpi));
  const Result highBit = WriteImageRegister(kLevelHighBitsRegister);
  return FirstFailure(highBit, WriteImageRegister(LevelRegister(level)));
}

Result DeviceCommands::ApplyReportRate() {
  if (const Result connected = session_.IsConnected(); connected != Result::Ok) return connected;
  settings_.byReportRateIndex =
      std::min<std::uint8_t>(settings_.byReportRateIndex, kReportRateCount - 1);
  return session_.Link().MouseFilterControl(kIoctlReportRate,
                                            EncodeReportRateRecord(settings_.byReportRateIndex));
}

Result DeviceCommands::ApplyLighting() {
  if (const Result connected = session_.IsConnected(); connected != Result::Ok) return connected;
  settings_.byLightBrightness = std::min(settings_.byLightBrightness, kHighestBrightness);
  settings_.byLightSpeed = std::min(settings_.byLightSpeed, kHighestSpeed);
  settings_.byLightMode = std::min<std::uint8_t>(settings_.byLightMode, kLightModeCount - 1);
  RegisterBank& image = session_.RegisterImage();
  SetLightEffect(image, settings_.byLightMode);
  Result result = WriteImageRegister(kLightEffectRegister);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    std::uint8_t& colour = settings_.pbyCpiColorIdx[static_cast<std::size_t>(level)];
    colour = std::min<std::uint8_t>(colour, kColourCount - 1);
    SetLevelColour(image, level, colour);
    result = FirstFailure(result, WriteImageRegister(LevelRegister(level)));
  }
  return result;
}

Result DeviceCommands::ApplyDeviceSettings() {
  Result result = ApplyButtons(kAllButtons);
  for (int level = 0; level < kDpiLevelCount && result == Result::Ok; ++level) {
    result = ApplyDpiLevel(level);
  }
  if (result == Result::Ok) result = ApplyReportRate();
  if (result == Result::Ok) result = ApplyLighting();
  return result;
}

Result DeviceCommands::ResetLighting(const std::filesystem::path& profileFile) {
  DeviceSettings defaults;
  FillDefaults(defaults);
  settings_.pwDpi = defaults.pwDpi;
  settings_.byLightMode = defaults.byLightMode;
  settings_.byLightParameter = defaults.byLightParameter;
  settings_.byLightBrightness = defaults.byLightBrightness;
  settings_.byLightSpeed = defaults.byLightSpeed;
  settings_.crLight = defaults.crLight;
  settings_.pbyCpiColorIdx = defaults.pbyCpiColorIdx;

  Result sent = Result::Ok;
  if (session_.IsConnected() == Result::Ok) {
    for (int level = 0; level < kDpiLevelCount; ++level) {
      sent = FirstFailure(sent, ApplyDpiLevel(level));
    }
    sent = FirstFailure(sent, ApplyLighting());
  }

  Result saved = Result::Ok;
  for (int level = 0; level < kDpiLevelCount; ++level) {
    saved = FirstFailure(
        saved, WriteDpiLevel(profileFile, level, settings_.pwDpi[static_cast<std::size_t>(level)]));
  }
  saved =
      FirstFailure(saved, WriteLighting(profileFile, settings_.crLight, settings_.byLightBrightness,
                                        settings_.byLightSpeed, settings_.byLightMode,
                                        settings_.byLightParameter, settings_.pbyCpiColorIdx));
  return FirstFailure(saved, sent);
}

}  // namespace vexlo
