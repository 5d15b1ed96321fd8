// Macro slot and exchange files: what is read stays within 60 steps and 31 name units, and what
// is written reads back the same.
#include "FuzzSupport.h"
#include "common/Text.h"
#include "profiles/MacroFile.h"

using namespace vexlo;

namespace {

void CheckLimits(const MacroData& macro) {
  FUZZ_CHECK(macro.byCount <= kMaxMacroSteps);
  FUZZ_CHECK(Utf16Length(macro.szName) <= kMaxMacroNameUnits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& folder = fuzz::FreshScratchFolder();
  const std::string contents(reinterpret_cast<const char*>(data), size);

  fuzz::WriteBytes(folder / "Macro000.ini", contents);
  MacroData slot;
  (void)ReadMacroFile(folder / "Macro000.ini", slot);  // a damaged file keeps what it could read
  CheckLimits(slot);
  if (WriteMacroFile(folder / "Macro001.ini", slot) == Result::Ok) {
    MacroData reread;
    FUZZ_CHECK(ReadMacroFile(folder / "Macro001.ini", reread) == Result::Ok);
    FUZZ_CHECK(reread == slot);
  }

  fuzz::WriteBytes(folder / "Import.macro", contents);
  MacroData imported;
  if (ReadMacroExchange(folder / "Import.macro", imported) != Result::Ok) {
    FUZZ_CHECK(imported == MacroData());
    return 0;
  }
  CheckLimits(imported);
  // Pauses are kept in tens of milliseconds: after one round they come back the same.
  FUZZ_CHECK(ExportMacro(folder / "Import.macro", imported) == Result::Ok);
  MacroData once;
  FUZZ_CHECK(ReadMacroExchange(folder / "Import.macro", once) == Result::Ok);
  FUZZ_CHECK(ExportMacro(folder / "Import.macro", once) == Result::Ok);
  MacroData twice;
  FUZZ_CHECK(ReadMacroExchange(folder / "Import.macro", twice) == Result::Ok);
  FUZZ_CHECK(twice == once);
  return 0;
}
