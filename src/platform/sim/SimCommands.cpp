#include "platform/sim/SimCommands.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "common/Text.h"
#include "platform/sim/SimMouseFirmware.h"
#include "platform/sim/SimText.h"

namespace vexlo {

const std::string_view kSimCommandHelp =
    "  status                  everything the simulated machine holds\n"
    "  plug | unplug           plug the mouse in or pull it out\n"
    "  press N | release N | click N\n"
    "                          a mouse button: 0 left, 1 right, 2 middle, 3 forward, 4 back,\n"
    "                          5 and 6 the sensitivity buttons (or left, right, middle,\n"
    "                          forward, back)\n"
    "  registers               the mouse's 32 configuration registers\n"
    "  injected [clear]        the input the program injected\n"
    "  foreground [PATH | --none]\n"
    "                          the program in the foreground\n"
    "  settings [double-click MS | speed 1..20 | wheel LINES | wheel page]\n"
    "                          the desktop's pointer settings\n"
    "  fail N [ERROR]          the next N transfers fail with ERROR (default 31)\n"
    "  short N                 the next N register reads answer no byte\n"
    "  unplug-mid-transfer     the next transfer pulls the mouse out and fails\n"
    "  fail setup              the next driver setup fails (the mouse is replugged anyway)\n"
    "                          (these three take --after K: K transfers go through first)\n"
    "  faults [clear]          the faults waiting to happen\n"
    "  drivers [installed | missing | hidfiltr-missing | moufiltr-missing | silent-filter]\n"
    "                          which filter drivers can be opened; silent-filter: the HID\n"
    "                          filter ignores the wake packet until the split variant is installed\n";

namespace {

constexpr std::array<std::string_view, kSimButtonCount> kButtonNames = {
    "left", "right", "middle", "forward", "back", "sensitivity up", "sensitivity down"};
constexpr std::uint32_t kWheelPage = 0xFFFFFFFF;

bool ParseNumber(std::string_view text, std::uint32_t& value) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool ParseButton(std::string_view text, int& button) {
  for (std::size_t i = 0; i < 5; ++i) {
    if (EqualsNoCase(text, kButtonNames[i])) {
      button = static_cast<int>(i);
      return true;
    }
  }
  std::uint32_t number = 0;
  if (!ParseNumber(text, number) || number >= kSimButtonCount) return false;
  button = static_cast<int>(number);
  return true;
}

void Failure(std::string& output, std::string text) {
  output = std::move(text);
}

std::string HeldButtons(std::uint8_t pressed) {
  std::string text;
  for (int i = 0; i < kSimButtonCount; ++i) {
    if (!(pressed & (1u << i))) continue;
    if (!text.empty()) text += ", ";
    text += std::to_string(i) + " (" + std::string(kButtonNames[static_cast<std::size_t>(i)]) + ")";
  }
  return text.empty() ? "none" : text;
}

std::string DescribeInterception(const SimMouseFilter& filter) {
  if (!filter.interception) return "none";
  static constexpr std::array<std::string_view, 6> kRecords = {
      "left down", "left up", "right down", "right up", "middle down", "middle up"};
  std::string text;
  for (std::size_t i = 0; i < kRecords.size(); ++i) {
    const SimInterceptRecord& record = (*filter.interception)[i];
    if (!record.enabled) continue;
    if (!text.empty()) text += ", ";
    text += std::string(kRecords[i]) + " -> event " +
            HexNumber(static_cast<unsigned>(record.eventValue), 4);
  }
  return text.empty() ? "installed, no button intercepted" : text;
}

// The level the mouse runs at, and what each of the four levels is set to.
std::string DescribeSensitivity(const SimMouse& mouse) {
  std::string levels;
  std::string colours;
  for (int level = 0; level < kSimLevelCount; ++level) {
    const std::string separator = level == 0 ? "" : ", ";
    levels += separator + std::to_string(LevelSensitivity(mouse.registers, level));
    colours += separator + std::to_string(LevelColour(mouse.registers, level));
  }
  return "level " + std::to_string(mouse.level) + ": " +
         std::to_string(LevelSensitivity(mouse.registers, mouse.level)) + " cpi in colour " +
         std::to_string(LevelColour(mouse.registers, mouse.level)) + " (levels " + levels +
         " cpi; colours " + colours + ")";
}

std::string DescribeLighting(const SimRegisters& registers) {
  const int effect = LightEffect(registers);
  switch (effect) {
    case 0:
      return "steady in the level colour";
    case 1:
      return "breathing in the level colour";
    case 3:
      return "6-colour breathing cycle when idle";
    case 4:
      return "12-colour breathing cycle when idle";
    case 5:
      return "colour cycle when idle";
    case 7:
      return "off";
    default:
      return "unknown effect " + std::to_string(effect);
  }
}

// What buttons 3..6 do when pressed, as their registers say.
std::string DescribeRegisterButtons(const SimMouse& mouse) {
  std::string text;
  for (int button = 3; button < kSimButtonCount; ++button) {
    const std::uint8_t function = ButtonFunction(mouse, button);
    const SimButtonAction action = ButtonAction(function);
    const std::string what = action.reportCode != 0   ? "reports " + HexNumber(action.reportCode, 2)
                             : action.cycleLevel      ? "cycles the level"
                             : action.levelChange > 0 ? "level up"
                             : action.levelChange < 0 ? "level down"
                                                      : "own function " + HexNumber(function, 2);
    text += (text.empty() ? "" : ", ") + std::to_string(button) + " " + what;
  }
  return text;
}

std::string DescribeFaults(const SimFaults& faults) {
  std::string text;
  const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "; ") + part; };
  if (faults.passTransfers > 0) {
    add("after " + std::to_string(faults.passTransfers) + " transfer(s) go through");
  }
  if (faults.unplugDuringTransfer) add("the next transfer pulls the mouse out");
  if (faults.failTransfers > 0) {
    add(std::to_string(faults.failTransfers) + " transfer(s) fail with " +
        std::to_string(ToNumber(faults.failWith)));
  }
  if (faults.shortAnswers > 0) {
    add(std::to_string(faults.shortAnswers) + " read(s) answer short");
  }
  if (faults.failSetup) add("the next driver setup fails");
  return text.empty() ? "none" : text;
}

