#include "profiles/MacroStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "common/FileIo.h"
#include "profiles/MacroFile.h"

namespace vexlo {
namespace {

using test::ReadFile;
using test::SnapshotFolder;
using test::WriteFile;
using Names = std::vector<std::string>;

constexpr MacroAction kStepA{0x84, 0x04, 0x00};
constexpr MacroAction kStepB{0x84, 0x05, 0x00};
constexpr MacroAction kStepC{0x84, 0x06, 0x00};
constexpr MacroAction kStepD{0x84, 0x07, 0x00};

class MacroStoreTest : public test::StoreFixture {
 protected:
  std::string MacroFolder() const { return DataFolder() + "Macro/"; }
  std::string SlotFile(int slot) const {
    char name[16];
    std::snprintf(name, sizeof name, "Macro%03d.ini", slot);
    return MacroFolder() + name;
  }

  // A slot file written by hand, as an earlier run would have left it.
  void WriteSlot(int slot, const std::string& name, const std::string& pma = "") {
    WriteFile(SlotFile(slot), "[Setting]\nbyFlag=85\nbyCount=" + std::to_string(pma.size() / 6) +
                                  "\nbyExtFlag=0\npma=" + pma + "\nszName=" + name + "\n");
  }

  MacroStore& Open() {
    store_ = std::make_unique<MacroStore>(DataFolder(), language_, messages_);
    return *store_;
  }

  // A store whose current macro has the steps A, B, C, D.
  MacroStore& OpenWithFourSteps() {
    WriteSlot(0, "Steps", "840400840500840600840700");
    return Open();
  }

  std::vector<MacroAction> CurrentSteps() const {
    const MacroData& macro = store_->Slot(store_->CurrentIndex());
    return {macro.steps.begin(), macro.steps.begin() + macro.byCount};
  }

  // The steps as the slot file on disk holds them.
  std::vector<MacroAction> StepsOnDisk(int slot) const {
    MacroData read;
    EXPECT_EQ(ReadMacroFile(SlotFile(slot), read), Result::Ok);
    return {read.steps.begin(), read.steps.begin() + read.byCount};
  }

