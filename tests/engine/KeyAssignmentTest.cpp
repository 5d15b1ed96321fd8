#include <gtest/gtest.h>

#include <string>

#include "common/Text.h"
#include "engine/KeyAssignment.h"

namespace vexlo {
namespace {

TEST(KeyAssignment, FactoriesFillTheFieldsTheirCodeUses) {
  const struct {
    const char* what;
    KeyAssignment made;
    KeyAssignment expected;
  } cases[] = {
      {"plain", KeyAssignment::Plain(24), {24, 0, ""}},
      {"single key", KeyAssignment::SingleKey(0x1E), {37, 0x1E, ""}},
      {"program", KeyAssignment::LaunchProgram("/usr/bin/gimp"), {38, 0, "/usr/bin/gimp"}},
      {"fire key", KeyAssignment::FireKey({5, 3}), {39, 0, "773"}},
      {"fire key, interval 0", KeyAssignment::FireKey({0, 0}), {39, 0, "1"}},
      {"macro", KeyAssignment::Macro({15, MacroLoopMode::RepeatCount, 65535}), {40, 0, "-65521"}},
      {"macro on release",
       KeyAssignment::Macro({2, MacroLoopMode::StopOnRelease, 7}),
       {40, 0, "66050"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.made, c.expected) << c.what;
}

TEST(KeyAssignment, ProgramPathIsCutToTheBuffer) {
  const std::string path = "/" + std::string(300, 'p');
  const KeyAssignment assignment = KeyAssignment::LaunchProgram(path);
  EXPECT_EQ(assignment.extension, path.substr(0, 259));
  // Characters outside the basic plane count two units and are never split.
  const std::string wide = std::string(258, 'a') + "\xF0\x9F\x98\x80";
  EXPECT_EQ(KeyAssignment::LaunchProgram(wide).extension, std::string(258, 'a'));
}

TEST(KeyAssignment, StoresAndReadsEveryButton) {
  DeviceSettings device;
  FillDefaults(device);
  const KeyAssignment assignments[kButtonCount] = {
      KeyAssignment::Plain(1),
      KeyAssignment::Plain(0),
      KeyAssignment::SingleKey(0xB7),
      KeyAssignment::LaunchProgram("/opt/tool"),
      KeyAssignment::FireKey({9, 0}),
      KeyAssignment::Macro({3, MacroLoopMode::StopOnSecondPress, 1}),
      KeyAssignment::Plain(43),
  };
  for (int button = 0; button < kButtonCount; ++button) {
    ASSERT_EQ(StoreKeyAssignment(device, button, assignments[button]), Result::Ok);
  }
  for (int button = 0; button < kButtonCount; ++button) {
    EXPECT_EQ(KeyAssignmentOf(device, button), assignments[button]) << button;
  }
  EXPECT_EQ(device.pbyKeySet[4], 39);
  EXPECT_EQ(device.ppszKeyExt[4], "9");
  EXPECT_EQ(device.pdwKeyParameter[2], 0xB7u);
}

TEST(KeyAssignment, RefusesButtonsOutOfRange) {
  DeviceSettings device;
  FillDefaults(device);
  const DeviceSettings before = device;
  EXPECT_EQ(StoreKeyAssignment(device, 7, KeyAssignment::Plain(5)), Result::InvalidParameter);
  EXPECT_EQ(StoreKeyAssignment(device, -1, KeyAssignment::Plain(5)), Result::InvalidParameter);
  EXPECT_EQ(device, before);
  EXPECT_EQ(KeyAssignmentOf(device, 7), KeyAssignment::Plain(5));
  EXPECT_EQ(KeyAssignmentOf(device, -1), KeyAssignment::Plain(5));
}

TEST(KeyAssignment, DropsTheExtensionOfCodesWithout) {
  DeviceSettings device;
  FillDefaults(device);
  ASSERT_EQ(StoreKeyAssignment(device, 3, {5, 0, "leftover"}), Result::Ok);
  EXPECT_EQ(device.ppszKeyExt[3], "");
  ASSERT_EQ(StoreKeyAssignment(device, 3, {40, 0, "300"}), Result::Ok);
  EXPECT_EQ(device.ppszKeyExt[3], "300");
}

TEST(SingleKeyUsage, TheKeyOfTheParametersLowByte) {
  const struct {
    std::uint32_t parameter;
    HidUsage usage;
  } cases[] = {
      {0x1E, {0x07, 0x04}}, {0x11E, {0x07, 0x04}}, {0xA0, {0x0C, 0x0E2}}, {0xDE, {0x01, 0x81}},
      {0xB7, {0x07, 0x46}}, {0x9D, {0x07, 0xE4}},  {0x00, {0x07, 0x00}},  {0x36, {0x07, 0x00}},
  };
  for (const auto& c : cases) EXPECT_EQ(SingleKeyUsage(c.parameter), c.usage) << c.parameter;
}

}  // namespace
}  // namespace vexlo
