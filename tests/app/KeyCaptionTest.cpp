#include "app/panels/KeyCaption.h"

#include <gtest/gtest.h>

#include "FakeUserMessages.h"
#include "TempFolder.h"
#include "common/LanguageTable.h"
#include "profiles/MacroStore.h"

namespace vexlo {
namespace {

// The caption function over a small language file of its own and a macro store with "Reload" in
// slot 0 and "Burst" in slot 1.
class KeyCaptionTest : public testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(root / "Lang.ini",
                    "[LANG]\nINFO_KEY_SET_RIGHT=Right\nINFO_KEY_SET_CLOSE=Off\n"
                    "INFO_KEY_SET_START_PROGRAM=Program\nINFO_KEY_SET_FIRE=Fire\n"
                    "INFO_KEY_SET_UNKNOWN=Unknown\nINFO_FIRE_KEY_INTVL0=Interval\n"
                    "INFO_FIRE_KEY_COUNT0=Count\nPREFIX_KEY_SET_KBD=\"Key: \"\n"
                    "PREFIX_KEY_SET_MACRO=\"Macro: \"\n");
    language.Load(root / "Lang.ini");
    for (const char* name : {"Reload", "Burst"}) {
      ASSERT_EQ(macros.AddMacro(), Result::Ok);
      ASSERT_EQ(macros.RenameMacro(name), Result::Ok);
    }
  }

  KeyCaption Of(std::uint8_t code, std::uint32_t parameter, const std::string& extension) {
    return KeyCaptionOf({code, parameter, extension}, language, macros);
  }

  test::TempFolder root;
  LanguageTable language;
  test::FakeUserMessages messages;
  MacroStore macros{root.path(), language, messages};
};

TEST_F(KeyCaptionTest, EachAssignmentReadsAsItsFunction) {
  const std::string program = root / "editor";
  test::WriteFile(program, "");
  struct Case {
    std::uint8_t code;
    std::uint32_t parameter;
    std::string extension;
    KeyCaption expected;
  };
  const Case cases[] = {
      {1, 0, "", {"Right", ""}},
      {44, 0, "", {"Unknown", ""}},  // from a damaged file
      {255, 0, "", {"Unknown", ""}},
      {37, 0x1E, "", {"Key: A", ""}},
      {37, 0x5A, "", {"Key: ScnKey: 5A", ""}},
      {37, 0x11E, "", {"Key: A", ""}},  // only the low byte names the key
      {37, 0, "", {"Key: ", ""}},
      {38, 0, program, {"Program", program}},
      {38, 0, root / "gone", {"Off", ""}},
      {38, 0, "", {"Off", ""}},
      {39, 0, "773", {"Fire", "Fire: Interval<5> Count<3>"}},     // 0x0305
      {39, 0, "-65531", {"Fire", "Fire: Interval<5> Count<0>"}},  // 0xFFFF0005
      {39, 0, "", {"Fire", "Fire: Interval<1> Count<0>"}},  // no interval of 0: it would flood
      {40, 0, "65537", {"Macro: Burst", "Macro: Burst"}},   // slot 1, repeat once
      {40, 0, "65536", {"Macro: Reload", "Macro: Reload"}},
      {40, 0, "0", {"Off", ""}},                                 // no macro chosen
      {40, 0, "65538", {"Off", ""}},                             // slot 2 holds none
      {40, 0, "65552", {"Off", ""}},                             // slot 16: no slot at all
      {40, 0, "-2147352575", {"Macro: Burst", "Macro: Burst"}},  // 0x80020001
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + " " + c.extension);
    EXPECT_EQ(Of(c.code, c.parameter, c.extension), c.expected);
  }
}

}  // namespace
}  // namespace vexlo