  std::unique_ptr<MacroStore> store_;
};

TEST_F(MacroStoreTest, LoadListsUsedSlotsAndMakesTheLowestCurrent) {
  WriteSlot(3, "b");
  WriteSlot(5, "C");
  WriteSlot(9, "a");
  WriteFile(SlotFile(1), "[Setting]\nbyFlag=0\nszName=free\n");
  MacroStore& store = Open();
  EXPECT_EQ(store.Names(), (Names{"C", "a", "b"}));
  EXPECT_EQ(store.CurrentIndex(), 3);
  EXPECT_EQ(store.CurrentName(), "b");
  EXPECT_TRUE(std::filesystem::is_directory(MacroFolder()));
}

TEST_F(MacroStoreTest, EmptyStoreHasNoCurrentMacro) {
  MacroStore& store = Open();
  EXPECT_TRUE(store.Names().empty());
  EXPECT_EQ(store.CurrentIndex(), -1);
  EXPECT_EQ(store.CurrentName(), "");
  EXPECT_EQ(store.SaveCurrent(), Result::NothingCurrent);
  EXPECT_EQ(store.DeleteMacro(true), Result::NothingToActOn);
  EXPECT_EQ(store.CopyMacro(), Result::NothingToActOn);
  EXPECT_EQ(store.RenameMacro("x"), Result::NothingToActOn);
  EXPECT_EQ(store.AppendStep(kStepA), Result::NothingToActOn);
  EXPECT_EQ(store.ClearSteps(), Result::NothingToActOn);
  EXPECT_EQ(store.ExportCurrent(temp_ / "x.macro"), Result::NothingToActOn);
}

TEST_F(MacroStoreTest, SelectResults) {
  WriteSlot(2, "two");
  WriteSlot(4, "four");
  MacroStore& store = Open();
  EXPECT_EQ(store.Select(4), Result::Ok);
  EXPECT_EQ(store.CurrentName(), "four");
  EXPECT_EQ(store.Select(-2), Result::IndexOutOfRange);
  EXPECT_EQ(store.Select(16), Result::IndexOutOfRange);
  EXPECT_EQ(store.Select(3), Result::NothingToActOn);  // a free slot
  EXPECT_EQ(store.CurrentIndex(), 4);
  EXPECT_EQ(store.Select(-1), Result::BadData);
  EXPECT_EQ(store.CurrentIndex(), -1);
  EXPECT_EQ(store.CurrentName(), "four");  // the name stays
}

TEST_F(MacroStoreTest, FindByNameIgnoresCase) {
  WriteSlot(2, "Rapid");
  MacroStore& store = Open();
  EXPECT_EQ(store.FindByName("rAPID"), 2);
  EXPECT_EQ(store.FindByName("Rapi"), -1);
  EXPECT_TRUE(store.NameExists("RAPID"));
}

TEST_F(MacroStoreTest, FirstAddMakesMacro001InSlot0AndDeletingFreesBoth) {
  MacroStore& store = Open();
  ASSERT_EQ(store.AddMacro(), Result::Ok);
  EXPECT_EQ(store.CurrentIndex(), 0);
  EXPECT_EQ(store.CurrentName(), "Macro001");
  EXPECT_EQ(ReadFile(SlotFile(0)),
            "[Setting]\nbyFlag=85\nbyCount=0\nbyExtFlag=0\npma=\nszName=Macro001\n");

  ASSERT_EQ(store.DeleteMacro(true), Result::Ok);
  EXPECT_FALSE(std::filesystem::exists(SlotFile(0)));
  EXPECT_EQ(store.CurrentIndex(), -1);
  EXPECT_EQ(store.CurrentName(), "");
  EXPECT_TRUE(store.Names().empty());

  ASSERT_EQ(store.AddMacro(), Result::Ok);
  EXPECT_EQ(store.CurrentIndex(), 0);
  EXPECT_EQ(store.CurrentName(), "Macro001");
}

TEST_F(MacroStoreTest, AddTakesTheLowestFreeSlotAndTheFirstFreeName) {
  WriteSlot(0, "Macro001");
  WriteSlot(2, "macro002");  // taken, whatever its case
  MacroStore& store = Open();
  ASSERT_EQ(store.AddMacro(), Result::Ok);
  EXPECT_EQ(store.CurrentIndex(), 1);
  EXPECT_EQ(store.CurrentName(), "Macro003");
  EXPECT_EQ(store.Names(), (Names{"Macro001", "Macro003", "macro002"}));
}

TEST_F(MacroStoreTest, CopyStripsTheCopySuffixBeforeNumbering) {
  WriteSlot(0, "Attack", "840400840500");
  MacroStore& store = Open();
  ASSERT_EQ(store.CopyMacro(), Result::Ok);
  EXPECT_EQ(store.CurrentName(), "AttackCopy1");
  EXPECT_EQ(store.CurrentIndex(), 1);
  EXPECT_EQ(StepsOnDisk(1), (std::vector<MacroAction>{kStepA, kStepB}));
  ASSERT_EQ(store.CopyMacro(), Result::Ok);
  EXPECT_EQ(store.CurrentName(), "AttackCopy2");
  EXPECT_EQ(store.Names(), (Names{"Attack", "AttackCopy1", "AttackCopy2"}));
}

TEST_F(MacroStoreTest, SlotsWhoseNameSomethingElseTookArePassedOver) {
  std::filesystem::create_directories(SlotFile(0));
  std::filesystem::create_directories(SlotFile(1) + "/inside");
  MacroStore& store = Open();
  ASSERT_EQ(store.AddMacro(), Result::Ok);
  EXPECT_EQ(store.CurrentIndex(), 2);
  ASSERT_EQ(store.CopyMacro(), Result::Ok);
  EXPECT_EQ(store.CurrentIndex(), 3);
  EXPECT_TRUE(std::filesystem::is_directory(SlotFile(1) + "/inside"));
}

TEST_F(MacroStoreTest, FullStoreRefusesNewNamesButImportReplacesAnExistingOne) {
  for (int slot = 0; slot < kMacroSlotCount; ++slot) WriteSlot(slot, "m" + std::to_string(slot));
  MacroStore& store = Open();
  MacroData imported;
  imported.byCount = 1;
  imported.steps[0] = kStepC;
  ASSERT_EQ(ExportMacro(temp_ / "New.macro", imported), Result::Ok);
  ASSERT_EQ(ExportMacro(temp_ / "M7.macro", imported), Result::Ok);
  const auto before = SnapshotFolder(MacroFolder());

  EXPECT_EQ(store.AddMacro(), Result::Full);
  EXPECT_EQ(store.CopyMacro(), Result::Full);
  EXPECT_EQ(store.ImportMacro(temp_ / "New.macro"), Result::Full);
  EXPECT_EQ(SnapshotFolder(MacroFolder()), before);
  EXPECT_EQ(store.CurrentIndex(), 0);

  ASSERT_EQ(store.ImportMacro(temp_ / "M7.macro"), Result::Ok);
  EXPECT_EQ(store.CurrentIndex(), 7);
  EXPECT_EQ(store.CurrentName(), "M7");
  EXPECT_EQ(StepsOnDisk(7), std::vector<MacroAction>{kStepC});
  EXPECT_EQ(store.Names().size(), 16u);
}

TEST_F(MacroStoreTest, DeletingMakesTheNextInListOrderCurrentOrTheNewLast) {
  WriteSlot(0, "b");
  WriteSlot(1, "a");
  WriteSlot(2, "c");
  MacroStore& store = Open();
  ASSERT_EQ(store.DeleteMacro(true), Result::Ok);  // b, in the middle
  EXPECT_EQ(store.CurrentName(), "c");
  EXPECT_EQ(store.Names(), (Names{"a", "c"}));
  EXPECT_FALSE(std::filesystem::exists(SlotFile(0)));
  ASSERT_EQ(store.DeleteMacro(true), Result::Ok);  // c, the last
  EXPECT_EQ(store.CurrentName(), "a");
  EXPECT_EQ(store.CurrentIndex(), 1);
  EXPECT_FALSE(std::filesystem::exists(SlotFile(2)));
  ASSERT_EQ(store.DeleteMacro(true), Result::Ok);  // a, the only one
  EXPECT_EQ(store.CurrentIndex(), -1);
  EXPECT_EQ(store.CurrentName(), "");
  EXPECT_TRUE(SnapshotFolder(MacroFolder()).empty());
}

TEST_F(MacroStoreTest, DeletingWithoutSelectingLeavesNoCurrentMacro) {
  WriteSlot(0, "a");
  WriteSlot(1, "b");
  MacroStore& store = Open();
  ASSERT_EQ(store.DeleteMacro(false), Result::Ok);
  EXPECT_EQ(store.CurrentIndex(), -1);
  EXPECT_EQ(store.Names(), Names{"b"});
}

TEST_F(MacroStoreTest, RenameKeepsTheSlotFile) {
  WriteSlot(4, "Old", "840400");
  MacroStore& store = Open();
  ASSERT_EQ(store.RenameMacro("  New Name "), Result::Ok);
  EXPECT_EQ(store.CurrentName(), "New Name");
  EXPECT_EQ(store.CurrentIndex(), 4);
  EXPECT_EQ(ReadFile(SlotFile(4)),
            "[Setting]\nbyFlag=85\nbyCount=1\nbyExtFlag=0\npma=840400\nszName=New Name\n");
  EXPECT_EQ(store.Names(), Names{"New Name"});
}

TEST_F(MacroStoreTest, RenameCutsTo31UnitsAndMayChangeOnlyTheCase) {
  WriteSlot(0, "fast");
  MacroStore& store = Open();
  ASSERT_EQ(store.RenameMacro("FAST"), Result::Ok);
  EXPECT_EQ(store.CurrentName(), "FAST");
  EXPECT_TRUE(messages_.shown.empty());
  ASSERT_EQ(store.RenameMacro(std::string(40, 'n')), Result::Ok);
  EXPECT_EQ(store.CurrentName(), std::string(31, 'n'));
}

TEST_F(MacroStoreTest, RenameRefusesNamesThatAreNoNames) {
  WriteSlot(0, "Keep");
  MacroStore& store = Open();
  const auto before = SnapshotFolder(MacroFolder());
  for (const char* bad : {"", "   ", "a/b", "a\\b", "x:y", "*", "?", "\"", "<", ">", "|"}) {
    EXPECT_EQ(store.RenameMacro(bad), Result::InvalidName) << bad;
  }
  EXPECT_EQ(store.CurrentName(), "Keep");
  EXPECT_EQ(SnapshotFolder(MacroFolder()), before);
}

TEST_F(MacroStoreTest, RenameOntoAnotherNameAnsweredNoChangesNothing) {
  WriteSlot(0, "Fast", "840400");
  WriteSlot(1, "slow", "840500");
  MacroStore& store = Open();
  const auto before = SnapshotFolder(MacroFolder());
  messages_.SetNextAnswer(UserMessages::kCancel);
  EXPECT_EQ(store.RenameMacro("SLOW"), Result::NameConflict);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].textKey, "STA_MSG_INFO_FILE_CONFLECT");
  EXPECT_EQ(store.CurrentName(), "Fast");
  EXPECT_EQ(SnapshotFolder(MacroFolder()), before);
}

