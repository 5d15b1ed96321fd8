#include "profiles/ProfileData.h"

#include <algorithm>

namespace vexlo {
namespace {

constexpr std::uint8_t kCodeCount = 44;
constexpr std::array<std::uint8_t, kButtonCount> kDefaultCodes = {0, 1, 2, 3, 4, 41, 42};

template <typename T>
void Clamp(T& value, T low, T high) {
  value = std::clamp(value, low, high);
}

}  // namespace

std::uint8_t DefaultKeyCode(int button) {
  return kDefaultCodes.at(static_cast<std::size_t>(button));
}

bool CodeUsesExtension(std::uint8_t code) { return code >= 38 && code <= 40; }

void FillDefaults(DeviceSettings& device) {
  device = DeviceSettings{};
  device.pbyKeySet = kDefaultCodes;
  device.pwDpi = {800, 1000, 1600, 3200};
  device.byCurDpiLevel = 1;
  device.byReportRateIndex = 3;
  device.byLightMode = 1;
  device.byLightParameter = 0;
  device.byLightBrightness = 4;
  device.byLightSpeed = 2;
  device.crLight = 0x0000FF00;
  device.pbyCpiColorIdx = {0, 8, 4, 2};
  device.byLineCor = 0;
}

void FillDefaults(WindowsSettings& windows) {
  windows.uDoubleClickTime = 550;
  windows.uMouseSpeed = 10;
  windows.uWheelScrollLines = 3;
}

void FillDefaults(LinkSettings& link) {
  link.bLinkProgram = 0;
  link.szLinkPath.clear();
}

void FillDefaults(ProfileData& profile) {
  FillDefaults(profile.device);
  FillDefaults(profile.windows);
  FillDefaults(profile.link);
}

void ClampToValidRanges(DeviceSettings& device) {
  for (int button = 0; button < kButtonCount; ++button) {
    auto& code = device.pbyKeySet[static_cast<std::size_t>(button)];
    if (code >= kCodeCount) {
      code = DefaultKeyCode(button);
      device.pdwKeyParameter[static_cast<std::size_t>(button)] = 0;
      device.ppszKeyExt[static_cast<std::size_t>(button)].clear();
    }
  }
  for (auto& dpi : device.pwDpi) dpi = ClampDpi(dpi);
  Clamp<std::uint8_t>(device.byCurDpiLevel, 0, kDpiLevelCount - 1);
  Clamp<std::uint8_t>(device.byReportRateIndex, 0, 3);
  Clamp<std::uint8_t>(device.byLightMode, 0, 5);
  Clamp<std::uint8_t>(device.byLightBrightness, 0, 4);
  Clamp<std::uint8_t>(device.byLightSpeed, 0, 4);
  for (auto& index : device.pbyCpiColorIdx) Clamp<std::uint8_t>(index, 0, 15);
  Clamp<std::uint8_t>(device.byLineCor, 0, 1);
  device.crLight &= 0x00FFFFFF;
}

std::uint16_t ClampDpi(std::uint16_t dpi) { return std::clamp<std::uint16_t>(dpi, 200, 4200); }

std::uint32_t ClampDoubleClickTime(std::uint32_t milliseconds) {
  return std::clamp<std::uint32_t>(milliseconds, 200, 900);
}

std::uint32_t ClampPointerSpeed(std::uint32_t speed) {
  return std::clamp<std::uint32_t>(speed, 1, 20);
}

std::uint32_t ClampWheelScrollLines(std::uint32_t lines) {
  return lines == 0xFFFFFFFF ? lines : std::clamp<std::uint32_t>(lines, 1, 100);
}

}  // namespace vexlo
