#include "platform/linux/XTestInjectionDevice.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <linux/input-event-codes.h>

#include <array>
#include <cstdio>

#include "device/DriverInterface.h"
#include "platform/linux/HidUsageKeys.h"

namespace vexlo {
namespace {

// X numbers its keys from 8 above the Linux codes, on every server that reads evdev devices
// (Xorg with libinput or evdev, XWayland, Xvfb).
constexpr int kX11KeycodeOffset = 8;

// X's button numbers: 2 is the middle button, 8 and 9 back and forward.
unsigned X11Button(std::uint16_t linuxButton) {
  switch (linuxButton) {
    case BTN_LEFT:
      return 1;
    case BTN_MIDDLE:
      return 2;
    case BTN_RIGHT:
      return 3;
    case BTN_SIDE:
      return 8;
    case BTN_EXTRA:
      return 9;
    default:
      return 0;
  }
}

const char* SourceName(InputChange::Source source) {
  switch (source) {
    case InputChange::Source::Key:
      return "keyboard usage";
    case InputChange::Source::Consumer:
      return "consumer usage";
    case InputChange::Source::Button:
      return "mouse button";
  }
  return "";
}

}  // namespace

std::unique_ptr<XTestInjectionDevice> XTestInjectionDevice::Open() {
  X11Display display = OpenX11Display();
  if (!display) return nullptr;
  int event_base = 0;
  int error_base = 0;
  int major = 0;
  int minor = 0;
  if (!XTestQueryExtension(display.get(), &event_base, &error_base, &major, &minor)) {
    return nullptr;
  }
  return std::unique_ptr<XTestInjectionDevice>(new XTestInjectionDevice(std::move(display)));
}

XTestInjectionDevice::XTestInjectionDevice(X11Display display)
    : attributes_{kInjectionVendorId, kInjectionProductId, 0},
      capabilities_{kInjectionUsage, kInjectionUsagePage, 0,
                    static_cast<std::uint16_t>(kInjectionReportBytes), 0},
      display_(std::move(display)) {
  XDisplayKeycodes(display_.get(), &min_keycode_, &max_keycode_);
}

XTestInjectionDevice::~XTestInjectionDevice() {
  std::scoped_lock lock(mutex_);
  std::vector<InputChange> changes;
  ReleaseEverything(held_, changes);
  for (const InputChange& change : changes) (void)Send(change);
  XSync(display_.get(), False);
}

Result XTestInjectionDevice::ReadInputReport(std::span<std::uint8_t>, std::size_t& got) {
  got = 0;
  return Result::InvalidFunction;
}

Result XTestInjectionDevice::SetFeature(std::span<const std::uint8_t>) {
  return Result::InvalidFunction;
}

bool XTestInjectionDevice::Send(const InputChange& change) {
  Display* display = display_.get();
  const Bool down = change.down ? True : False;
  if (change.source == InputChange::Source::Button) {
    const unsigned button =
        X11Button(MouseButtonKey(static_cast<std::uint8_t>(change.code)));
    return button != 0 && XTestFakeButtonEvent(display, button, down, CurrentTime);
  }
  const std::uint16_t key = change.source == InputChange::Source::Key
                                ? KeyboardUsageKey(static_cast<std::uint8_t>(change.code))
                                : ConsumerUsageKey(change.code);
  const int keycode = key + kX11KeycodeOffset;
  if (key == KEY_RESERVED || keycode < min_keycode_ || keycode > max_keycode_) return false;
  return XTestFakeKeyEvent(display, static_cast<unsigned>(keycode), down, CurrentTime);
}

Result XTestInjectionDevice::WriteOutputReport(std::span<const std::uint8_t> report) {
  std::scoped_lock lock(mutex_);
  InjectionReportKind kind = InjectionReportKind::Unknown;
  std::vector<InputChange> changes;
  if (const Result r = DecodeInjectionReport(held_, report, kind, changes); r != Result::Ok) {
    return r;
  }
  for (const InputChange& change : changes) {
    if (Send(change) || !reported_.insert({change.source, change.code}).second) continue;
    std::fprintf(stderr, "vexlo: this X11 desktop cannot send %s 0x%04X\n",
                 SourceName(change.source), change.code);
  }
  // Waits until the server has the events.
  XSync(display_.get(), False);
  return Result::Ok;
}

}  // namespace vexlo