TEST_F(MacroStoreTest, RenameOntoAnotherNameAnsweredYesOverwritesThatMacro) {
  WriteSlot(0, "Fast", "840400");
  WriteSlot(1, "slow", "840500");
  MacroStore& store = Open();
  messages_.SetNextAnswer(UserMessages::kOk);
  ASSERT_EQ(store.RenameMacro("SLOW"), Result::Ok);
  // One macro of that name is left, in the other's slot, with the renamed macro's steps.
  EXPECT_EQ(store.Names(), Names{"slow"});
  EXPECT_EQ(store.CurrentIndex(), 1);
  EXPECT_EQ(store.CurrentName(), "slow");
  EXPECT_EQ(CurrentSteps(), std::vector<MacroAction>{kStepA});
  EXPECT_EQ(StepsOnDisk(1), std::vector<MacroAction>{kStepA});
  EXPECT_FALSE(std::filesystem::exists(SlotFile(0)));
}

TEST_F(MacroStoreTest, ImportNamesTheMacroAfterTheTrimmedFileName) {
  MacroStore& store = Open();
  MacroData macro;
  macro.byCount = 2;
  macro.steps[0] = kStepA;
  macro.steps[1] = MacroAction::Pause(300);
  ASSERT_EQ(ExportMacro(temp_ / "  Combo .macro", macro), Result::Ok);
  ASSERT_EQ(store.ImportMacro(temp_ / "  Combo .macro"), Result::Ok);
  EXPECT_EQ(store.CurrentName(), "Combo");
  EXPECT_EQ(store.CurrentIndex(), 0);
  EXPECT_EQ(StepsOnDisk(0), (std::vector<MacroAction>{kStepA, MacroAction::Pause(300)}));
}

