#include <benchmark/benchmark.h>

#include <string>

#include "ScratchFolder.h"

#include "common/IniDocument.h"
#include "common/IniFile.h"
#include "profiles/ProfileFile.h"

namespace vexlo {
namespace {

ProfileData Defaults() {
  ProfileData profile;
  FillDefaults(profile);
  return profile;
}

// A full profile write: every key in one atomic replacement, flushed to the disk.
void BM_WriteWholeProfile(benchmark::State& state) {
  const bench::ScratchFolder scratch;
  const std::string& folder = scratch.path();
  const ProfileData profile = Defaults();
  for (auto _ : state) benchmark::DoNotOptimize(WriteProfile(folder + "p.ini", profile));
}
BENCHMARK(BM_WriteWholeProfile)->Unit(benchmark::kMicrosecond);

// What a slider release costs: one key of the profile rewritten.
void BM_WriteOneKey(benchmark::State& state) {
  const bench::ScratchFolder scratch;
  const std::string& folder = scratch.path();
  (void)WriteProfile(folder + "p.ini", Defaults());
  std::uint16_t dpi = 200;
  for (auto _ : state) {
    benchmark::DoNotOptimize(WriteDpiLevel(folder + "p.ini", 2, dpi));
    dpi = static_cast<std::uint16_t>(dpi == 4200 ? 200 : dpi + 200);
  }
}
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMicrosecond);

void BM_ReadWholeProfile(benchmark::State& state) {
  const bench::ScratchFolder scratch;
  const std::string& folder = scratch.path();
  (void)WriteProfile(folder + "p.ini", Defaults());
  ProfileData read = Defaults();
  for (auto _ : state) benchmark::DoNotOptimize(ReadProfile(folder + "p.ini", read));
}
BENCHMARK(BM_ReadWholeProfile)->Unit(benchmark::kMicrosecond);

// Parsing alone, without the file system.
void BM_ParseProfileText(benchmark::State& state) {
  const bench::ScratchFolder scratch;
  const std::string& folder = scratch.path();
  (void)WriteProfile(folder + "p.ini", Defaults());
  IniDocument doc;
  (void)doc.Load(folder + "p.ini");
  const std::string text = doc.Serialize();
  for (auto _ : state) {
    const IniDocument parsed = IniDocument::Parse(text);
    benchmark::DoNotOptimize(parsed.GetUnsigned("Setting", "nFlag", 0));
  }
}
BENCHMARK(BM_ParseProfileText)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexlo
