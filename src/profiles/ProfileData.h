#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vexlo {

inline constexpr int kButtonCount = 7;    // 0 left, 1 right, 2 middle, 3 forward, 4 back, 5 and 6
                                          // the two sensitivity buttons
inline constexpr int kDpiLevelCount = 4;
inline constexpr std::uint32_t kProfileMarker = 20211124;  // nFlag of a complete profile file

// What the mouse is told: the seven button assignments, the sensitivity levels, the report rate
// and the lighting.
struct DeviceSettings {
  std::array<std::uint8_t, kButtonCount> pbyKeySet{};         // assignment codes
  std::array<std::uint32_t, kButtonCount> pdwKeyParameter{};  // assignment parameters
  std::array<std::string, kButtonCount> ppszKeyExt{};         // extension texts, <= 259 units
  std::array<std::uint16_t, kDpiLevelCount> pwDpi{};          // counts per inch per level
  std::uint8_t byCurDpiLevel = 0;
  std::uint8_t byReportRateIndex = 0;  // 0..3: 125, 250, 500, 1000 reports per second
  std::uint8_t byLightMode = 0;
  std::uint8_t byLightParameter = 0;   // such as the direction of an effect
  std::uint8_t byLightBrightness = 0;  // 0..4
  std::uint8_t byLightSpeed = 0;       // 0..4
  std::uint32_t crLight = 0;           // 0x00BBGGRR
  std::array<std::uint8_t, kDpiLevelCount> pbyCpiColorIdx{};  // 0..15 into the colour table
  std::uint8_t byLineCor = 0;

  bool operator==(const DeviceSettings&) const = default;
};

// What the desktop is told.
struct WindowsSettings {
  std::uint32_t uDoubleClickTime = 0;   // milliseconds
  std::uint32_t uMouseSpeed = 0;        // 1..20
  std::uint32_t uWheelScrollLines = 0;  // lines per notch; 0xFFFFFFFF is a page per notch

  bool operator==(const WindowsSettings&) const = default;
};

// The program whose coming to the foreground makes this profile current.
struct LinkSettings {
  std::uint32_t bLinkProgram = 0;
  std::string szLinkPath;  // <= 259 units

  bool operator==(const LinkSettings&) const = default;
};

// Everything one profile configures.
struct ProfileData {
  DeviceSettings device;
  WindowsSettings windows;
  LinkSettings link;

  bool operator==(const ProfileData&) const = default;
};

// The assignment code that a button has out of the box (its own function).
std::uint8_t DefaultKeyCode(int button);

// Assignment codes 38, 39 and 40 keep an extension text (program path, fire key, macro).
bool CodeUsesExtension(std::uint8_t code);

void FillDefaults(DeviceSettings& device);
void FillDefaults(WindowsSettings& windows);
void FillDefaults(LinkSettings& link);
void FillDefaults(ProfileData& profile);

// Brings every device field into its valid range, changing only what lies outside it: an
// unknown assignment code becomes the button's own function (a damaged file must not silence the
// left button), sensitivity 200..4200, level 0..3, report rate 0..3, light mode 0..5, brightness
// and speed 0..4, colour indexes 0..15, line correction 0..1, colour 24 bits.
void ClampToValidRanges(DeviceSettings& device);

// The desktop settings' valid ranges: double-click time 200..900 ms, pointer speed 1..20, wheel
// lines 1..100 or a page per notch.
std::uint16_t ClampDpi(std::uint16_t dpi);
std::uint32_t ClampDoubleClickTime(std::uint32_t milliseconds);
std::uint32_t ClampPointerSpeed(std::uint32_t speed);
std::uint32_t ClampWheelScrollLines(std::uint32_t lines);

}  // namespace vexlo
