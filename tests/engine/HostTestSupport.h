#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Inbox.h"
#include "platform/sim/SimEnvironment.h"
#include "profiles/MacroData.h"

namespace vexlo::test {

// Every line of input injected into the simulated machine from now on, as it arrives.
class InjectedLines {
 public:
  explicit InjectedLines(SimEnvironment& sim)
      : sim_(sim), observer_(sim.AddInjectionObserver([this](std::string_view line) {
          lines_.Add(std::string(line));
        })) {}
  ~InjectedLines() { sim_.RemoveInjectionObserver(observer_); }
  InjectedLines(const InjectedLines&) = delete;
  InjectedLines& operator=(const InjectedLines&) = delete;

  // The lines once there are `count`; what there is after 10 s.
  std::vector<std::string> WaitFor(std::size_t count) { return lines_.WaitFor(count); }
  std::vector<std::string> All() { return lines_.Items(); }

 private:
  SimEnvironment& sim_;
  Inbox<std::string> lines_;
  std::uint64_t observer_;
};

// Macro steps, as the recorder writes them.
inline MacroAction Press(std::uint8_t kind, std::uint16_t data) {
  return {static_cast<std::uint8_t>(kind | kMacroPress), static_cast<std::uint8_t>(data & 0xFF),
          static_cast<std::uint8_t>(data >> 8)};
}
inline MacroAction Release(std::uint8_t kind, std::uint16_t data) {
  return {kind, static_cast<std::uint8_t>(data & 0xFF), static_cast<std::uint8_t>(data >> 8)};
}
inline MacroData Macro(std::initializer_list<MacroAction> steps) {
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  macro.szName = "Test";
  for (const MacroAction& step : steps) macro.steps.at(macro.byCount++) = step;
  return macro;
}

// `a` followed by `b`.
inline std::vector<std::string> operator+(std::vector<std::string> a,
                                          const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// `lines` `times` times over.
inline std::vector<std::string> Repeat(const std::vector<std::string>& lines, int times) {
  std::vector<std::string> all;
  for (int i = 0; i < times; ++i) all = all + lines;
  return all;
}

}  // namespace vexlo::test
