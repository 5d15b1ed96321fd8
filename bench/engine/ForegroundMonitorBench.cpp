#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "common/LanguageTable.h"
#include "engine/ForegroundMonitor.h"
#include "platform/ports/ForegroundProcess.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

namespace vexlo {
namespace {

class NoForeground final : public ForegroundProcess {
 public:
  std::optional<std::string> ForegroundImagePath() override { return std::nullopt; }
};

// The rebuild after every profile or link change: each listed profile file is read for its link,
// and every other one is linked to an existing program.
void BM_RebuildLinkTable(benchmark::State& state) {
  bench::ScratchFolder folder;
  LanguageTable language;
  bench::SilentMessages messages;
  const std::string program = folder.path() + "game";
  ProfileData linked;
  FillDefaults(linked);
  linked.link = {1, program};
  if (WriteProfile(program, linked) != Result::Ok) state.SkipWithError("cannot write");
  {
    ProfileStore store(folder.path(), language, messages);
    for (int i = 0; i < state.range(0); ++i) {
      if (store.NewProfile() != Result::Ok ||
          (i % 2 == 0 && WriteProfile(store.CurrentPath(), linked) != Result::Ok)) {
        state.SkipWithError("cannot write profiles");
      }
    }
  }
  const ProfileStore store(folder.path(), language, messages);
  NoForeground foreground;
  ForegroundMonitor monitor(foreground);
  for (auto _ : state) {
    monitor.RebuildLinkTable(store);
    benchmark::DoNotOptimize(monitor.LinkTable().size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RebuildLinkTable)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
