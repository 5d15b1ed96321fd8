#include "device/DeviceCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "DeviceTestSupport.h"
#include "FakeUserMessages.h"
#include "TempFolder.h"
#include "common/Messages.h"
#include "profiles/ProfileFile.h"

namespace vexlo {
namespace {

using test::FakeUserMessages;
using test::RecordingTarget;
using test::SimMachine;

// The registers of a factory-new mouse of model 2 after the link has opened (bit 5 of register
// 0x0F set by the host).
constexpr SimRegisters kModel2AtOpen = {
    0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
    0x00, 0x00, 0x21, 0x09, 0x05, 0x04, 0x02, 0x23,  //
    0x0A, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
};

class DeviceCommandsTest : public ::testing::Test {
 protected:
  explicit DeviceCommandsTest(SimState state = {}) : machine_(std::move(state)) {
    FillDefaults(profile_);
  }

  void Connect() { ASSERT_EQ(session_.Connect(), Result::Ok); }
  SimEnvironment& Sim() { return *machine_.sim; }
  SimRegisters MouseRegisters() { return Sim().State().mouse.registers; }
  std::uint64_t Transfers() { return Sim().State().hidFilter.transfers; }
  DeviceSettings& Device() { return profile_.device; }

  SimMachine machine_;
  FakeUserMessages messages_;
  DeviceLink link_{*machine_.platform.devices, *machine_.platform.hid};
  DeviceSession session_{link_, messages_};
  ProfileData profile_;
  DeviceCommands commands_{session_, profile_.device};
};

TEST_F(DeviceCommandsTest, NothingHappensBeforeTheMouseIsConnected) {
  Device().pwDpi[0] = 9000;
  Device().byReportRateIndex = 9;
  Device().byLightMode = 9;
  Device().pbyCpiColorIdx[2] = 99;
  const DeviceSettings before = Device();
  const RegisterBank image = session_.RegisterImage();

  EXPECT_EQ(commands_.ApplyButtons(DeviceCommands::kAllButtons), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyButtons(0), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyButtons(5), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyDpiLevel(0), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyReportRate(), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyLighting(), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyDpiLevel(4), Result::BadData);
  EXPECT_EQ(commands_.ApplyDpiLevel(-1), Result::BadData);

  EXPECT_EQ(Device(), before);
  EXPECT_EQ(session_.RegisterImage(), image);
  EXPECT_EQ(Transfers(), 0u);
  EXPECT_FALSE(Sim().State().mouseFilter.interception.has_value());
}

TEST_F(DeviceCommandsTest, AMouseThatWentAwayIsNotConnectedOnceNoticed) {
  Connect();
  ASSERT_EQ(Sim().Unplug(), Result::Ok);
  // Until the session notices, the commands meet the driver's answer.
  EXPECT_EQ(commands_.ApplyDpiLevel(0), Result::DeviceNotConnected);
  EXPECT_EQ(commands_.ApplyReportRate(), Result::DeviceNotConnected);
  EXPECT_FALSE(session_.CheckAlive());
  const std::uint64_t transfers = Transfers();
  EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::NotConnected);
  EXPECT_EQ(commands_.ApplyLighting(), Result::NotConnected);
  EXPECT_EQ(Transfers(), transfers);
}

TEST_F(DeviceCommandsTest, AClosedLinkChangesTheImageAndTheProfileButWritesNothing) {
  Connect();
  (void)link_.Close();  // always Ok; the session still counts the mouse as connected
  const std::uint64_t transfers = Transfers();
  Device().pwDpi[2] = 3600;
  Device().byReportRateIndex = 7;
  Device().pbyCpiColorIdx[0] = 30;
  Device().pbyKeySet[5] = 43;

  EXPECT_EQ(commands_.ApplyButtons(DeviceCommands::kAllButtons), Result::NotFound);
  EXPECT_EQ(commands_.ApplyButtons(1), Result::NotFound);
  EXPECT_EQ(commands_.ApplyButtons(6), Result::NotFound);
  EXPECT_EQ(commands_.ApplyDpiLevel(2), Result::NotFound);
  EXPECT_EQ(commands_.ApplyReportRate(), Result::NotFound);
  EXPECT_EQ(commands_.ApplyLighting(), Result::NotFound);
  EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::NotFound);