std::string DescribePointer(const SimPointerSettings& pointer) {
  const std::string wheel = pointer.wheelScrollLines == kWheelPage
                                ? "a page"
                                : std::to_string(pointer.wheelScrollLines) + " lines";
  return "double-click " + std::to_string(pointer.doubleClickTime) + " ms, pointer speed " +
         std::to_string(pointer.pointerSpeed) + ", wheel " + wheel;
}

std::string DescribeKeys(const std::vector<std::uint8_t>& keys) {
  std::string text;
  for (const std::uint8_t key : keys) text += (text.empty() ? "" : " ") + HexNumber(key, 2);
  return text.empty() ? "none" : text;
}

Result SetPointer(SimEnvironment& environment, std::span<const std::string> words,
                  std::string& output) {
  static constexpr std::array<std::pair<std::string_view, SimPointerSetting>, 3> kNames = {{
      {"double-click", SimPointerSetting::DoubleClickTime},
      {"speed", SimPointerSetting::PointerSpeed},
      {"wheel", SimPointerSetting::WheelScrollLines},
  }};
  std::uint32_t value = 0;
  const bool page = words[1] == "wheel" && EqualsNoCase(words[2], "page");
  if (!page && !ParseNumber(words[2], value)) {
    Failure(output, "not a number: " + words[2]);
    return Result::InvalidParameter;
  }
  for (const auto& [name, which] : kNames) {
    if (words[1] != name) continue;
    const Result r = environment.SetPointerSetting(which, page ? kWheelPage : value);
    if (r != Result::Ok) {
      Failure(output, "the desktop refused it (" + std::to_string(ToNumber(r)) + ")");
      return r;
    }
    SimPointerSettings pointer;
    (void)environment.GetPointerSettings(pointer);  // the environment always answers
    output = DescribePointer(pointer);
    return Result::Ok;
  }
  Failure(output, "no such setting: " + words[1]);
  return Result::InvalidParameter;
}

Result ButtonCommand(SimEnvironment& environment, std::span<const std::string> words,
                     std::string& output) {
  int button = 0;
  if (words.size() != 2 || !ParseButton(words[1], button)) {
    Failure(output, "which button? 0..6, or left, right, middle, forward, back");
    return Result::InvalidParameter;
  }
  const std::string& verb = words[0];
  const Result r = verb == "press"     ? environment.Press(button)
                   : verb == "release" ? environment.Release(button)
                                       : environment.Click(button);
  if (r == Result::DeviceNotConnected) {
    Failure(output, "the mouse is not plugged in");
    return r;
  }
  output = "buttons held: " + HeldButtons(environment.State().mouse.pressed);
  return r;
}

