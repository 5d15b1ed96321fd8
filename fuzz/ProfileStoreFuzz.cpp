// The profile store under any sequence of operations: its list is what a fresh store finds on the
// disk, and after an operation that reports success the current file holds what memory holds.
#include "../tests/support/FakeUserMessages.h"
#include "FuzzSupport.h"
#include "common/LanguageTable.h"
#include "profiles/ProfileData.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

using namespace vexlo;

namespace {

void CheckCurrentFile(const ProfileStore& store) {
  ProfileData onDisk = store.Data();
  FUZZ_CHECK(ReadProfile(store.CurrentPath(), onDisk) == Result::Ok);
  FUZZ_CHECK(onDisk.device == store.Data().device);
  // The path of a profile that is not linked stays in memory but is not written.
  FUZZ_CHECK(onDisk.link.bLinkProgram == store.Data().link.bLinkProgram);
  if (onDisk.link.bLinkProgram != 0) FUZZ_CHECK(onDisk.link.szLinkPath == store.Data().link.szLinkPath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& folder = fuzz::FreshScratchFolder();
  fuzz::WriteBytes(folder / "Lang_En.ini",
                   "[LANG]\nINFO_PRPFILE_PREFIX=Profile\nINFO_PRPFILE_CLONE=Copy\n");
  LanguageTable language;
  language.Load(folder / "Lang_En.ini");
  const std::string dataFolder = (folder / "Data/").string();
  test::FakeUserMessages messages;
  ProfileStore store(dataFolder, language, messages);

  fuzz::Choices choices(data, size);
  for (int operation = 0; operation < 16 && !choices.Empty(); ++operation) {
    const auto list = store.List();
    Result result = Result::Ok;
    bool written = false;  // the operation writes the current file from memory
    switch (choices.Byte() % 9) {
      case 0: result = store.NewProfile(); written = true; break;
      case 1: result = store.CopyProfile(); written = true; break;
      case 2:
        if (!list.empty()) result = store.SelectProfile(list[choices.Byte() % list.size()]);
        break;
      case 3: result = store.DeleteProfile(choices.Byte() & 1); break;
      case 4:
        messages.SetNextAnswer(choices.Byte() & 1 ? UserMessages::kOk : UserMessages::kCancel);
        result = store.RenameProfile(choices.Text(48));
        written = true;
        break;
      case 5: {
        std::string name = choices.Text(40);
        std::erase(name, '/');
        std::erase(name, '\0');
        fuzz::WriteBytes(folder / (name + ".ini"), choices.Text(255));
        result = store.ImportProfile((folder / (name + ".ini")).string());
        written = true;
        break;
      }
      case 6:
        store.Data().link = {choices.Byte(), choices.Text(40)};
        result = store.SaveCurrentProfile();
        written = true;
        break;
      case 7: {
        const int button = choices.Byte() % kButtonCount;
        store.Data().device.pbyKeySet[static_cast<std::size_t>(button)] = 38;  // launch a program
        store.Data().device.ppszKeyExt[static_cast<std::size_t>(button)] = choices.Text(40);
        result = store.SaveCurrentProfile();
        written = true;
        break;
      }
      default:
        result = store.ExportProfile((folder / "Export.ini").string());
        break;
    }
    test::FakeUserMessages freshMessages;
    const ProfileStore fromDisk(dataFolder, language, freshMessages);
    FUZZ_CHECK(fromDisk.List() == store.List());
    if (result == Result::Ok && written) CheckCurrentFile(store);
  }
  return 0;
}
