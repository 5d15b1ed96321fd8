#pragma once

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "common/Result.h"
#include "profiles/MacroData.h"

namespace vexlo {

// The user's macros: 16 slots, each backed by its slot file "Macro%03d.ini" in the macro folder,
// the sorted names of the used slots, and the current macro that the editor shows.
class MacroStore {
 public:
  // Creates the data folder and its "Macro" folder when missing, reads every slot and makes the
  // lowest used slot current. `dataFolder` ends with a separator.
  explicit MacroStore(const std::string& dataFolder);

  // Makes a slot current. -1 clears the current index and gives BadData (the current name
  // stays); anything below -1 or above 15 gives IndexOutOfRange and changes nothing.
  [[nodiscard]] Result Select(int index);

  int CurrentIndex() const { return current_index_; }
  const std::string& CurrentName() const { return current_name_; }
  const MacroData& Slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
  const std::string& SlotPath(int index) const {
    return slot_paths_.at(static_cast<std::size_t>(index));
  }
  const std::string& Folder() const { return folder_; }

  // The names of the used slots, sorted by UTF-16 code units; a copy taken under the lock.
  std::vector<std::string> Names() const;

 private:
  std::string folder_;
  std::array<std::string, kMacroSlotCount> slot_paths_;
  mutable std::mutex names_mutex_;  // guards names_
  std::vector<std::string> names_;
  int current_index_ = -1;
  std::string current_name_;
  std::array<MacroData, kMacroSlotCount> slots_;
};

}  // namespace vexlo
