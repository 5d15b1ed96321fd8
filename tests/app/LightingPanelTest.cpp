#include "app/panels/LightingPanel.h"

#include <QLabel>

#include "PagePanelFixture.h"
#include "app/MainWindowLayout.h"
#include "device/DeviceCommands.h"
#include "skin/CColorButton.h"
#include "skin/CImageBtn.h"

namespace vexlo {
namespace {

constexpr int kModeCommands[6] = {32795, 32791, 32792, 32793, 32790, 32794};
constexpr int kFirstColourCommand = 33218;
// Register 0x0A of the simulated mouse (model 2) after the link opened: its button's factory
// function in bits 4..0 and breathing in the level colour (effect 1) in bits 7..5.
constexpr std::uint8_t kLightRegisterAtOpen = 0x21;

// The lighting page, shown, for a mouse of model 2 (Pirul).
class LightingPanelTest : public test::PagePanelFixture {
 protected:
  explicit LightingPanelTest(bool throughVexloSim = false) : PagePanelFixture(throughVexloSim) {}

  SkinFile<DibImage> pageSkin{settings.SkinFolder + "Light.ini"};
  std::unique_ptr<LightingPanel> panel;

  void SetUp() override {
    PagePanelFixture::SetUp();
    settings.nDevModel = 1;
    ASSERT_EQ(pageSkin.Load(), Result::Ok);
    panel = std::make_unique<LightingPanel>(window, context, pageSkin);
    panel->ShowPage(kPageLighting);
    window.show();
  }

  void TearDown() override {
    panel.reset();
    PagePanelFixture::TearDown();
  }

  CImageBtn& ModeButton() { return Find<CImageBtn>("BTN_LIGHT_MODE"); }
  CImageSlider& Level(int level) { return Find<CImageSlider>(Key("SLD_MOUSE_CPI", level)); }
  QLabel& Value(int level) { return Find<QLabel>(Key("STA_MOUSE_CPI_VALUE", level)); }
  CColorButton& Colour(int level) { return Find<CColorButton>(Key("BTN_MOUSE_CPI_COLOR", level)); }
  static std::string Key(const char* key, int level) { return key + std::to_string(level + 1); }
  bool ColoursVisible() {
    for (int level = 0; level < 4; ++level) {
      if (Colour(level).isVisible() != Colour(0).isVisible()) ADD_FAILURE() << level;
    }
    return Colour(0).isVisible();
  }
  std::string Text(const char* key) const { return language.LookupText(key); }
  // The profile file is replaced whole by every write, so each write gives it a new inode.
  ino_t ProfileIdentity() {
    struct stat info {};
    return ::stat(profiles.CurrentPath().c_str(), &info) == 0 ? info.st_ino : 0;
  }
  DeviceSettings& Device() { return profiles.Data().device; }
};

// The same, with the mouse in-process and in a vexlo-sim of the test's own.
class LightingOnMachineTest : public LightingPanelTest, public testing::WithParamInterface<bool> {
 protected:
  LightingOnMachineTest() : LightingPanelTest(GetParam()) {}
};
INSTANTIATE_TEST_SUITE_P(Machines, LightingOnMachineTest, testing::Values(false, true),
                         test::MachineName);

TEST_F(LightingPanelTest, TheModelAndTheModeDecideWhatShows) {
  const struct {
    std::uint32_t model;
    std::uint8_t mode;
    bool modeEnabled;
    const char* caption;
    bool colours;
  } cases[] = {
      {0, 1, false, "INFO_LIGHT_MODE_COLORFUL", false},
      {2, 5, true, "INFO_LIGHT_MODE_CLOSE", false},
      {2, 0, true, "INFO_LIGHT_MODE_CPI_STATIC", true},
      {3, 4, true, "INFO_LIGHT_MODE_IDLE_768COLORS", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.model) + " " + std::to_string(c.mode));
    settings.nDevModel = c.model;
    Device().byLightMode = c.mode;
    panel->RefreshLighting();
    EXPECT_EQ(ModeButton().isEnabled(), c.modeEnabled);
    EXPECT_EQ(ModeButton().text().toStdString(), Text(c.caption));
    EXPECT_EQ(ColoursVisible(), c.colours);
    EXPECT_TRUE(Find<QLabel>("STA_MOUSE_CPI4").isVisible());
    EXPECT_FALSE(Find<QWidget>("BTN_LIGHT_COLOR_PICKER").isVisible());
    EXPECT_FALSE(Find<QWidget>("SLD_LIGHT_BRIGHTNESS").isVisible());
  }