  EXPECT_EQ(Transfers(), transfers);
  EXPECT_EQ(Device().byReportRateIndex, 3);
  EXPECT_EQ(Device().pbyCpiColorIdx[0], 15);
  RegisterBank expected = kModel2AtOpen;
  expected[0x02] = 0xF3;  // colour 15
  expected[0x04] = 0x41;  // step 17
  expected[0x08] = 0x08;
  expected[0x0B] = 0x08;  // button 5 cycles the level
  EXPECT_EQ(session_.RegisterImage(), expected);
}

TEST_F(DeviceCommandsTest, SensitivityValuesAreClampedAndSplitIntoTheirRegisters) {
  Connect();
  const struct {
    int level;
    std::uint16_t value;
    std::uint16_t stored;
    std::uint8_t highBits;  // register 0x08
    std::uint8_t levelByte;
  } cases[] = {
      {0, 150, 200, 0x00, 0x00},   {0, 4300, 4200, 0x20, 0x04}, {0, 800, 800, 0x00, 0x03},
      {2, 3600, 3600, 0x08, 0x41}, {1, 3400, 3400, 0x18, 0x80}, {3, 65535, 4200, 0x1C, 0x24},
      {1, 3399, 3399, 0x0C, 0x8F}, {2, 200, 200, 0x04, 0x40},   {3, 0, 200, 0x00, 0x20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "level " << c.level << " value " << c.value);
    Device().pwDpi[static_cast<std::size_t>(c.level)] = c.value;
    const std::uint64_t transfers = Transfers();
    EXPECT_EQ(commands_.ApplyDpiLevel(c.level), Result::Ok);
    EXPECT_EQ(Transfers(), transfers + 2);
    EXPECT_EQ(Device().pwDpi[static_cast<std::size_t>(c.level)], c.stored);
    EXPECT_EQ(MouseRegisters()[0x08], c.highBits);
    EXPECT_EQ(MouseRegisters()[0x02 + c.level], c.levelByte);
    EXPECT_EQ(session_.RegisterImage(), MouseRegisters());
  }
}

TEST_F(DeviceCommandsTest, EachReportRateIndexSendsItsFactor) {
  Connect();
  const struct {
    std::uint8_t index;
    std::uint8_t stored;
    double factor;
  } cases[] = {{0, 0, 0.125}, {1, 1, 0.25}, {2, 2, 0.5}, {3, 3, 1.0}, {4, 3, 1.0}, {9, 3, 1.0}};
  const std::uint64_t transfers = Transfers();
  for (const auto& c : cases) {
    Device().byReportRateIndex = c.index;
    EXPECT_EQ(commands_.ApplyReportRate(), Result::Ok);
    EXPECT_EQ(Device().byReportRateIndex, c.stored);
    EXPECT_EQ(Sim().State().mouseFilter.reportRateFactor, c.factor) << int{c.index};
  }
  EXPECT_EQ(Transfers(), transfers);  // the mouse filter is no vendor transfer
}

