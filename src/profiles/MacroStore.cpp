#include "profiles/MacroStore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/Text.h"
#include "profiles/MacroFile.h"

namespace vexlo {

MacroStore::MacroStore(const std::string& dataFolder)
    : folder_(dataFolder + "Macro" + std::filesystem::path::preferred_separator) {
  std::error_code error;
  std::filesystem::create_directories(folder_, error);  // a failure shows as free slots
  for (int i = 0; i < kMacroSlotCount; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Macro%03d.ini", i);
    const auto slot = static_cast<std::size_t>(i);
    slot_paths_[slot] = folder_ + name;
    (void)ReadMacroFile(slot_paths_[slot], slots_[slot]);  // a short step list loads what is there
  }
  std::scoped_lock lock(names_mutex_);
  for (const MacroData& macro : slots_) {
    if (macro.IsUsed()) names_.push_back(macro.szName);
  }
  std::sort(names_.begin(), names_.end(), LessByUtf16Units);
  const auto first = std::find_if(slots_.begin(), slots_.end(),
                                  [](const MacroData& m) { return m.IsUsed(); });
  if (first != slots_.end()) {
    current_index_ = static_cast<int>(first - slots_.begin());
    current_name_ = first->szName;
  }
}

Result MacroStore::Select(int index) {
  if (index < -1 || index >= kMacroSlotCount) return Result::IndexOutOfRange;
  current_index_ = index;
  if (index == -1) return Result::BadData;
  current_name_ = slots_[static_cast<std::size_t>(index)].szName;
  return Result::Ok;
}

std::vector<std::string> MacroStore::Names() const {
  std::scoped_lock lock(names_mutex_);
  return names_;
}

}  // namespace vexlo