Result FaultCommand(SimEnvironment& environment, std::span<const std::string> allWords,
                    std::string& output) {
  SimFaults faults = environment.State().faults;
  const std::string& verb = allWords[0];
  std::uint32_t count = 0;
  std::uint32_t error = ToNumber(Result::GeneralFailure);
  std::uint32_t after = 0;
  std::span<const std::string> words = allWords;
  const bool delayed = verb != "faults" && words.size() >= 3 &&
                       words[words.size() - 2] == "--after" && ParseNumber(words.back(), after);
  if (delayed) {
    words = words.first(words.size() - 2);
    faults.passTransfers = after;
  }
  if (verb == "unplug-mid-transfer" && words.size() == 1) {
    faults.unplugDuringTransfer = true;
  } else if (verb == "faults" && words.size() == 2 && words[1] == "clear") {
    faults = {};
  } else if (verb == "faults" && words.size() == 1) {
    // only shows them
  } else if (verb == "fail" && words.size() >= 2 && words.size() <= 3 &&
             ParseNumber(words[1], count) && (words.size() == 2 || ParseNumber(words[2], error)) &&
             error != 0) {
    faults.failTransfers = count;
    faults.failWith = FromNumber(error);
  } else if (verb == "fail" && words.size() == 2 && words[1] == "setup") {
    faults.failSetup = true;
  } else if (verb == "short" && words.size() == 2 && ParseNumber(words[1], count)) {
    faults.shortAnswers = count;
  } else {
    Failure(output,
            "usage: fail N [ERROR], short N, unplug-mid-transfer (each [--after K]), "
            "fail setup, faults [clear]");
    return Result::InvalidParameter;
  }
  environment.SetFaults(faults);
  output = "faults: " + DescribeFaults(faults);
  return Result::Ok;
}

Result DriverCommand(SimEnvironment& environment, std::span<const std::string> words,
                     std::string& output) {
  SimDrivers drivers = environment.State().drivers;
  if (words.size() == 2) {
    const std::string& choice = words[1];
    if (choice == "installed") {
      drivers = {.hidFilter = true, .mouseFilter = true};
    } else if (choice == "missing") {
      drivers = {.hidFilter = false, .mouseFilter = false};
    } else if (choice == "hidfiltr-missing") {
      drivers = {.hidFilter = false, .mouseFilter = true};
    } else if (choice == "moufiltr-missing") {
      drivers = {.hidFilter = true, .mouseFilter = false};
    } else if (choice == "silent-filter") {
      drivers = {.hidFilter = true, .mouseFilter = true, .wakeNeedsSplit = true};
    } else {
      Failure(output, "usage: drivers [installed | missing | hidfiltr-missing | moufiltr-missing | silent-filter]");
      return Result::InvalidParameter;
    }
    environment.SetDrivers(drivers);
  } else if (words.size() != 1) {
    Failure(output, "usage: drivers [installed | missing | hidfiltr-missing | moufiltr-missing | silent-filter]");
    return Result::InvalidParameter;
  }
  output = std::string("hidfiltr ") + (drivers.hidFilter ? "installed" : "missing") +
           ", moufiltr " + (drivers.mouseFilter ? "installed" : "missing") +
           (drivers.splitVariant     ? ", split variant"
            : drivers.wakeNeedsSplit ? ", wake ignored until the split variant is installed"
                                     : "");
  return Result::Ok;
}

}  // namespace

std::string DescribeRegisters(const SimRegisters& registers) {
  std::string text = "     00 01 02 03 04 05 06 07";
  for (std::size_t reg = 0; reg < registers.size(); ++reg) {
    char cell[32];
    if (reg % 8 == 0) {
      std::snprintf(cell, sizeof cell, "\n%02zX:  ", reg);
      text += cell;
    }
    std::snprintf(cell, sizeof cell, "%02X%s", registers[reg], reg % 8 == 7 ? "" : " ");
    text += cell;
  }
  return text;
}