TEST_F(DeviceCommandsTest, LightingClampsItsFieldsAndKeepsTheButtonBitsOfRegister0A) {
  Connect();
  Device().pbyKeySet[3] = 6;  // button 3 (register 0x0A on model 2) reports to the host
  ASSERT_EQ(commands_.ApplyButtons(3), Result::Ok);
  ASSERT_EQ(MouseRegisters()[0x0A], 0x2C);

  const struct {
    std::uint8_t mode;
    std::uint8_t stored;
    std::uint8_t register0A;
  } cases[] = {{0, 0, 0x0C}, {1, 1, 0x2C}, {2, 2, 0x6C}, {3, 3, 0x8C},
               {4, 4, 0xAC}, {5, 5, 0xEC}, {6, 5, 0xEC}, {200, 5, 0xEC}};
  for (const auto& c : cases) {
    Device().byLightMode = c.mode;
    EXPECT_EQ(commands_.ApplyLighting(), Result::Ok);
    EXPECT_EQ(Device().byLightMode, c.stored);
    EXPECT_EQ(MouseRegisters()[0x0A], c.register0A) << int{c.mode};
  }

  Device().byLightBrightness = 9;
  Device().byLightSpeed = 5;
  Device().pbyCpiColorIdx = {20, 15, 0, 16};
  const std::uint64_t transfers = Transfers();
  EXPECT_EQ(commands_.ApplyLighting(), Result::Ok);
  EXPECT_EQ(Transfers(), transfers + 5);
  EXPECT_EQ(Device().byLightBrightness, 4);
  EXPECT_EQ(Device().byLightSpeed, 4);
  EXPECT_EQ(Device().pbyCpiColorIdx, (std::array<std::uint8_t, 4>{15, 15, 0, 15}));
  EXPECT_EQ(MouseRegisters()[0x02], 0xF3);
  EXPECT_EQ(MouseRegisters()[0x03], 0xF4);
  EXPECT_EQ(MouseRegisters()[0x04], 0x07);
  EXPECT_EQ(MouseRegisters()[0x05], 0xFF);
}

// Which buttons ApplyButtons sends: the table (left, right, middle) and which registers.
TEST_F(DeviceCommandsTest, ApplyButtonsSendsWhatItIsAskedFor) {
  Connect();
  Device().pbyKeySet = {1, 1, 2, 37, 38, 43, 0};
  const struct {
    int which;
    bool table;
    std::vector<std::uint8_t> registers;  // model 2: buttons 3, 4, 5, 6 in 0x0A, 0x09, 0x0B, 0x10
  } cases[] = {
      {0, true, {}},
      {1, true, {}},
      {2, true, {}},
      {3, false, {0x0A}},
      {4, false, {0x09}},
      {5, false, {0x0B}},
      {6, false, {0x10}},
      {7, true, {0x0A, 0x09, 0x0B, 0x10}},
      {-1, true, {0x0A, 0x09, 0x0B, 0x10}},
  };
  const RegisterBank written = {
      0x00, 0x00, 0x03, 0x84, 0x47, 0x2F, 0x00, 0x00,  //
      0x00, 0x10, 0x2C, 0x08, 0x05, 0x04, 0x02, 0x23,  //
      0x13, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.which);
    ASSERT_EQ(link_.WriteRegister(0x09, 0x00), Result::Ok);  // the factory functions again
    ASSERT_EQ(link_.WriteRegister(0x0A, 0x21), Result::Ok);
    ASSERT_EQ(link_.WriteRegister(0x0B, 0x09), Result::Ok);
    ASSERT_EQ(link_.WriteRegister(0x10, 0x0A), Result::Ok);
    (void)link_.Close();
    ASSERT_EQ(link_.Open(), Result::Ok);  // no interception table yet
    const std::uint64_t transfers = Transfers();

    EXPECT_EQ(commands_.ApplyButtons(c.which), Result::Ok);
    EXPECT_EQ(Transfers(), transfers + c.registers.size());
    EXPECT_EQ(Sim().State().mouseFilter.interception.has_value(), c.table);
    for (const std::uint8_t reg : {0x09, 0x0A, 0x0B, 0x10}) {
      const bool sent = std::find(c.registers.begin(), c.registers.end(), reg) != c.registers.end();
      EXPECT_EQ(MouseRegisters()[reg], sent ? written[reg] : kModel2AtOpen[reg]) << int{reg};
    }
  }
}

TEST_F(DeviceCommandsTest, TheInterceptionRecordsNameTheLinksEvents) {
  Connect();
  Device().pbyKeySet[0] = 5;
  Device().pbyKeySet[2] = 40;
  ASSERT_EQ(commands_.ApplyButtons(0), Result::Ok);
  const auto records = *Sim().State().mouseFilter.interception;
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    const bool enabled = i != 2 && i != 3;  // the right button keeps its own function
    EXPECT_EQ(records[i], (SimInterceptRecord{enabled, static_cast<std::uint8_t>(enabled ? 2 : 0),
                                              static_cast<std::uint16_t>(1u << i),
                                              enabled ? link_.EventDriverValue(i) : 0}));
  }
}

