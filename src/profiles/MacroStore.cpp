#include "profiles/MacroStore.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "common/LanguageTable.h"
#include "common/Text.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroFile.h"
#include "profiles/NameRules.h"

namespace vexlo {
namespace {

// Room for the three digits of the widest counter in a 31-unit name.
constexpr std::size_t kNameStemUnits = kMaxMacroNameUnits - 3;

}  // namespace

MacroStore::MacroStore(const std::string& dataFolder, const LanguageTable& language,
                       UserMessages& messages)
    : folder_(PrepareDataSubfolder(dataFolder, kMacroFolderName)),
      language_(language),
      messages_(messages) {
  if (folder_.empty()) return;  // every slot free, and none can be written
  for (int i = 0; i < kMacroSlotCount; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Macro%03d.ini", i);
    const auto slot = static_cast<std::size_t>(i);
    slot_paths_[slot] = folder_ + name;
    // A damaged file loads the steps that could be read; a missing one is a free slot.
    (void)ReadMacroFile(slot_paths_[slot], slots_[slot]);
  }
  RebuildNames();
  const auto first =
      std::find_if(slots_.begin(), slots_.end(), [](const MacroData& m) { return m.IsUsed(); });
  if (first != slots_.end()) MakeCurrent(static_cast<int>(first - slots_.begin()));
}

Result MacroStore::Select(int index) {
  if (index < -1 || index >= kMacroSlotCount) return Result::IndexOutOfRange;
  if (index == -1) {
    current_index_ = -1;
    return Result::BadData;
  }
  if (!Slot(index).IsUsed()) return Result::NothingToActOn;
  MakeCurrent(index);
  return Result::Ok;
}

int MacroStore::FindByName(std::string_view name) const {
  for (int i = 0; i < kMacroSlotCount; ++i) {
    if (Slot(i).IsUsed() && EqualsNoCase(Slot(i).szName, name)) return i;
  }
  return -1;
}

Result MacroStore::AddMacro() {
  if (UsedCount() >= kMacroSlotCount) return Result::Full;
  const NamePattern pattern =
      NamePattern::ForNew(language_.LookupText("INFO_MACRO_PREFIX"), kNameStemUnits);
  // At most 15 macros exist, so one of 16 candidates is free.
  const auto name = pattern.FirstFree(
      kMacroSlotCount, [this](const std::string& candidate) { return NameExists(candidate); });
  if (!name) return Result::Full;
  MacroData record;
  record.byFlag = kMacroSlotUsed;
  record.szName = *name;
  const int slot = LowestFreeSlot();
  if (slot < 0) return Result::Full;
  if (const Result r = StoreSlot(slot, std::move(record)); r != Result::Ok) return r;
  MakeCurrent(slot);
  return Result::Ok;
}

Result MacroStore::CopyMacro() {
  if (UsedCount() >= kMacroSlotCount) return Result::Full;
  if (current_index_ < 0) return Result::NothingToActOn;
  const NamePattern pattern =
      NamePattern::ForCopy(current_name_, language_.LookupText("INFO_MACRO_CLONE"), kNameStemUnits);
  const auto name = pattern.FirstFree(
      kMacroSlotCount, [this](const std::string& candidate) { return NameExists(candidate); });
  if (!name) return Result::Full;
  MacroData record = Slot(current_index_);
  record.szName = *name;
  const int slot = LowestFreeSlot();
  if (slot < 0) return Result::Full;
  if (const Result r = StoreSlot(slot, std::move(record)); r != Result::Ok) return r;
  MakeCurrent(slot);
  return Result::Ok;
}

Result MacroStore::DeleteMacro(bool selectNext) {
  if (current_index_ < 0) return Result::NothingToActOn;
  const int next = selectNext ? SlotAfterDeleting(current_index_) : -1;
  if (const Result r = FreeSlot(current_index_); r != Result::Ok) return r;
  current_index_ = -1;
  current_name_.clear();
  if (next >= 0) MakeCurrent(next);
  return Result::Ok;
}

Result MacroStore::RenameMacro(std::string_view newName) {
  if (current_index_ < 0) return Result::NothingToActOn;
  std::string cleaned;
  if (const Result r = CleanUserName(newName, cleaned); r != Result::Ok) return r;
  const std::string name = CutName(cleaned, kMaxMacroNameUnits);
  const int renamed = current_index_;
  int other = -1;
  for (int i = 0; i < kMacroSlotCount && other < 0; ++i) {
    if (i != renamed && Slot(i).IsUsed() && EqualsNoCase(Slot(i).szName, name)) other = i;
  }
  if (other < 0) {
    MacroData record = Slot(renamed);
    if (record.szName == name) return Result::Ok;
    record.szName = name;
    return StoreSlot(renamed, std::move(record));
  }
  if (const Result r = ConfirmNameConflict(messages_); r != Result::Ok) return r;
  // The user agreed to overwrite the other macro: it takes this one's steps and keeps its slot
  // and spelling, and this one's slot is freed.
  MacroData record = Slot(renamed);
  record.szName = Slot(other).szName;
  if (const Result r = StoreSlot(other, std::move(record)); r != Result::Ok) return r;
  MakeCurrent(other);
  // Should the old file stay, the old macro stays too, beside the overwritten one.
  return FreeSlot(renamed);
}

Result MacroStore::ImportMacro(const std::filesystem::path& file) {
  MacroData record;
  if (const Result r = ReadMacroExchange(file, record); r != Result::Ok) return r;
  std::string cleaned;
  if (const Result r = CleanUserName(NameFromPath(file.string()), cleaned); r != Result::Ok) {
    return r;
  }
  record.szName = CutName(cleaned, kMaxMacroNameUnits);
  int slot = FindByName(record.szName);
  if (slot < 0) slot = LowestFreeSlot();
  if (slot < 0) return Result::Full;
  if (const Result r = StoreSlot(slot, std::move(record)); r != Result::Ok) return r;
  MakeCurrent(slot);
  return Result::Ok;
}

Result MacroStore::ExportCurrent(const std::filesystem::path& file) const {
  if (current_index_ < 0) return Result::NothingToActOn;
  return ExportMacro(file, Slot(current_index_));
}

Result MacroStore::SaveCurrent() const {
  if (current_index_ < 0) return Result::NothingCurrent;
  return WriteMacroFile(SlotPath(current_index_), Slot(current_index_));
}

template <typename Change>
Result MacroStore::ChangeCurrentSteps(Change change) {
  if (current_index_ < 0) return Result::NothingToActOn;
  MacroData record = Slot(current_index_);
  change(record);
  return StoreSlot(current_index_, std::move(record));
}

Result MacroStore::AppendStep(const MacroAction& step) {
  return AppendSteps({&step, 1});
}

Result MacroStore::AppendSteps(std::span<const MacroAction> steps) {
  if (current_index_ < 0) return Result::NothingToActOn;
  if (Slot(current_index_).byCount + steps.size() > std::size_t{kMaxMacroSteps}) {
    return Result::Full;
  }
  return ChangeCurrentSteps([steps](MacroData& record) {
    for (const MacroAction& step : steps) record.steps[record.byCount++] = step;
  });
}

Result MacroStore::CheckStep(int step) const {
  if (current_index_ < 0 || Slot(current_index_).byCount == 0) return Result::NothingToActOn;
  if (step < 0 || step >= Slot(current_index_).byCount) return Result::IndexOutOfRange;
  return Result::Ok;
}

Result MacroStore::MoveStep(int step, int target) {
  if (const Result r = CheckStep(step); r != Result::Ok) return r;
  target = std::clamp(target, 0, Slot(current_index_).byCount - 1);
  if (target == step) return Result::Ok;
  return ChangeCurrentSteps([step, target](MacroData& record) {
    const auto begin = record.steps.begin();
    if (target < step) {
      std::rotate(begin + target, begin + step, begin + step + 1);
    } else {
      std::rotate(begin + step, begin + step + 1, begin + target + 1);
    }
  });
}

Result MacroStore::MoveStepToTop(int step) {
  return MoveStep(step, 0);
}
Result MacroStore::MoveStepUp(int step) {
  return MoveStep(step, step - 1);
}
Result MacroStore::MoveStepDown(int step) {
  return MoveStep(step, step + 1);
}
Result MacroStore::MoveStepToBottom(int step) {
  return MoveStep(step, kMaxMacroSteps);
}

Result MacroStore::DeleteStep(int step) {
  if (const Result r = CheckStep(step); r != Result::Ok) return r;
  return ChangeCurrentSteps([step](MacroData& record) {
    const auto begin = record.steps.begin();
    std::rotate(begin + step, begin + step + 1, begin + record.byCount);
    --record.byCount;
  });
}

Result MacroStore::ReplaceStep(int step, const MacroAction& action) {
  if (const Result r = CheckStep(step); r != Result::Ok) return r;
  return ChangeCurrentSteps([step, &action](MacroData& record) {
    record.steps[static_cast<std::size_t>(step)] = action;
  });
}

Result MacroStore::ClearSteps() {
  return ChangeCurrentSteps([](MacroData& record) { record.byCount = 0; });
}

std::vector<std::string> MacroStore::Names() const {
  std::scoped_lock lock(names_mutex_);
  return names_;
}

int MacroStore::UsedCount() const {
  return static_cast<int>(
      std::count_if(slots_.begin(), slots_.end(), [](const MacroData& m) { return m.IsUsed(); }));
}

int MacroStore::LowestFreeSlot() const {
  for (int i = 0; i < kMacroSlotCount; ++i) {
    if (!Slot(i).IsUsed() && CanHoldSlotFile(SlotPath(i))) return i;
  }
  return -1;
}

int MacroStore::SlotAfterDeleting(int slot) const {
  std::vector<int> order;
  for (int i = 0; i < kMacroSlotCount; ++i) {
    if (Slot(i).IsUsed()) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return LessByUtf16Units(Slot(a).szName, Slot(b).szName);
  });
  const auto at = std::find(order.begin(), order.end(), slot);
  if (at == order.end()) return order.empty() ? -1 : order.front();
  if (at + 1 != order.end()) return *(at + 1);
  return at == order.begin() ? -1 : *(at - 1);
}