TEST_F(MacroStoreTest, ImportRefusesDamagedFilesAndBadNamesAndWritesNothing) {
  WriteSlot(0, "Keep", "840400");
  MacroStore& store = Open();
  MacroData macro;
  macro.byCount = 1;
  macro.steps[0] = kStepB;
  ASSERT_EQ(ExportMacro(temp_ / "a|b.macro", macro), Result::Ok);
  ASSERT_EQ(ExportMacro(temp_ / ".macro", macro), Result::Ok);
  ASSERT_EQ(ExportMacro(temp_ / "a\\..\\..\\x.macro", macro), Result::Ok);
  WriteFile(temp_ / "Bad.macro", "[Setting]\nCount=1\nMacroSetting_0=84050000\n");
  WriteFile(temp_ / "Long.macro", "[Setting]\nCount=61\nMacroSetting_0=00000000\n");
  WriteFile(temp_ / "Short.macro", "[Setting]\nCount=2\nMacroSetting_0=84050089\n");
  const auto before = SnapshotFolder(MacroFolder());

  EXPECT_EQ(store.ImportMacro(temp_ / "a|b.macro"), Result::InvalidName);
  EXPECT_EQ(store.ImportMacro(temp_ / ".macro"), Result::InvalidName);
  EXPECT_EQ(store.ImportMacro(temp_ / "a\\..\\..\\x.macro"), Result::InvalidName);
  EXPECT_EQ(store.ImportMacro(temp_ / "Bad.macro"), Result::ChecksumFailed);
  EXPECT_EQ(store.ImportMacro(temp_ / "Long.macro"), Result::BadData);
  EXPECT_EQ(store.ImportMacro(temp_ / "Short.macro"), Result::TooShort);
  EXPECT_EQ(store.ImportMacro(temp_ / "Missing.macro"), Result::ChecksumFailed);
  EXPECT_EQ(SnapshotFolder(MacroFolder()), before);
  EXPECT_EQ(store.CurrentName(), "Keep");
  EXPECT_EQ(store.Names(), Names{"Keep"});
}