// The mouse does what the commands told it: an intercepted button becomes an event, a button
// that reports to the host becomes a report of its event code, a sensitivity function changes
// the level, and a button back on its factory function is the mouse's again.
TEST_F(DeviceCommandsTest, TheMouseActsOnWhatTheButtonsWereGiven) {
  RecordingTarget window;
  session_.SetEventTarget(&window);
  Connect();
  Device().pbyKeySet = {1, 1, 2, 3, 11, 0, 43};
  ASSERT_EQ(commands_.ApplyButtons(DeviceCommands::kAllButtons), Result::Ok);

  ASSERT_EQ(Sim().Click(2), Result::Ok);  // its own function: nothing for the host
  ASSERT_EQ(Sim().Click(3), Result::Ok);  // its own function
  ASSERT_EQ(Sim().Click(0), Result::Ok);  // intercepted: down and up
  // The driver's events and the reports come on threads of their own: one kind at a time.
  ASSERT_EQ(window.posted.WaitFor(2).size(), 2u);
  ASSERT_EQ(Sim().Click(5), Result::Ok);  // reports to the host
  ASSERT_EQ(Sim().Click(4), Result::Ok);
  using Message = RecordingTarget::Message;
  EXPECT_EQ(window.posted.WaitFor(6), (std::vector<Message>{{UM_BUTTON_EVENT, 1, 0x11},
                                                            {UM_BUTTON_EVENT, 1, 0},
                                                            {UM_BUTTON_EVENT, 1, 0x16},
                                                            {UM_BUTTON_EVENT, 1, 0},
                                                            {UM_BUTTON_EVENT, 1, 0x15},
                                                            {UM_BUTTON_EVENT, 1, 0}}));

  for (const int level : {1, 2, 3, 0, 1}) {  // button 6 cycles the level
    ASSERT_EQ(Sim().Click(6), Result::Ok);
    EXPECT_EQ(Sim().State().mouse.level, level);
  }

  Device().pbyKeySet = {0, 1, 2, 3, 4, 42, 41};  // 5 and 6 swapped, the rest the mouse's own
  ASSERT_EQ(commands_.ApplyButtons(DeviceCommands::kAllButtons), Result::Ok);
  ASSERT_EQ(Sim().Click(0), Result::Ok);
  ASSERT_EQ(Sim().Click(4), Result::Ok);
  ASSERT_EQ(Sim().Click(5), Result::Ok);
  EXPECT_EQ(Sim().State().mouse.level, 0);
  ASSERT_EQ(Sim().Click(6), Result::Ok);
  ASSERT_EQ(Sim().Click(6), Result::Ok);
  EXPECT_EQ(Sim().State().mouse.level, 2);
  ASSERT_EQ(Sim().Click(3), Result::Ok);
  Device().pbyKeySet[3] = 6;
  ASSERT_EQ(commands_.ApplyButtons(3), Result::Ok);
  ASSERT_EQ(Sim().Click(3), Result::Ok);  // the first event since the buttons went back
  EXPECT_EQ(window.posted.WaitFor(8).at(6), (Message{UM_BUTTON_EVENT, 1, 0x14}));
  session_.SetEventTarget(nullptr);
}

