#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Result.h"
#include "platform/linux/InjectionReportDecoder.h"

// The simulated environment as plain data: the mouse, its two filter drivers, the injection
// device, the desktop's pointer settings and foreground program, and the faults waiting to
// happen. A test describes a starting point in a line, for example
//   SimState{.mouse = {.plugged = false}, .faults = {.failTransfers = 2}}
// and reads everything back from SimEnvironment::State().
namespace vexlo {

inline constexpr std::size_t kSimRegisterCount = 32;
inline constexpr int kSimButtonCount = 7;  // 0 left, 1 right, 2 middle, 3 forward, 4 back, 5, 6
inline constexpr int kSimLevelCount = 4;   // sensitivity levels 0..3
using SimRegisters = std::array<std::uint8_t, kSimRegisterCount>;

// The configuration registers of a factory-new mouse of model 1 or 2 (any other: 2).
SimRegisters PowerOnRegisters(int model);

struct SimMouse {
  bool plugged = true;
  int model = 2;          // decides the identification registers and how the buttons are wired
  bool composite = true;  // its collections are interfaces of a composite USB device ("MI_")
  SimRegisters registers = PowerOnRegisters(2);  // kept while unplugged: the mouse remembers them
  std::uint8_t page = 1;        // register 0x7F: 0 session page, 1 configuration registers
  std::uint8_t sessionKey = 0;  // session register 0x09; 0x5A opens the configuration registers
  bool awake = false;           // a wake request came and no release after it
  std::uint8_t pressed = 0;     // bit n: button n is held down
  std::uint8_t reported = 0;    // bit n: button n's press went to the host as a report
  int level = 0;                // sensitivity level 0..3 that the mouse's own buttons choose

  // A factory-new mouse of the model.
  static SimMouse FactoryNew(int model);
};

// Which filter drivers are installed (can be opened).
struct SimDrivers {
  bool hidFilter = true;
  bool mouseFilter = true;
  // The installed HID filter ignores the wake packet (fails it) until its split variant is
  // installed: the plain variant does not serve a split mouse.
  bool wakeNeedsSplit = false;
  bool splitVariant = false;  // the split variant is installed
};

// One record of the mouse filter's button interception table.
struct SimInterceptRecord {
  bool enabled = false;
  std::uint8_t action = 0;       // 2: signal the event instead of passing the click on
  std::uint16_t buttonFlag = 0;  // the mouse-class button flag the record is for
  std::int64_t eventValue = 0;   // the event to signal, as the program named it

  bool operator==(const SimInterceptRecord&) const = default;
};

struct SimMouseFilter {
  // Left down, left up, right down, right up, middle down, middle up; none until the program sends
  // a table, and dropped when the endpoint that sent it closes.
  std::optional<std::array<SimInterceptRecord, 6>> interception;
  std::optional<double> reportRateFactor;  // 0.125, 0.25, 0.5 or 1.0 of 1000 reports a second
};

struct SimHidFilter {
  std::vector<std::uint8_t> translationTable;  // as last sent; empty until then
  std::uint64_t transfers = 0;                 // vendor transfers that reached the driver
};

// The injection device and what the program made it type and click.
struct SimInjection {
  bool present = true;
  InjectedInput held;            // what the reports hold down
  std::uint64_t reports = 0;     // output reports taken
  std::vector<std::string> log;  // "key down A", "consumer down Mute (0x00E2)", "button up Left"
};

// Faults that the next vendor transfers meet, in this order of precedence, once passTransfers
// transfers have gone through untouched.
struct SimFaults {
  std::uint32_t passTransfers = 0;
  bool unplugDuringTransfer = false;  // the next transfer unplugs the mouse and fails
  std::uint32_t failTransfers = 0;    // so many transfers fail with failWith
  Result failWith = Result::GeneralFailure;
  std::uint32_t shortAnswers = 0;  // so many reads answer no byte
  bool failSetup = false;          // the next driver setup fails, after disabling the mouse

  bool operator==(const SimFaults&) const = default;
};

// The desktop's pointer settings and the program in the foreground.
struct SimPointerSettings {
  std::uint32_t doubleClickTime = 500;  // milliseconds
  std::uint32_t pointerSpeed = 10;      // 1..20
  std::uint32_t wheelScrollLines = 3;   // or 0xFFFFFFFF: a screen per notch

  bool operator==(const SimPointerSettings&) const = default;
};

struct SimDesktop {
  SimPointerSettings pointer;
  std::optional<std::string> foreground;  // program file of the foreground window; none
};

// How many endpoints the program holds open (filled by SimEnvironment::State, ignored as input).
struct SimOpenEndpoints {
  int hidFilter = 0;
  int mouseFilter = 0;
  int hidCollections = 0;
};

struct SimState {
  SimMouse mouse;
  SimDrivers drivers;
  SimHidFilter hidFilter;
  SimMouseFilter mouseFilter;
  SimInjection injection;
  SimFaults faults;
  SimDesktop desktop;
  SimOpenEndpoints open;
};

}  // namespace vexlo
