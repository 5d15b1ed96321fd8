#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The output reports of the injection device: 30 bytes, report ID 0x06, then the kind of input
// (mouse buttons, keyboard, consumer control) and its data; every byte not named is 0.
namespace vexlo {

inline constexpr std::size_t kInjectionReportLength = 30;
inline constexpr std::size_t kInjectionKeySlots = 28;  // keys a keyboard report can hold down
using InjectionReportBytes = std::array<std::uint8_t, kInjectionReportLength>;

inline constexpr std::uint8_t kInjectionReportId = 0x06;

// Mouse-button bits of the injection device.
inline constexpr std::uint8_t kMouseButtonLeft = 0x01;
inline constexpr std::uint8_t kMouseButtonRight = 0x02;
inline constexpr std::uint8_t kMouseButtonMiddle = 0x04;
inline constexpr std::uint8_t kMouseButtonBack = 0x08;
inline constexpr std::uint8_t kMouseButtonForward = 0x10;
inline constexpr std::uint8_t kAllMouseButtons = 0x1F;

enum class InjectionKind : std::uint8_t {
  MouseButtons = 0x03,
  Keyboard = 0x04,
  Consumer = 0x05,
};

// Mouse buttons: the button bits held down.
struct MouseButtonsReport {
  std::uint8_t reportId = kInjectionReportId;
  InjectionKind kind = InjectionKind::MouseButtons;
  std::uint8_t buttons = 0;
  std::array<std::uint8_t, 27> unused{};
};
static_assert(sizeof(MouseButtonsReport) == kInjectionReportLength);
static_assert(offsetof(MouseButtonsReport, kind) == 1);
static_assert(offsetof(MouseButtonsReport, buttons) == 2);

// Keyboard: the usages of the keys held down, in the order they went down, then zeros.
struct KeyboardReport {
  std::uint8_t reportId = kInjectionReportId;
  InjectionKind kind = InjectionKind::Keyboard;
  std::array<std::uint8_t, kInjectionKeySlots> keys{};
};
static_assert(sizeof(KeyboardReport) == kInjectionReportLength);
static_assert(offsetof(KeyboardReport, keys) == 2);

// Consumer control: the usage held down, little-endian; 0 when released.
struct ConsumerReport {
  std::uint8_t reportId = kInjectionReportId;
  InjectionKind kind = InjectionKind::Consumer;
  std::uint8_t usageLow = 0;
  std::uint8_t usageHigh = 0;
  std::array<std::uint8_t, 26> unused{};
};
static_assert(sizeof(ConsumerReport) == kInjectionReportLength);
static_assert(offsetof(ConsumerReport, usageLow) == 2);
static_assert(offsetof(ConsumerReport, usageHigh) == 3);

// The reports as the bytes the device takes.
InjectionReportBytes EncodeMouseButtons(std::uint8_t buttons);
InjectionReportBytes EncodeKeyboard(std::span<const std::uint8_t> keys);  // at most 28 are sent
InjectionReportBytes EncodeConsumer(std::uint16_t usage);

}  // namespace vexlo
