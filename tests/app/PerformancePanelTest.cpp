#include "app/panels/PerformancePanel.h"

#include <QLabel>

#include "PagePanelFixture.h"
#include "app/MainWindowLayout.h"
#include "app/panels/PerformancePanelValues.h"
#include "device/DeviceCommands.h"
#include "skin/CColorEdit.h"
#include "skin/CImageBtn.h"

namespace vexlo {
namespace {

// The performance page, shown.
class PerformancePanelTest : public test::PagePanelFixture {
 protected:
  explicit PerformancePanelTest(bool throughVexloSim = false) : PagePanelFixture(throughVexloSim) {}

  SkinFile<DibImage> pageSkin{settings.SkinFolder + "Adv.ini"};
  std::unique_ptr<PerformancePanel> panel;

  void SetUp() override {
    PagePanelFixture::SetUp();
    ASSERT_EQ(pageSkin.Load(), Result::Ok);
    panel = std::make_unique<PerformancePanel>(window, context, pageSkin);
    panel->ShowPage(kPagePerformance);
    window.show();
  }

  void TearDown() override {
    panel.reset();
    PagePanelFixture::TearDown();
  }

  CImageSlider& Slider(const char* key) { return Find<CImageSlider>(key); }
  CImageBtn& Button(const char* key) { return Find<CImageBtn>(key); }
  CColorEdit& Edit() { return Find<CColorEdit>("EDIT_MOUSE_WHEEL_LINES"); }
  WindowsSettings& Windows() { return profiles.Data().windows; }

  void Click(const char* key) {
    QTest::mouseClick(&Button(key), Qt::LeftButton);
    Settle();
  }
  // Replaces the edit's text by typing (an empty text: by deleting it).
  void Type(const QString& text) {
    Edit().setFocus();
    Edit().selectAll();
    QTest::keyClick(&Edit(), Qt::Key_Backspace);
    QTest::keyClicks(&Edit(), text);
    Settle();
  }
  SimPointerSettings Desktop() { return Machine().desktop.pointer; }
  // The desktop's wheel setting once the worker has applied `lines`.
  bool DesktopWheelReaches(std::uint32_t lines) {
    return QTest::qWaitFor([&] { return Desktop().wheelScrollLines == lines; });
  }