TEST_F(MacroStoreTest, ExportedMacroImportsAgain) {
  WriteSlot(0, "Original", "840400062C01840500");
  MacroStore& store = Open();
  ASSERT_EQ(store.ExportCurrent(temp_ / "Again.macro"), Result::Ok);
  ASSERT_EQ(store.ImportMacro(temp_ / "Again.macro"), Result::Ok);
  EXPECT_EQ(store.CurrentName(), "Again");
  EXPECT_EQ(store.CurrentIndex(), 1);
  EXPECT_EQ(StepsOnDisk(1), StepsOnDisk(0));
}

TEST_F(MacroStoreTest, AppendStopsAtSixtySteps) {
  MacroStore& store = Open();
  ASSERT_EQ(store.AddMacro(), Result::Ok);
  for (int i = 0; i < kMaxMacroSteps; ++i) ASSERT_EQ(store.AppendStep(kStepA), Result::Ok);
  const std::string before = ReadFile(SlotFile(0));
  EXPECT_EQ(store.AppendStep(kStepB), Result::Full);
  EXPECT_EQ(store.Slot(0).byCount, kMaxMacroSteps);
  EXPECT_EQ(ReadFile(SlotFile(0)), before);
  EXPECT_EQ(StepsOnDisk(0).size(), 60u);
}

TEST_F(MacroStoreTest, StepsAppendedTogetherAllFitOrNoneIsAppended) {
  MacroStore& store = Open();
  ASSERT_EQ(store.AddMacro(), Result::Ok);
  for (int i = 0; i < kMaxMacroSteps - 1; ++i) ASSERT_EQ(store.AppendStep(kStepA), Result::Ok);
  const MacroAction two[] = {kStepB, kStepB};
  EXPECT_EQ(store.AppendSteps(two), Result::Full);
  EXPECT_EQ(StepsOnDisk(0).size(), 59u);
  EXPECT_EQ(store.AppendSteps({two, 1}), Result::Ok);
  EXPECT_EQ(StepsOnDisk(0).size(), 60u);
  EXPECT_EQ(store.Slot(0).steps[59], kStepB);
}

struct StepMove {
  const char* what;
  Result (MacroStore::*move)(int);
  int step;
  std::vector<MacroAction> expected;
};

class MacroStepMoves : public MacroStoreTest, public ::testing::WithParamInterface<StepMove> {};