MacroData MacroStore::CopySlot(int index) const {
  std::scoped_lock lock(slots_mutex_);
  return slots_.at(static_cast<std::size_t>(index));
}

void MacroStore::MakeCurrent(int slot) {
  current_index_ = slot;
  current_name_ = Slot(slot).szName;
}

Result MacroStore::StoreSlot(int slot, MacroData record) {
  if (SlotPath(slot).empty()) return Result::PathNotFound;
  if (const Result r = WriteMacroFile(SlotPath(slot), record); r != Result::Ok) return r;
  {
    std::scoped_lock lock(slots_mutex_);
    slots_[static_cast<std::size_t>(slot)] = std::move(record);
  }
  if (slot == current_index_) current_name_ = Slot(slot).szName;
  RebuildNames();
  return Result::Ok;
}

Result MacroStore::FreeSlot(int slot) {
  std::error_code error;
  std::filesystem::remove(SlotPath(slot), error);  // a file that is already gone is no error
  if (error) return ResultFromErrno(error.value());
  {
    std::scoped_lock lock(slots_mutex_);
    slots_[static_cast<std::size_t>(slot)] = MacroData{};
  }
  RebuildNames();
  return Result::Ok;
}

void MacroStore::RebuildNames() {
  std::vector<std::string> names;
  for (const MacroData& macro : slots_) {
    if (macro.IsUsed()) names.push_back(macro.szName);
  }
  std::sort(names.begin(), names.end(), LessByUtf16Units);
  std::scoped_lock lock(names_mutex_);
  names_.swap(names);
}

}  // namespace vexlo
