#include "platform/sim/SimSystemMouseSettings.h"

namespace vexlo {

Result SimSystemMouseSettings::Get(std::uint32_t SimPointerSettings::*field, std::uint32_t& value) {
  SimPointerSettings settings;
  if (const Result r = sim_->GetPointerSettings(settings); r != Result::Ok) return r;
  value = settings.*field;
  return Result::Ok;
}

Result SimSystemMouseSettings::GetDoubleClickTime(std::uint32_t& milliseconds) {
  return Get(&SimPointerSettings::doubleClickTime, milliseconds);
}

Result SimSystemMouseSettings::SetDoubleClickTime(std::uint32_t milliseconds) {
  return sim_->SetPointerSetting(SimPointerSetting::DoubleClickTime, milliseconds);
}

Result SimSystemMouseSettings::GetPointerSpeed(std::uint32_t& speed) {
  return Get(&SimPointerSettings::pointerSpeed, speed);
}

Result SimSystemMouseSettings::SetPointerSpeed(std::uint32_t speed) {
  return sim_->SetPointerSetting(SimPointerSetting::PointerSpeed, speed);
}

Result SimSystemMouseSettings::GetWheelScrollLines(std::uint32_t& lines) {
  return Get(&SimPointerSettings::wheelScrollLines, lines);
}

Result SimSystemMouseSettings::SetWheelScrollLines(std::uint32_t lines) {
  return sim_->SetPointerSetting(SimPointerSetting::WheelScrollLines, lines);
}

}  // namespace vexlo
