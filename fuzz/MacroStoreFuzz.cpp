// The macro store under any sequence of operations: after each, the slots in memory are what the
// slot files hold (a fresh store reads the same), names stay unique, and a refused operation
// changes nothing.
#include <sys/stat.h>

#include <algorithm>

#include "../tests/support/FakeUserMessages.h"
#include "FuzzSupport.h"
#include "common/LanguageTable.h"
#include "common/Text.h"
#include "profiles/MacroFile.h"
#include "profiles/MacroStore.h"

using namespace vexlo;

namespace {

// The slots as they count: steps past a slot's count are never played nor written.
std::array<MacroData, kMacroSlotCount> SlotsOf(const MacroStore& store) {
  std::array<MacroData, kMacroSlotCount> slots;
  for (int i = 0; i < kMacroSlotCount; ++i) {
    MacroData& slot = slots[static_cast<std::size_t>(i)];
    slot = store.Slot(i);
    std::fill(slot.steps.begin() + std::min<int>(slot.byCount, kMaxMacroSteps), slot.steps.end(),
              MacroAction{});
  }
  return slots;
}

void CheckAgreement(const MacroStore& store, const std::string& dataFolder,
                    const LanguageTable& language) {
  test::FakeUserMessages messages;
  const MacroStore fromDisk(dataFolder, language, messages);
  FUZZ_CHECK(SlotsOf(fromDisk) == SlotsOf(store));
  FUZZ_CHECK(store.CurrentIndex() == -1 || store.Slot(store.CurrentIndex()).IsUsed());
  for (int i = 0; i < kMacroSlotCount; ++i) {
    const MacroData& slot = store.Slot(i);
    if (!slot.IsUsed()) continue;
    FUZZ_CHECK(slot.byCount <= kMaxMacroSteps);
    FUZZ_CHECK(Utf16Length(slot.szName) <= kMaxMacroNameUnits);
    FUZZ_CHECK(store.FindByName(slot.szName) == i);
  }
}

MacroAction StepFrom(fuzz::Choices& choices) {
  return {choices.Byte(), choices.Byte(), choices.Byte()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& folder = fuzz::FreshScratchFolder();
  fuzz::WriteBytes(folder / "Lang_En.ini",
                   "[LANG]\nINFO_MACRO_PREFIX=Macro\nINFO_MACRO_CLONE=Copy\n");
  LanguageTable language;
  language.Load(folder / "Lang_En.ini");
  const std::string dataFolder = (folder / "Data/").string();
  test::FakeUserMessages messages;
  MacroStore store(dataFolder, language, messages);

  fuzz::Choices choices(data, size);
  for (int operation = 0; operation < 24 && !choices.Empty(); ++operation) {
    const auto before = SlotsOf(store);
    Result result = Result::Ok;
    const int step = choices.Byte() % 64;
    switch (choices.Byte() % 14) {
      case 0: result = store.AddMacro(); break;
      case 1: result = store.CopyMacro(); break;
      case 2: result = store.DeleteMacro(choices.Byte() & 1); break;
      case 3:
        messages.SetNextAnswer(choices.Byte() & 1 ? UserMessages::kOk : UserMessages::kCancel);
        result = store.RenameMacro(choices.Text(48));
        break;
      case 4: result = store.Select(choices.Byte() % 18 - 1); break;
      case 5: result = store.AppendStep(StepFrom(choices)); break;
      case 6: result = store.DeleteStep(step); break;
      case 7: result = store.ReplaceStep(step, StepFrom(choices)); break;
      case 8: result = store.MoveStepUp(step); break;
      case 9: result = store.MoveStepToBottom(step); break;
      case 10: result = store.ClearSteps(); break;
      case 11: {
        std::string name = choices.Text(40);
        std::erase(name, '/');
        std::erase(name, '\0');
        fuzz::WriteBytes(folder / (name + ".macro"), choices.Text(255));
        result = store.ImportMacro(folder / (name + ".macro"));
        break;
      }
      case 12: result = store.ExportCurrent(folder / "Export.macro"); break;
      default:
        // Someone else's folder where a free slot's file would go.
        (void)::mkdir(store.SlotPath(choices.Byte() % kMacroSlotCount).c_str(), 0700);
        break;
    }
    if (result != Result::Ok) FUZZ_CHECK(SlotsOf(store) == before);
    CheckAgreement(store, dataFolder, language);
  }
  return 0;
}