  // The table applies while the page shows only.
  panel->ShowPage(kPagePerformance);
  EXPECT_FALSE(ColoursVisible());
  EXPECT_FALSE(ModeButton().isVisible());
  panel->RefreshLighting();
  EXPECT_FALSE(ColoursVisible());
}

TEST_P(LightingOnMachineTest, EachModeReachesTheEffectBitsAndTheFile) {
  constexpr std::uint8_t kExpected[6] = {0x01, 0x21, 0x61, 0x81, 0xA1, 0xE1};
  ASSERT_EQ(Register(0x0A), kLightRegisterAtOpen);
  for (int mode : {5, 0, 1, 2, 3, 4, 5}) {
    SCOPED_TRACE(mode);
    ChooseInMenu(ModeButton(), kModeCommands[mode]);
    EXPECT_EQ(Register(0x0A), kExpected[mode]);
    EXPECT_EQ(Saved("byLightMode"), std::to_string(mode));
    EXPECT_EQ(ColoursVisible(), mode != 5) << "at once";
  }
}

TEST_P(LightingOnMachineTest, LevelsShowTheirValueAndReachTheRegistersOnRelease) {
  const struct {
    int level;
    int position;
    std::uint16_t value;
    int reg;
    std::uint8_t byte;     // the level's register: colour high, step low
    std::uint8_t highBit;  // its bit of register 0x08
  } cases[] = {
      {0, 20, 4200, 0x02, 0x04, 0x20},  // step 20: colour 0, low nibble 4, bit 4 in 0x08
      {2, 17, 3600, 0x04, 0x41, 0x08},  // step 17: colour 4
      {3, 0, 200, 0x05, 0x20, 0x00},    // step 0: colour 2
      {1, 4, 1000, 0x03, 0x84, 0x00},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    ClickSliderAt(Level(c.level), c.position);
    EXPECT_EQ(Value(c.level).text(), QString::number(c.value));
    EXPECT_EQ(Saved(Key("pwDpi", c.level - 1)), std::to_string(c.value));
    EXPECT_EQ(Register(c.reg), c.byte);
    EXPECT_EQ(Register(0x08) & (0x20 >> c.level), c.highBit);
  }
  Device().pwDpi[1] = 4200;
  panel->RefreshLevels();
  EXPECT_EQ(Level(1).GetPos(), 20);
  EXPECT_EQ(Value(1).text(), "4200");
}

TEST_F(LightingPanelTest, ASliderThatOutlivesThePanelTellsNoOne) {
  CImageSlider& slider = Level(0);
  QTest::mousePress(&slider, Qt::LeftButton, {}, SliderPoint(slider, 3));
  QTest::mouseMove(&slider, SliderPoint(slider, 9));
  panel.reset();  // the window's end: its controls go after the panels
  QTest::keyClick(&slider, Qt::Key_Escape);
  Settle();
  EXPECT_EQ(slider.GetPos(), 3);
}

TEST_F(LightingPanelTest, KeysOnALevelSliderChooseAtOnce) {
  const struct {
    Qt::Key key;
    const char* value;
  } cases[] = {
      {Qt::Key_End, "4200"}, {Qt::Key_Left, "4000"}, {Qt::Key_Home, "200"}, {Qt::Key_Right, "400"}};
  Level(0).setFocus();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    QTest::keyClick(&Level(0), c.key);
    Settle();
    EXPECT_EQ(Value(0).text().toStdString(), c.value);
    EXPECT_EQ(Saved("pwDpi0"), c.value);
  }
}

TEST_P(LightingOnMachineTest, ADragShowsTheValueButSendsAndStoresOnlyOnRelease) {
  CImageSlider& slider = Level(2);
  const std::string before = Saved("pwDpi2");
  const ino_t file = ProfileIdentity();
  const std::uint64_t transfers = Transfers();
  QTest::mousePress(&slider, Qt::LeftButton, {}, SliderPoint(slider, 7));
  QTest::mouseMove(&slider, SliderPoint(slider, 12));
  Settle();
  EXPECT_EQ(Value(2).text(), "2600");
  EXPECT_EQ(Saved("pwDpi2"), before);
  EXPECT_EQ(ProfileIdentity(), file) << "written during the drag";
  EXPECT_EQ(Transfers(), transfers);
  EXPECT_EQ(Device().pwDpi[2], 1600);

  // A drag that ends with Escape takes the value back with the thumb.
  QTest::keyClick(&slider, Qt::Key_Escape);
  Settle();
  EXPECT_EQ(Value(2).text(), "1600");
  EXPECT_EQ(Transfers(), transfers);

  QTest::mousePress(&slider, Qt::LeftButton, {}, SliderPoint(slider, 7));
  QTest::mouseMove(&slider, SliderPoint(slider, 12));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, SliderPoint(slider, 12));
  Settle();
  EXPECT_EQ(Saved("pwDpi2"), "2600");
  EXPECT_GT(Transfers(), transfers);
  EXPECT_EQ(Register(0x04), 0x4C);
}

