#pragma once

#include <array>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "profiles/MacroData.h"

namespace vexlo {

class LanguageTable;
class UserMessages;

// The user's macros: 16 slots, each backed by its slot file "Macro%03d.ini" in the macro folder,
// the sorted names of the used slots, and the current macro that the editor shows. Buttons refer
// to a macro by its slot, so a macro keeps its slot for its whole life.
//
// Every change is written to the slot file before it is taken into memory, so a failed write
// returns its result and changes nothing. No two used slots have names that are equal without
// regard to case; the current index is -1 or a used slot.
//
// User-interface thread, except Names(), which any thread may call.
class MacroStore {
 public:
  // Creates the data folder and its "Macro" folder when missing, reads every slot and makes the
  // lowest used slot current. `dataFolder` ends with a separator; when it is empty (the platform
  // has no data folder) every slot is free and nothing can be written. The texts (name prefixes)
  // and the messages (the name-conflict question) are used later, by the operations.
  MacroStore(const std::string& dataFolder, const LanguageTable& language, UserMessages& messages);

  // Makes a used slot current. -1 clears the current index and gives BadData (the current name
  // stays); below -1 or above 15 gives IndexOutOfRange and a free slot NothingToActOn, both
  // changing nothing.
  [[nodiscard]] Result Select(int index);

  // The lowest used slot whose name equals `name` without regard to case, or -1.
  int FindByName(std::string_view name) const;
  bool NameExists(std::string_view name) const { return FindByName(name) >= 0; }

  // A new empty macro named "<INFO_MACRO_PREFIX>001" (the first free of 16 counters) in the lowest
  // free slot, made current. A free slot whose file name something else has taken (a folder, a
  // file the program may not read: CanHoldSlotFile) is passed over, here and in CopyMacro and
  // ImportMacro. Full when 16 macros exist or no free slot is left.
  [[nodiscard]] Result AddMacro();
  // A copy of the current macro named "<name without copy suffix><INFO_MACRO_CLONE>1" (the first
  // free counter), in the lowest free slot, made current. Full when 16 macros exist,
  // NothingToActOn when there is no current macro.
  [[nodiscard]] Result CopyMacro();
  // Deletes the current macro and its file. With `selectNext`, the macro after it in the name
  // list becomes current (the one before when it was the last); otherwise, or when none is left,
  // there is no current macro. NothingToActOn when there is none.
  [[nodiscard]] Result DeleteMacro(bool selectNext);
  // Gives the current macro a name the user typed (trimmed, cut to 31 units). When another macro
  // has that name the user is asked first: on yes that macro takes over the current one's steps
  // and becomes current, and the current one's slot is freed; on no the result is NameConflict
  // and nothing changes. InvalidName for an empty name or one with \ / : * ? " < > |;
  // NothingToActOn when there is no current macro.
  [[nodiscard]] Result RenameMacro(std::string_view newName);
  // Imports an exchange file as the macro named after the file (trimmed, cut to 31 units), made
  // current: a macro of that name is replaced without a question, otherwise the lowest free slot
  // is used. The reader's result when the file is refused (ChecksumFailed, TooShort, BadData);
  // InvalidName when the file's name is no valid name; Full when 16 macros exist.
  [[nodiscard]] Result ImportMacro(const std::filesystem::path& file);
  // Writes the current macro to an exchange file. NothingToActOn when there is no current macro.
  [[nodiscard]] Result ExportCurrent(const std::filesystem::path& file) const;
  // Writes the current macro's slot file. NothingCurrent when there is no current macro.
  [[nodiscard]] Result SaveCurrent() const;

  // Steps of the current macro, counted from 0; every change is written at once. NothingToActOn
  // when there is no current macro; for the moves, DeleteStep and ReplaceStep also when it has no
  // steps, and IndexOutOfRange when `step` is not below the step count. A move that moves nothing
  // (the first step up, the last one down) gives Ok and writes nothing.
  [[nodiscard]] Result AppendStep(const MacroAction& step);  // Full at 60 steps
  // Appends the steps with one write of the file, all of them or, with Full, none.
  [[nodiscard]] Result AppendSteps(std::span<const MacroAction> steps);
  [[nodiscard]] Result MoveStepToTop(int step);
  [[nodiscard]] Result MoveStepUp(int step);
  [[nodiscard]] Result MoveStepDown(int step);
  [[nodiscard]] Result MoveStepToBottom(int step);
  [[nodiscard]] Result DeleteStep(int step);
  [[nodiscard]] Result ReplaceStep(int step, const MacroAction& action);
  [[nodiscard]] Result ClearSteps();

  int CurrentIndex() const { return current_index_; }
  const std::string& CurrentName() const { return current_name_; }
  const MacroData& Slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
  // A copy of the slot taken under the lock: the one read any thread may make (the button
  // dispatch thread starting a macro).
  MacroData CopySlot(int index) const;
  const std::string& SlotPath(int index) const {
    return slot_paths_.at(static_cast<std::size_t>(index));
  }
  const std::string& Folder() const { return folder_; }

  // The names of the used slots, sorted by UTF-16 code units; a copy taken under the lock.
  std::vector<std::string> Names() const;

 private:
  int UsedCount() const;
  int LowestFreeSlot() const;
  int SlotAfterDeleting(int slot) const;  // the neighbour in list order, or -1
  void MakeCurrent(int slot);
  // Writes the slot file and then takes the record; nothing changes when the write fails.
  [[nodiscard]] Result StoreSlot(int slot, MacroData record);
  // Deletes the slot file and then frees the slot; nothing changes when the file stays.
  [[nodiscard]] Result FreeSlot(int slot);
  // Changes a copy of the current macro's steps and stores it.
  template <typename Change>
  [[nodiscard]] Result ChangeCurrentSteps(Change change);
  // NothingToActOn without a current macro or steps, IndexOutOfRange for a step not in it.
  [[nodiscard]] Result CheckStep(int step) const;
  [[nodiscard]] Result MoveStep(int step, int target);  // `target` is brought into the steps
  void RebuildNames();                                  // takes the lock

  std::string folder_;
  const LanguageTable& language_;
  UserMessages& messages_;
  std::array<std::string, kMacroSlotCount> slot_paths_;
  // Written by the user-interface thread under slots_mutex_, which CopySlot takes too.
  std::array<MacroData, kMacroSlotCount> slots_;
  mutable std::mutex slots_mutex_;
  int current_index_ = -1;
  std::string current_name_;
  mutable std::mutex names_mutex_;  // guards names_
  std::vector<std::string> names_;
};

}  // namespace vexlo