// A transfer that fails anywhere in the middle of sending the profile: the command answers the
// failure, the link stays open and the next attempt sends everything.
TEST_F(DeviceCommandsTest, AFailingTransferAnywhereIsAnsweredAndTheNextApplyRecovers) {
  Connect();
  Device().pbyKeySet = {0, 1, 2, 4, 3, 43, 5};
  Device().pwDpi = {400, 1200, 3400, 4200};
  Device().pbyCpiColorIdx = {1, 2, 3, 4};
  Device().byLightMode = 4;
  const RegisterBank expected = {
      0x00, 0x00, 0x11, 0x25, 0x30, 0x44, 0x00, 0x00,  //
      0x0C, 0x10, 0xAC, 0x08, 0x05, 0x04, 0x02, 0x23,  //
      0x13, 0x07, 0x00, 0x00, 0x00, 0x00, 0x1E, 0xB7,  //
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
  };
  // 4 button registers, 2 writes for each of the 4 levels, the light effect and 4 colours.
  constexpr std::uint32_t kTransfersOfAnApply = 17;
  std::uint64_t transfers = Transfers();
  ASSERT_EQ(commands_.ApplyDeviceSettings(), Result::Ok);
  ASSERT_EQ(Transfers(), transfers + kTransfersOfAnApply);
  ASSERT_EQ(MouseRegisters(), expected);

  for (std::uint32_t pass = 0; pass < kTransfersOfAnApply; ++pass) {
    SCOPED_TRACE(pass);
    Sim().SetFaults({.passTransfers = pass, .failTransfers = 1, .failWith = Result::IoDevice});
    EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::IoDevice);
    EXPECT_TRUE(link_.IsOpen());
    EXPECT_TRUE(session_.CheckAlive());
    transfers = Transfers();
    EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::Ok);
    EXPECT_EQ(Transfers(), transfers + kTransfersOfAnApply);
    EXPECT_EQ(MouseRegisters(), expected);
  }
}

TEST_F(DeviceCommandsTest, AFailureStopsTheRestOfTheProfile) {
  Connect();
  Device().pwDpi = {200, 200, 200, 200};
  Device().byReportRateIndex = 0;
  // Buttons (4 writes), level 0 (2), then the high-bit write of level 1 fails.
  Sim().SetFaults({.passTransfers = 6, .failTransfers = 1, .failWith = Result::GeneralFailure});
  EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::GeneralFailure);
  EXPECT_EQ(MouseRegisters()[0x02], 0x00);  // level 0 went through
  EXPECT_EQ(MouseRegisters()[0x03], 0x80);  // level 1's own register was still written
  EXPECT_EQ(MouseRegisters()[0x04], 0x47);  // levels 2 and 3 were not sent
  EXPECT_EQ(MouseRegisters()[0x05], 0x2F);
  EXPECT_EQ(Sim().State().mouseFilter.reportRateFactor, std::nullopt);
}

TEST_F(DeviceCommandsTest, EveryWriteOfACommandIsTriedAndTheFirstFailureAnswered) {
  Connect();
  Device().pbyCpiColorIdx = {5, 6, 7, 8};
  // The light effect goes through, the colour of level 0 fails, the others go through.
  Sim().SetFaults({.passTransfers = 1, .failTransfers = 1, .failWith = Result::IoDevice});
  EXPECT_EQ(commands_.ApplyLighting(), Result::IoDevice);
  EXPECT_EQ(MouseRegisters()[0x02], 0x03);
  EXPECT_EQ(MouseRegisters()[0x03], 0x64);
  EXPECT_EQ(MouseRegisters()[0x05], 0x8F);

  // A failed high bit is answered although the level's own register went through.
  Device().pwDpi[1] = 4000;
  Sim().SetFaults({.failTransfers = 1, .failWith = Result::IoDevice});
  EXPECT_EQ(commands_.ApplyDpiLevel(1), Result::IoDevice);
  EXPECT_EQ(MouseRegisters()[0x03], 0x63);

  Device().pbyKeySet[4] = 0;
  Sim().SetFaults({.failTransfers = 1, .failWith = Result::IoDevice});
  EXPECT_EQ(commands_.ApplyButtons(4), Result::IoDevice);
}

TEST_F(DeviceCommandsTest, AMousePulledOutMidwayIsAnsweredAsGone) {
  Connect();
  Sim().SetFaults({.passTransfers = 5, .unplugDuringTransfer = true});
  EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::DeviceNotConnected);
  EXPECT_FALSE(session_.CheckAlive());
  EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::NotConnected);
  ASSERT_EQ(Sim().Plug(), Result::Ok);
  Connect();
  EXPECT_EQ(commands_.ApplyDeviceSettings(), Result::Ok);
}