TEST_P(LightingOnMachineTest, EachColourChoiceReachesTheButtonTheHighNibbleAndTheFile) {
  // Registers 0x02..0x05 keep the new profile's steps 3, 4, 7 and 15 in their low nibble.
  constexpr std::uint8_t kSteps[4] = {0x03, 0x04, 0x07, 0x0F};
  for (int index = 0; index < 16; ++index) {
    const int level = index % 4;
    SCOPED_TRACE(index);
    ChooseInMenu(Colour(level), kFirstColourCommand + index);
    EXPECT_EQ(Register(0x02 + level), index << 4 | kSteps[level]);
    EXPECT_EQ(Saved(Key("pbyCpiColorIdx", level - 1)), std::to_string(index));
  }
  EXPECT_EQ(Colour(0).FillColour(), 0x8080FFu);  // index 12: RGB(255, 128, 128)
  EXPECT_EQ(Colour(1).FillColour(), 0x80FF80u);  // index 13: RGB(128, 255, 128)
}

TEST_F(LightingPanelTest, UnpluggedChangesReachTheFileAndTheMouseWithTheNextWholeProfile) {
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  EXPECT_FALSE(device.CheckAlive());
  ChooseInMenu(Colour(3), kFirstColourCommand + 6);
  ClickSliderAt(Level(3), 16);
  ChooseInMenu(ModeButton(), kModeCommands[3]);
  EXPECT_EQ(Saved("pbyCpiColorIdx3"), "6");
  EXPECT_EQ(Saved("pwDpi3"), "3400");
  EXPECT_EQ(Saved("byLightMode"), "3");
  EXPECT_EQ(Register(0x05), 0x2F) << "the mouse kept its own";

  ASSERT_EQ(sim->Plug(), Result::Ok);
  ASSERT_EQ(device.Connect(), Result::Ok);
  DeviceCommands commands(device, Device());
  ASSERT_EQ(commands.ApplyDeviceSettings(), Result::Ok);
  EXPECT_EQ(Register(0x05), 0x60);
  EXPECT_EQ(Register(0x08) & 0x04, 0x04);
  EXPECT_EQ(Register(0x0A), 0x81);
}

TEST_F(LightingPanelTest, ResetStoresTheDefaultsWhateverTheFileHeld) {
  ClickSliderAt(Level(0), 9);
  ChooseInMenu(Colour(2), kFirstColourCommand + 11);
  ChooseInMenu(ModeButton(), kModeCommands[5]);
  QTest::mouseClick(&Find<CImageBtn>("BTN_LIGHT_RESET"), Qt::LeftButton);
  Settle();
  const char* levels[4] = {"800", "1000", "1600", "3200"};
  const char* colours[4] = {"0", "8", "4", "2"};
  for (int level = 0; level < 4; ++level) {
    EXPECT_EQ(Saved(Key("pwDpi", level - 1)), levels[level]);
    EXPECT_EQ(Saved(Key("pbyCpiColorIdx", level - 1)), colours[level]);
    EXPECT_EQ(Value(level).text().toStdString(), levels[level]);
  }
  EXPECT_EQ(Saved("byLightMode"), "1");
  EXPECT_TRUE(ColoursVisible());
  EXPECT_EQ(Register(0x02), 0x03);
  EXPECT_EQ(Register(0x04), 0x47);
}

TEST_F(LightingPanelTest, DamagedValuesShowAsTheMouseWouldGetThemAndAreStoredSo) {
  Device().byLightMode = 9;
  Device().pbyCpiColorIdx[1] = 20;
  Device().pwDpi[0] = static_cast<std::uint16_t>(70000);
  Device().pwDpi[3] = 70;
  panel->Refresh();
  EXPECT_EQ(ModeButton().text().toStdString(), Text("INFO_LIGHT_MODE_CLOSE"));
  EXPECT_FALSE(ColoursVisible());
  EXPECT_EQ(Colour(1).FillColour(), 0xFFFFFFu);
  EXPECT_EQ(Value(0).text(), "4200");
  EXPECT_EQ(Level(0).GetPos(), 20);
  EXPECT_EQ(Value(3).text(), "200");
  EXPECT_EQ(Device().byLightMode, 5);
  EXPECT_EQ(Device().pbyCpiColorIdx[1], 15);

  panel->ChooseColour(0, 3);
  EXPECT_EQ(Saved("byLightMode"), "5");
  EXPECT_EQ(Saved("pbyCpiColorIdx1"), "15");
}

}  // namespace
}  // namespace vexlo