  void ChooseRate(int index) { ChooseInMenu(Button("BTN_MOUSE_REPORT_RATE"), 32781 + index); }
};

// The same, with the desktop and the mouse in-process and in a vexlo-sim of the test's own.
class PerformanceOnMachineTest : public PerformancePanelTest,
                                 public testing::WithParamInterface<bool> {
 protected:
  PerformanceOnMachineTest() : PerformancePanelTest(GetParam()) {}
};
INSTANTIATE_TEST_SUITE_P(Machines, PerformanceOnMachineTest, testing::Values(false, true),
                         test::MachineName);

TEST_P(PerformanceOnMachineTest, SlidersShowTheProfileAndStoreWhatTheUserReleases) {
  const struct {
    const char* slider;
    std::uint32_t WindowsSettings::*field;
    const char* key;
    std::uint32_t stored;
    int shown;
    int released;
    std::uint32_t applied;
    std::uint32_t SimPointerSettings::*desktop;
  } cases[] = {
      {"SLD_DBL_CLK_TIME", &WindowsSettings::uDoubleClickTime, "uDoubleClickTime", 550, 5, 5, 550,
       &SimPointerSettings::doubleClickTime},
      {"SLD_DBL_CLK_TIME", &WindowsSettings::uDoubleClickTime, "uDoubleClickTime", 150, 0, 10, 200,
       &SimPointerSettings::doubleClickTime},
      {"SLD_DBL_CLK_TIME", &WindowsSettings::uDoubleClickTime, "uDoubleClickTime", 900, 0, 0, 900,
       &SimPointerSettings::doubleClickTime},
      {"SLD_MOUSE_SPEED", &WindowsSettings::uMouseSpeed, "uMouseSpeed", 10, 5, 0, 1,
       &SimPointerSettings::pointerSpeed},
      {"SLD_MOUSE_SPEED", &WindowsSettings::uMouseSpeed, "uMouseSpeed", 20, 10, 7, 14,
       &SimPointerSettings::pointerSpeed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.slider) + " " + std::to_string(c.stored));
    Windows().*c.field = c.stored;
    panel->Refresh();
    Settle();
    EXPECT_EQ(Slider(c.slider).GetPos(), c.shown);
    EXPECT_EQ(Windows().*c.field, c.stored) << "a refresh stores nothing";
    ClickSliderAt(Slider(c.slider), c.released);
    EXPECT_EQ(Slider(c.slider).GetPos(), c.released);
    EXPECT_EQ(Windows().*c.field, c.applied);
    EXPECT_EQ(Saved(c.key), std::to_string(c.applied));
    EXPECT_EQ(Desktop().*c.desktop, c.applied);
  }
}

TEST_P(PerformanceOnMachineTest, TypedWheelLinesAreBroughtIntoRange) {
  const struct {
    QString typed;
    QString shown;
    std::uint32_t lines;
  } cases[] = {
      {"250", "100", 100}, {"0", "1", 1}, {"", "1", 1}, {"7", "7", 7}, {"100", "100", 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    Type(c.typed);
    EXPECT_EQ(Edit().text(), c.shown);
    EXPECT_EQ(Windows().uWheelScrollLines, c.lines);
    EXPECT_EQ(Saved("uWheelScrollLines"), std::to_string(c.lines));
    EXPECT_TRUE(DesktopWheelReaches(c.lines));
  }
}

TEST_F(PerformancePanelTest, UpAndDownStepWithinTheRange) {
  const struct {
    std::uint32_t from;
    const char* button;
    std::uint32_t to;
  } cases[] = {{5, "BTN_MOUSE_WHEEL_LINES_UP", 6},
               {100, "BTN_MOUSE_WHEEL_LINES_UP", 100},
               {5, "BTN_MOUSE_WHEEL_LINES_DOWN", 4},
               {1, "BTN_MOUSE_WHEEL_LINES_DOWN", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " from " + std::to_string(c.from));
    Windows().uWheelScrollLines = c.from;
    panel->Refresh();
    Click(c.button);
    EXPECT_EQ(Edit().text(), QString::number(c.to));
    EXPECT_EQ(Saved("uWheelScrollLines"), std::to_string(c.to));
    EXPECT_TRUE(DesktopWheelReaches(c.to));
  }
}

TEST_F(PerformancePanelTest, LinesAfterOneScreenRestoreTheNumberInTheEdit) {
  const struct {
    QString held;
    std::uint32_t restored;
  } cases[] = {{"42", 42}, {"", 3}, {"0", 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.held.toStdString());
    Windows().uWheelScrollLines = 9;
    panel->Refresh();
    Edit().setText(c.held);
    Click("RAD_MOUSE_WHEEL_PAGE");
    EXPECT_EQ(Saved("uWheelScrollLines"), "4294967295");
    EXPECT_TRUE(DesktopWheelReaches(0xFFFFFFFF));
    EXPECT_FALSE(Button("BTN_MOUSE_WHEEL_LINES_UP").isEnabled());
    EXPECT_FALSE(Button("BTN_MOUSE_WHEEL_LINES_DOWN").isEnabled());
    EXPECT_FALSE(Edit().isEnabled());
    EXPECT_EQ(Button("RAD_MOUSE_WHEEL_LINES").GetCheck(), 0);

    Click("RAD_MOUSE_WHEEL_LINES");
    EXPECT_EQ(Edit().text(), QString::number(c.restored));
    EXPECT_EQ(Saved("uWheelScrollLines"), std::to_string(c.restored));
    EXPECT_TRUE(Button("BTN_MOUSE_WHEEL_LINES_UP").isEnabled());
    EXPECT_TRUE(Edit().isEnabled());
    EXPECT_EQ(Button("RAD_MOUSE_WHEEL_PAGE").GetCheck(), 0);
  }
}

TEST_F(PerformancePanelTest, TextTheProgramSetsNeverChangesTheWheelSetting) {
  Click("RAD_MOUSE_WHEEL_PAGE");
  Edit().setText("abc");
  panel->Refresh();
  Settle();
  EXPECT_EQ(Edit().text(), "3");
  EXPECT_EQ(Windows().uWheelScrollLines, 0xFFFFFFFFu);
  EXPECT_EQ(Saved("uWheelScrollLines"), "4294967295");

  // Typing handled only after one screen was chosen changes nothing either.
  Click("RAD_MOUSE_WHEEL_LINES");
  Edit().setFocus();
  QTest::keyClicks(&Edit(), "5");
  Windows().uWheelScrollLines = 0xFFFFFFFF;
  Settle();
  EXPECT_EQ(Windows().uWheelScrollLines, 0xFFFFFFFFu);

  Windows().uWheelScrollLines = 12;
  panel->Refresh();
  Settle();
  EXPECT_EQ(Edit().text(), "12");
  EXPECT_EQ(Saved("uWheelScrollLines"), "3") << "the refresh wrote nothing";
}

TEST_P(PerformanceOnMachineTest, TheReportRateReachesTheMouseAndTheFile) {
  for (int index : {1, 0, 3, 2}) {
    ChooseRate(index);
    EXPECT_EQ(Button("BTN_MOUSE_REPORT_RATE").text(), QString::number(125 << index));
    EXPECT_EQ(Saved("byReportRateIndex"), std::to_string(index));
    EXPECT_EQ(Machine().mouseFilter.reportRateFactor, 0.125 * (1 << index));
  }
}

TEST_F(PerformancePanelTest, ARateChosenWhileUnpluggedReachesTheMouseWithTheNextWholeProfile) {
  ASSERT_EQ(sim->Unplug(), Result::Ok);
  EXPECT_FALSE(device.CheckAlive());
  ChooseRate(2);
  EXPECT_EQ(Button("BTN_MOUSE_REPORT_RATE").text(), "500");
  EXPECT_EQ(Saved("byReportRateIndex"), "2");
  EXPECT_EQ(sim->State().mouseFilter.reportRateFactor, std::nullopt);
  ASSERT_EQ(sim->Plug(), Result::Ok);
  ASSERT_EQ(device.Connect(), Result::Ok);
  DeviceCommands commands(device, profiles.Data().device);
  ASSERT_EQ(commands.ApplyDeviceSettings(), Result::Ok);
  EXPECT_EQ(sim->State().mouseFilter.reportRateFactor, 0.5);
}

TEST_F(PerformancePanelTest, AReportRateIndexBeyondTheTableShowsTheFastestRate) {
  profiles.Data().device.byReportRateIndex = 9;
  panel->Refresh();
  EXPECT_EQ(Button("BTN_MOUSE_REPORT_RATE").text(), "1000");
}

TEST_F(PerformancePanelTest, TheControlsShowOnThePerformancePageOnly) {
  for (int page : {kPageKeys, kPagePerformance, kPageLighting, kPageMacro}) {
    panel->ShowPage(page);
    EXPECT_EQ(Slider("SLD_DBL_CLK_TIME").isVisible(), page == kPagePerformance) << page;
    EXPECT_EQ(Find<QLabel>("STA_MOUSE_WHEEL").isVisible(), page == kPagePerformance) << page;
  }
  EXPECT_EQ(Find<QLabel>("STA_MOUSE_SPEED").text().toStdString(),
            language.LookupText("BTN_MOUSE_SPEED"));
}

// A desktop that lacks some of the page's settings: each it lacks answers NotSupported.
class PartialDesktop final : public SystemMouseSettings {
 public:
  explicit PartialDesktop(DesktopSettingsPresent present) : present_(present) {}

  Result GetDoubleClickTime(std::uint32_t& value) override {
    return Get(present_.doubleClick, value);
  }
  Result SetDoubleClickTime(std::uint32_t) override { return Set(present_.doubleClick); }
  Result GetPointerSpeed(std::uint32_t& value) override {
    return Get(present_.pointerSpeed, value);
  }
  Result SetPointerSpeed(std::uint32_t) override { return Set(present_.pointerSpeed); }
  Result GetWheelScrollLines(std::uint32_t& value) override {
    return Get(present_.wheelLines, value);
  }
  Result SetWheelScrollLines(std::uint32_t) override { return Set(present_.wheelLines); }
  bool HasPageScrolling() const override { return present_.wheelPage; }

 private:
  static Result Get(bool present, std::uint32_t& value) {
    value = 5;
    return present ? Result::Ok : Result::NotSupported;
  }
  static Result Set(bool present) { return present ? Result::Ok : Result::NotSupported; }
  const DesktopSettingsPresent present_;
};

// The page over such a desktop: KDE's (no page scrolling) and X11's (the pointer speed only).
class PerformanceOnPartialDesktopTest : public PerformancePanelTest,
                                        public testing::WithParamInterface<DesktopSettingsPresent> {
 protected:
  std::unique_ptr<SystemMouseSettings> simulated;

  void SetUp() override {
    // The workers made before keep the simulated desktop; it lives on until the end.
    simulated = std::exchange(platform.mouseSettings, std::make_unique<PartialDesktop>(GetParam()));
    PerformancePanelTest::SetUp();
  }
  void TearDown() override {
    PerformancePanelTest::TearDown();
    platform.mouseSettings = std::move(simulated);
  }
};
INSTANTIATE_TEST_SUITE_P(Desktops, PerformanceOnPartialDesktopTest,
                         testing::Values(DesktopSettingsPresent{true, true, true, false},
                                         DesktopSettingsPresent{false, true, false, false}),
                         [](const testing::TestParamInfo<DesktopSettingsPresent>& desktop) {
                           return desktop.param.wheelLines ? "WithoutPageScrolling"
                                                           : "PointerSpeedOnly";
                         });

TEST_P(PerformanceOnPartialDesktopTest, ASettingTheDesktopLacksIsDisabledAndSaysSo) {
  const DesktopSettingsPresent present = GetParam();
  const QString missing =
      QString::fromStdString(language.LookupText("INFO_DESKTOP_SETTING_MISSING"));
  Windows().uWheelScrollLines = 9;
  panel->Refresh();  // lines per notch: the edit and its buttons as the desktop allows
  const struct {
    QWidget* control;
    bool present;
  } cases[] = {{&Slider("SLD_DBL_CLK_TIME"), present.doubleClick},
               {&Slider("SLD_MOUSE_SPEED"), present.pointerSpeed},
               {&Button("RAD_MOUSE_WHEEL_LINES"), present.wheelLines},
               {&Edit(), present.wheelLines},
               {&Button("BTN_MOUSE_WHEEL_LINES_UP"), present.wheelLines},
               {&Button("RAD_MOUSE_WHEEL_PAGE"), present.wheelPage}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control->objectName().toStdString());
    EXPECT_EQ(c.control->isEnabled(), c.present);
    EXPECT_EQ(c.control->toolTip(), c.present ? QString() : missing);
  }
  Click("RAD_MOUSE_WHEEL_PAGE");  // disabled: nothing changes
  EXPECT_EQ(Windows().uWheelScrollLines, 9u);
  EXPECT_EQ(Saved("uWheelScrollLines"), "3");
}

}  // namespace
}  // namespace vexlo
