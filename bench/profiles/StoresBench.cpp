#include <benchmark/benchmark.h>

#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "common/LanguageTable.h"
#include "profiles/MacroFile.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

namespace vexlo {
namespace {

MacroData SixtySteps() {
  MacroData macro;
  macro.byFlag = kMacroSlotUsed;
  for (int k = 0; k < kMaxMacroSteps; ++k) {
    macro.steps[macro.byCount++] = k % 3 == 2
                                       ? MacroAction::Pause(static_cast<std::uint16_t>(k * 7))
                                       : MacroAction{0x84, static_cast<std::uint8_t>(k), 0};
  }
  return macro;
}

// Start-up's listing: every "*.ini" of the profile folder is opened for its marker.
void BM_ProfileStoreLoad(benchmark::State& state) {
  bench::ScratchFolder folder;
  LanguageTable language;
  bench::SilentMessages messages;
  {
    ProfileStore store(folder.path(), language, messages);
    for (int i = 0; i < state.range(0); ++i) {
      if (store.NewProfile() != Result::Ok) state.SkipWithError("cannot write profiles");
    }
  }
  for (auto _ : state) {
    ProfileStore store(folder.path(), language, messages);
    benchmark::DoNotOptimize(store.List().size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ProfileStoreLoad)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond);

// Start-up's macro store: 16 slots of 60 steps read and decoded.
void BM_MacroStoreLoad(benchmark::State& state) {
  bench::ScratchFolder folder;
  LanguageTable language;
  bench::SilentMessages messages;
  {
    MacroStore store(folder.path(), language, messages);
    for (int slot = 0; slot < kMacroSlotCount; ++slot) {
      MacroData macro = SixtySteps();
      macro.szName = "Macro" + std::to_string(slot);
      if (WriteMacroFile(store.SlotPath(slot), macro) != Result::Ok) {
        state.SkipWithError("cannot write slots");
      }
    }
  }
  for (auto _ : state) {
    MacroStore store(folder.path(), language, messages);
    benchmark::DoNotOptimize(store.Names().size());
  }
}
BENCHMARK(BM_MacroStoreLoad)->Unit(benchmark::kMicrosecond);

// One editor change: a step appended and the slot file replaced (written, flushed, renamed).
void BM_AppendStepWritesTheSlot(benchmark::State& state) {
  bench::ScratchFolder folder;
  LanguageTable language;
  bench::SilentMessages messages;
  MacroStore store(folder.path(), language, messages);
  if (store.AddMacro() != Result::Ok) state.SkipWithError("cannot add a macro");
  for (auto _ : state) {
    if (store.AppendStep({0x84, 0x04, 0x00}) == Result::Full) {
      state.PauseTiming();
      (void)store.ClearSteps();  // a bench: a failure shows in the next append
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_AppendStepWritesTheSlot)->Unit(benchmark::kMicrosecond);

// Export and import of a full macro through its exchange file.
void BM_MacroExchangeRoundTrip(benchmark::State& state) {
  bench::ScratchFolder folder;
  const std::string file = folder.path() + "Full.macro";
  const MacroData macro = SixtySteps();
  for (auto _ : state) {
    MacroData read;
    if (ExportMacro(file, macro) != Result::Ok || ReadMacroExchange(file, read) != Result::Ok) {
      state.SkipWithError("round trip failed");
    }
    benchmark::DoNotOptimize(read.byCount);
  }
}
BENCHMARK(BM_MacroExchangeRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