// What the commands wrote is what the mouse holds when the link reads it again; only the button
// functions are read back as the factory's.
TEST_F(DeviceCommandsTest, TheRegistersSentAreReadBackAtTheNextConnect) {
  Connect();
  Device().pbyKeySet = {0, 1, 2, 6, 6, 6, 6};
  Device().pwDpi = {4200, 3600, 600, 200};
  Device().pbyCpiColorIdx = {15, 14, 13, 12};
  Device().byLightMode = 2;
  ASSERT_EQ(commands_.ApplyDeviceSettings(), Result::Ok);
  const RegisterBank sent = session_.RegisterImage();
  ASSERT_EQ(MouseRegisters(), sent);

  ASSERT_EQ(Sim().Unplug(), Result::Ok);
  EXPECT_FALSE(session_.CheckAlive());
  ASSERT_EQ(Sim().Plug(), Result::Ok);
  Connect();
  RegisterBank readBack = sent;
  const std::pair<std::size_t, std::uint8_t> factoryFunctions[] = {
      {0x09, 0x00}, {0x0A, 0x01}, {0x0B, 0x09}, {0x10, 0x0A}};
  for (const auto& [reg, factory] : factoryFunctions) {
    readBack[reg] = static_cast<std::uint8_t>((sent[reg] & 0xE0) | factory);
  }
  EXPECT_EQ(session_.RegisterImage(), readBack);
  ASSERT_EQ(commands_.ApplyDeviceSettings(), Result::Ok);
  EXPECT_EQ(MouseRegisters(), sent);
}

TEST_F(DeviceCommandsTest, LightResetSendsAndSavesTheDefaultLighting) {
  test::TempFolder folder;
  const std::string file = folder / "Gaming.ini";
  Connect();
  Device().pwDpi = {4200, 4200, 4200, 4200};
  Device().byLightMode = 5;
  Device().byLightParameter = 3;
  Device().byLightBrightness = 0;
  Device().byLightSpeed = 0;
  Device().crLight = 0x123456;
  Device().pbyCpiColorIdx = {9, 9, 9, 9};
  Device().pbyKeySet[5] = 43;
  ASSERT_EQ(WriteProfile(file, profile_), Result::Ok);
  ASSERT_EQ(commands_.ApplyDeviceSettings(), Result::Ok);

  const std::uint64_t transfers = Transfers();
  EXPECT_EQ(commands_.ResetLighting(file), Result::Ok);
  EXPECT_EQ(Transfers(), transfers + 8 + 5);
  RegisterBank expected = kModel2AtOpen;
  expected[0x0B] = 0x08;  // buttons are not the lighting's
  EXPECT_EQ(MouseRegisters(), expected);

  ProfileData defaults;
  FillDefaults(defaults);
  defaults.device.pbyKeySet[5] = 43;
  EXPECT_EQ(Device(), defaults.device);
  ProfileData saved;
  ASSERT_EQ(ReadProfile(file, saved), Result::Ok);
  EXPECT_EQ(saved.device, defaults.device);
}

TEST_F(DeviceCommandsTest, LightResetWithoutAMouseOnlySaves) {
  test::TempFolder folder;
  const std::string file = folder / "Quiet.ini";
  Device().byLightMode = 0;
  Device().pwDpi[3] = 400;
  ASSERT_EQ(WriteProfile(file, profile_), Result::Ok);
  EXPECT_EQ(commands_.ResetLighting(file), Result::Ok);
  EXPECT_EQ(Transfers(), 0u);
  ProfileData saved;
  ASSERT_EQ(ReadProfile(file, saved), Result::Ok);
  EXPECT_EQ(saved.device.byLightMode, 1);
  EXPECT_EQ(saved.device.pwDpi[3], 3200);

  // A file that cannot be written is the answer, and the values are reset all the same.
  Device().byLightMode = 0;
  EXPECT_NE(commands_.ResetLighting(folder / "Quiet.ini/Gone.ini"), Result::Ok);
  EXPECT_EQ(Device().byLightMode, 1);
}

}  // namespace
}  // namespace vexlo