TEST_P(MacroStepMoves, ChangeTheOrderInMemoryAndOnDisk) {
  MacroStore& store = OpenWithFourSteps();
  EXPECT_EQ((store.*GetParam().move)(GetParam().step), Result::Ok) << GetParam().what;
  EXPECT_EQ(CurrentSteps(), GetParam().expected) << GetParam().what;
  EXPECT_EQ(StepsOnDisk(0), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MacroStepMoves,
    ::testing::Values(
        StepMove{"C to the top", &MacroStore::MoveStepToTop, 2, {kStepC, kStepA, kStepB, kStepD}},
        StepMove{"C up", &MacroStore::MoveStepUp, 2, {kStepA, kStepC, kStepB, kStepD}},
        StepMove{"B down", &MacroStore::MoveStepDown, 1, {kStepA, kStepC, kStepB, kStepD}},
        StepMove{
            "B to the bottom", &MacroStore::MoveStepToBottom, 1, {kStepA, kStepC, kStepD, kStepB}},
        StepMove{"delete B", &MacroStore::DeleteStep, 1, {kStepA, kStepC, kStepD}},
        StepMove{"delete D", &MacroStore::DeleteStep, 3, {kStepA, kStepB, kStepC}}));

TEST_F(MacroStoreTest, MovesThatMoveNothingDoNotWrite) {
  MacroStore& store = OpenWithFourSteps();
  // A marker in the file shows whether it was written again.
  WriteFile(SlotFile(0), "marker");
  EXPECT_EQ(store.MoveStepUp(0), Result::Ok);
  EXPECT_EQ(store.MoveStepToTop(0), Result::Ok);
  EXPECT_EQ(store.MoveStepDown(3), Result::Ok);
  EXPECT_EQ(store.MoveStepToBottom(3), Result::Ok);
  EXPECT_EQ(ReadFile(SlotFile(0)), "marker");
  EXPECT_EQ(CurrentSteps(), (std::vector<MacroAction>{kStepA, kStepB, kStepC, kStepD}));
}

TEST_F(MacroStoreTest, StepOperationsCheckTheirIndex) {
  MacroStore& store = OpenWithFourSteps();
  for (const int bad : {-1, 4, 60}) {
    EXPECT_EQ(store.MoveStepToTop(bad), Result::IndexOutOfRange) << bad;
    EXPECT_EQ(store.MoveStepUp(bad), Result::IndexOutOfRange) << bad;
    EXPECT_EQ(store.MoveStepDown(bad), Result::IndexOutOfRange) << bad;
    EXPECT_EQ(store.MoveStepToBottom(bad), Result::IndexOutOfRange) << bad;
    EXPECT_EQ(store.DeleteStep(bad), Result::IndexOutOfRange) << bad;
    EXPECT_EQ(store.ReplaceStep(bad, kStepA), Result::IndexOutOfRange) << bad;
  }
  ASSERT_EQ(store.ClearSteps(), Result::Ok);
  EXPECT_TRUE(StepsOnDisk(0).empty());
  EXPECT_EQ(store.MoveStepUp(0), Result::NothingToActOn);
  EXPECT_EQ(store.DeleteStep(0), Result::NothingToActOn);
}

TEST_F(MacroStoreTest, ReplaceStepChangesOneStep) {
  MacroStore& store = OpenWithFourSteps();
  ASSERT_EQ(store.ReplaceStep(1, MacroAction::Pause(1000)), Result::Ok);
  EXPECT_EQ(StepsOnDisk(0),
            (std::vector<MacroAction>{kStepA, MacroAction::Pause(1000), kStepC, kStepD}));
}

TEST_F(MacroStoreTest, AFailedWriteChangesNothing) {
  MacroStore& store = OpenWithFourSteps();
  const auto before = SnapshotFolder(MacroFolder());
  FailNextReplaceForTesting(ReplaceStep::Rename, ENOSPC);
  EXPECT_EQ(store.AddMacro(), Result::DiskFull);
  FailNextReplaceForTesting(ReplaceStep::Write, ENOSPC);
  EXPECT_EQ(store.MoveStepUp(2), Result::DiskFull);
  FailNextReplaceForTesting(ReplaceStep::Sync, EIO);
  EXPECT_EQ(store.RenameMacro("Other"), Result::IoDevice);
  EXPECT_EQ(SnapshotFolder(MacroFolder()), before);
  EXPECT_EQ(store.Names(), Names{"Steps"});
  EXPECT_EQ(store.CurrentIndex(), 0);
  EXPECT_EQ(CurrentSteps(), (std::vector<MacroAction>{kStepA, kStepB, kStepC, kStepD}));
}

TEST_F(MacroStoreTest, WithoutADataFolderNothingIsWritten) {
  store_ = std::make_unique<MacroStore>("", language_, messages_);
  EXPECT_EQ(store_->AddMacro(), Result::PathNotFound);
  EXPECT_EQ(store_->CurrentIndex(), -1);
}

}  // namespace
}  // namespace vexlo