std::string DescribeSimState(const SimState& state) {
  const SimMouse& mouse = state.mouse;
  std::string text;
  const auto line = [&text](std::string_view label, const std::string& value) {
    char padded[16];
    std::snprintf(padded, sizeof padded, "%-14s", std::string(label).c_str());
    text += padded + value + "\n";
  };
  line("mouse", std::string(mouse.plugged ? "plugged in" : "unplugged") + ", model " +
                    std::to_string(mouse.model) +
                    (mouse.composite ? ", composite device" : ", plain device"));
  line("sensitivity", DescribeSensitivity(mouse));
  line("lighting", DescribeLighting(mouse.registers));
  line("buttons 3..6", DescribeRegisterButtons(mouse));
  line("buttons held", HeldButtons(mouse.pressed));
  line("session", mouse.sessionKey == 0x5A ? "open (page " + std::to_string(mouse.page) + ")"
                                           : "closed (page " + std::to_string(mouse.page) + ")");
  line("drivers", std::string("hidfiltr ") + (state.drivers.hidFilter ? "installed" : "missing") +
                      ", moufiltr " + (state.drivers.mouseFilter ? "installed" : "missing"));
  line("transfers", std::to_string(state.hidFilter.transfers));
  line("translation",
       state.hidFilter.translationTable.empty()
           ? "not installed"
           : "installed (" + std::to_string(state.hidFilter.translationTable.size()) + " bytes)");
  line("interception", DescribeInterception(state.mouseFilter));
  line("report rate",
       state.mouseFilter.reportRateFactor
           ? std::to_string(static_cast<int>(*state.mouseFilter.reportRateFactor * 1000)) +
                 " reports a second"
           : "not set");
  line("injection", std::string(state.injection.present ? "present" : "absent") + ", " +
                        std::to_string(state.injection.reports) +
                        " reports, keys held: " + DescribeKeys(state.injection.held.keys) +
                        ", consumer held: " + HexNumber(state.injection.held.consumer, 4) +
                        ", buttons held: " + HexNumber(state.injection.held.buttons, 2));
  line("faults", DescribeFaults(state.faults));
  line("desktop", DescribePointer(state.desktop.pointer));
  line("foreground", state.desktop.foreground.value_or("none"));
  line("open", "hidfiltr " + std::to_string(state.open.hidFilter) + ", moufiltr " +
                   std::to_string(state.open.mouseFilter) + ", collections " +
                   std::to_string(state.open.hidCollections));
  return text;
}

Result RunSimCommand(SimEnvironment& environment, std::span<const std::string> words,
                     std::string& output) {
  output.clear();
  if (words.empty()) {
    Failure(output, "no command");
    return Result::InvalidParameter;
  }
  const std::string& verb = words[0];
  const std::size_t count = words.size();
  if (verb == "status" && count == 1) {
    output = DescribeSimState(environment.State());
    return Result::Ok;
  }
  if ((verb == "plug" || verb == "unplug") && count == 1) {
    (void)(verb == "plug" ? environment.Plug() : environment.Unplug());  // always Ok
    output = environment.State().mouse.plugged ? "mouse plugged in" : "mouse unplugged";
    return Result::Ok;
  }
  if (verb == "press" || verb == "release" || verb == "click") {
    return ButtonCommand(environment, words, output);
  }
  if (verb == "registers" && count == 1) {
    output = DescribeRegisters(environment.State().mouse.registers);
    return Result::Ok;
  }
  if (verb == "injected" && count == 1) {
    for (const std::string& line : environment.State().injection.log) output += line + "\n";
    return Result::Ok;
  }
  if (verb == "injected" && count == 2 && words[1] == "clear") {
    environment.ClearInjected();
    output = "injected input cleared";
    return Result::Ok;
  }
  if (verb == "foreground" && count <= 2) {
    if (count == 2) {
      environment.SetForeground(words[1] == "--none" ? std::nullopt
                                                     : std::optional<std::string>(words[1]));
    }
    output = "foreground: " + environment.ForegroundPath().value_or("none");
    return Result::Ok;
  }
  if (verb == "settings" && count == 1) {
    output = DescribePointer(environment.State().desktop.pointer);
    return Result::Ok;
  }
  if (verb == "settings" && count == 3) return SetPointer(environment, words, output);
  if (verb == "fail" || verb == "short" || verb == "unplug-mid-transfer" || verb == "faults") {
    return FaultCommand(environment, words, output);
  }
  if (verb == "drivers") return DriverCommand(environment, words, output);
  if (verb == "help") {
    output = std::string(kSimCommandHelp);
    return Result::Ok;
  }
  Failure(output, "unknown command: " + verb + "\n" + std::string(kSimCommandHelp));
  return Result::InvalidParameter;
}

}  // namespace vexlo
