#include "app/panels/MacroRecorder.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>
#include <QWindow>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "FakePauseClock.h"
#include "PagePanelFixture.h"
#include "app/MainFrame.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowSkins.h"
#include "app/panels/MacroPanel.h"
#include "engine/ScanCodeTable.h"
#include "engine/VirtualKeyScanIndex.h"
#include "grid/CGridListCtrlEx.h"
#include "profiles/MacroFile.h"
#include "skin/CImageBtn.h"
#include "skin/QtKeystroke.h"

namespace vexlo {
namespace {

constexpr const char* kRecord = "CHK_MACRO_ACTION_RECORD";
constexpr const char* kNative = "RAD_MACRO_ACTION_DELAY_NATIVE";
constexpr const char* kNone = "RAD_MACRO_ACTION_DELAY_NONE";
constexpr const char* kFixed = "RAD_MACRO_ACTION_DELAY_FIXED";

// The macro page, shown, over the in-process machine, with a current macro and a clock that moves
// only when the test says.
class MacroRecorderTest : public test::PagePanelFixture {
 public:
  using PagePanelFixture::Find;
  using PagePanelFixture::window;

  test::FakePauseClock clock;
  AppContext timed{platform, settings, language,   messages, nullptr, profiles, macros,
                   device,   monitor,  wheelLines, injector, player,  clock,    false};
  SkinFile<DibImage> skin{settings.SkinFolder + "Macro.ini"};
  std::unique_ptr<MacroPanel> panel;
  QLineEdit typed;  // has the keyboard focus: what reaches it was not held back

  void SetUp() override {
    PagePanelFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(skin.Load(), Result::Ok);
    ASSERT_EQ(macros.AddMacro(), Result::Ok);
  }

  void ShowPanel() {
    panel = std::make_unique<MacroPanel>(window, timed, skin, MacroKeyLinks{});
    panel->ShowPage(kPageMacro);
    window.show();
  }

  void Click(const char* key) { QTest::mouseClick(&Find<QWidget>(key), Qt::LeftButton); }

  // A key as the platform delivers it to the focused control: with its X keycode, or none as on
  // the offscreen platform; `time` is the window system's, 0 for none.
  void Key(QEvent::Type type, int key, std::uint32_t xKeycode = 0, bool autoRepeat = false,
           std::uint64_t time = 0) {
    const QString text =
        key >= Qt::Key_A && key <= Qt::Key_Z ? QString(QChar(key)).toLower() : QString();
    QKeyEvent event(type, key, Qt::NoModifier, xKeycode, 0, 0, text, autoRepeat);
    event.setTimestamp(time);
    QApplication::sendEvent(&typed, &event);
  }

  // A mouse button as the platform delivers it: to the window, which passes it to what is there.
  void Mouse(QEvent::Type type, Qt::MouseButton button, QPoint at) {
    if (type == QEvent::MouseButtonPress) QTest::mousePress(window.windowHandle(), button, {}, at);
    if (type == QEvent::MouseButtonRelease) {
      QTest::mouseRelease(window.windowHandle(), button, {}, at);
    }
    if (type == QEvent::MouseButtonDblClick) {
      QTest::mouseDClick(window.windowHandle(), button, {}, at);
    }
  }

  // A point of the window where no control is.
  QPoint Background() {
    for (int y = 5; y < window.height(); y += 10) {
      for (int x = 5; x < window.width(); x += 10) {
        if (!window.childAt(x, y)) return {x, y};
      }
    }
    ADD_FAILURE() << "no free point";
    return {};
  }

  static std::string Steps(const MacroData& macro) {
    std::string pma;
    for (int i = 0; i < macro.byCount; ++i) {
      const MacroAction& step = macro.steps[static_cast<std::size_t>(i)];
      char digits[7];
      std::snprintf(digits, sizeof digits, "%02X%02X%02X", step.type, step.data1, step.data2);
      pma += digits;
    }
    return pma;
  }
  std::string Recorded() { return Steps(macros.Slot(macros.CurrentIndex())); }
  std::string Saved() {
    MacroData saved;
    EXPECT_EQ(ReadMacroFile(macros.SlotPath(macros.CurrentIndex()), saved), Result::Ok);
    return Steps(saved);
  }
  int Rows() { return Find<CGridListCtrlEx>("LIST_MACRO_ACTION").GetItemCount(); }
};

using Action = std::function<void(MacroRecorderTest&)>;

Action Choose(const char* key) {
  return [key](MacroRecorderTest& t) { t.Click(key); };
}
Action DelayText(const char* text) {
  return [text](MacroRecorderTest& t) {
    t.Find<QLineEdit>("EDIT_MACRO_ACTION_DELAY").setText(QString::fromLatin1(text));
  };
}
Action Wait(std::uint64_t milliseconds) {
  return [milliseconds](MacroRecorderTest& t) { t.clock.Advance(milliseconds); };
}
Action Down(int key, std::uint32_t xKeycode = 0) {
  return [=](MacroRecorderTest& t) { t.Key(QEvent::KeyPress, key, xKeycode); };
}
Action Up(int key, std::uint32_t xKeycode = 0) {
  return [=](MacroRecorderTest& t) { t.Key(QEvent::KeyRelease, key, xKeycode); };
}
// What a held key sends between its press and its release.
Action AutoRepeat(int key, std::uint32_t xKeycode) {
  return [=](MacroRecorderTest& t) {
    t.Key(QEvent::KeyRelease, key, xKeycode, true);
    t.Key(QEvent::KeyPress, key, xKeycode, true);
  };
}
// A key of the X server at its time `time`: an auto-repeat it sends is a release and a press at
// the same time, which the key events need not say are repeats.
Action XKey(QEvent::Type type, int key, std::uint32_t xKeycode, std::uint64_t time) {
  return [=](MacroRecorderTest& t) { t.Key(type, key, xKeycode, false, time); };
}
// A mouse button on the control of `key`, or on the background.
Action Button(QEvent::Type type, Qt::MouseButton button, const char* key = nullptr) {
  return [=](MacroRecorderTest& t) {
    t.Mouse(type, button, key ? t.Find<QWidget>(key).geometry().center() : t.Background());
  };
}
Action Click(Qt::MouseButton button) {
  return [=](MacroRecorderTest& t) {
    Button(QEvent::MouseButtonPress, button)(t);
    Button(QEvent::MouseButtonRelease, button)(t);
  };
}
Action Wheel() {
  return [](MacroRecorderTest& t) {
    const QPoint at = t.Background();
    QWheelEvent wheel(at, t.window.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(t.window.windowHandle(), &wheel);
  };
}

struct RecordCase {
  const char* name;
  int stepsBefore;  // of the macro, all "810100", before the panel shows it
  std::vector<Action> actions;
  std::string recorded;  // the steps added, "%02X%02X%02X" each
};

void PrintTo(const RecordCase& c, std::ostream* out) {
  *out << c.name;
}

constexpr auto kPress = QEvent::MouseButtonPress;
constexpr auto kRelease = QEvent::MouseButtonRelease;
constexpr auto kDown = QEvent::KeyPress;
constexpr auto kUp = QEvent::KeyRelease;

// One case a paragraph, its steps three bytes a string.
// clang-format off
const RecordCase kCases[] = {
    {"NativeDelaysWithoutALeadingPause", 0,
     {Choose(kNative), Choose(kRecord), Wait(500), Down(Qt::Key_A), Wait(120), Up(Qt::Key_A)},
     "840400" "067800" "040400"},
    {"FixedDelay", 0,
     {Choose(kRecord), Down(Qt::Key_A), Wait(120), Up(Qt::Key_A)},
     "840400" "060A00" "040400"},
    {"NoDelay", 0,
     {Choose(kNone), Choose(kRecord), Down(Qt::Key_A), Wait(120), Up(Qt::Key_A)},
     "840400" "040400"},
    {"FixedDelayOverTheLimitIsTheLongestPause", 0,
     {DelayText("70000"), Choose(kRecord), Down(Qt::Key_A), Up(Qt::Key_A)},
     "840400" "06FFFF" "040400"},
    {"NegativeFixedDelayIsNone", 0,
     {DelayText("-5"), Choose(kRecord), Down(Qt::Key_A), Up(Qt::Key_A)},
     "840400" "060000" "040400"},
    {"NativePauseOverTheLimitIsTheLongestPause", 0,
     {Choose(kNative), Choose(kRecord), Down(Qt::Key_A), Wait(70000), Up(Qt::Key_A)},
     "840400" "06FFFF" "040400"},
    {"AutoRepeatGivesOnePressAndOneRelease", 0,
     {Choose(kNone), Choose(kRecord), Down(Qt::Key_A, 38), AutoRepeat(Qt::Key_A, 38),
      AutoRepeat(Qt::Key_A, 38), Up(Qt::Key_A, 38)},
     "840400" "040400"},
    {"AutoRepeatNotMarkedAsSuch", 0,
     {Choose(kNone), Choose(kRecord), XKey(kDown, Qt::Key_A, 38, 100),
      XKey(kUp, Qt::Key_A, 38, 760), XKey(kDown, Qt::Key_A, 38, 760),
      XKey(kUp, Qt::Key_A, 38, 800), XKey(kDown, Qt::Key_A, 38, 800),
      XKey(kUp, Qt::Key_A, 38, 900), XKey(kDown, Qt::Key_B, 56, 950),
      XKey(kUp, Qt::Key_B, 56, 990), Choose(kRecord)},
     "840400" "040400" "840500" "040500"},
    {"PrintScreenIsPressedAMillisecondBeforeItsRelease", 0,
     {Choose(kNative), Choose(kRecord), Down(Qt::Key_Print, 107), Wait(80),
      Up(Qt::Key_Print, 107)},
     "844600" "060100" "044600"},
    {"MediaKeysRecordNothing", 0,
     {Choose(kRecord), Down(Qt::Key_VolumeUp, 123), Up(Qt::Key_VolumeUp, 123),
      Down(Qt::Key_MediaTogglePlayPause), Up(Qt::Key_MediaTogglePlayPause)},
     ""},
    {"KeyWithoutACodeRecordsNothing", 0,
     {Choose(kRecord), Down(Qt::Key_Katakana, 98), Up(Qt::Key_Katakana, 98)},
     ""},
    {"EveryButtonOnTheBackground", 0,
     {Choose(kNone), Choose(kRecord), Click(Qt::LeftButton), Click(Qt::RightButton),
      Click(Qt::MiddleButton), Click(Qt::BackButton), Click(Qt::ForwardButton)},
     "810100" "010100" "810200" "010200" "810400" "010400" "810800" "010800" "811000" "011000"},
    {"DoubleClickIsTwoClicks", 0,
     {Choose(kNone), Choose(kRecord), Button(QEvent::MouseButtonDblClick, Qt::LeftButton)},
     "810100" "010100" "810100" "010100"},
    {"ClickOnAControlAndTheWheelRecordNothing", 0,
     {Choose(kRecord), Button(kPress, Qt::LeftButton, "BTN_MACRO_ACTION_TOP"),
      Button(kRelease, Qt::LeftButton, "BTN_MACRO_ACTION_TOP"), Wheel()},
     ""},
    {"ClickOnADisabledControlCountsAsBackground", 0,
     {Choose(kNone), Choose(kRecord), Button(kPress, Qt::LeftButton, "BTN_MACRO_ADD")},
     "810100"},
    {"KeysAndClicksInTheOrderTheyCame", 0,
     {Choose(kNone), Choose(kRecord), Down(Qt::Key_A), Button(kPress, Qt::LeftButton),
      Button(kRelease, Qt::LeftButton), Up(Qt::Key_A)},
     "840400" "810100" "010100" "040400"},
    {"ChoosingNativeDelaysMeasuresFromThen", 0,
     {Choose(kNone), Choose(kRecord), Down(Qt::Key_A), Wait(500), Choose(kNative), Wait(30),
      Up(Qt::Key_A)},
     "840400" "061E00" "040400"},
    {"StartingToRecordMeasuresFromThen", 0,
     {Choose(kNative), Choose(kRecord), Down(Qt::Key_A), Wait(20), Up(Qt::Key_A),
      Choose(kRecord), Wait(1000), Choose(kRecord), Wait(40), Down(Qt::Key_B)},
     "840400" "061400" "040400" "062800" "840500"},
    {"TheSixtiethStepReachedByAPauseEndsTheMacro", 59,
     {Choose(kRecord), Down(Qt::Key_A), Up(Qt::Key_A)},
     "060A00"},
};
// clang-format on

class MacroRecorderCaseTest : public MacroRecorderTest,
                              public testing::WithParamInterface<RecordCase> {};

TEST_P(MacroRecorderCaseTest, RecordsTheSteps) {
  std::string before;
  for (int i = 0; i < GetParam().stepsBefore; ++i) {
    ASSERT_EQ(macros.AppendStep({0x81, 0x01, 0x00}), Result::Ok);
    before += "810100";
  }
  ShowPanel();
  for (const Action& action : GetParam().actions) action(*this);

  const std::string expected = before + GetParam().recorded;
  EXPECT_EQ(Recorded(), expected);
  EXPECT_EQ(Saved(), expected);
  EXPECT_EQ(Rows(), static_cast<int>(expected.size() / 6));
  EXPECT_EQ(typed.text(), QString()) << "a key was not held back";
}

INSTANTIATE_TEST_SUITE_P(Cases, MacroRecorderCaseTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<RecordCase>& param) {
                           return std::string(param.param.name);
                         });

TEST_F(MacroRecorderTest, TickingLocksTheControlsAndUntickingLeavesNoFilterBehind) {
  MainWindowSkins skins(settings.SkinFolder);
  ASSERT_EQ(skins.LoadMain(), Result::Ok);
  MainFrame frame(window, skins, language, QStringLiteral("Open Sans"), [](int) {});
  ShowPanel();
  const auto enabled = [this] {
    std::string shown;
    for (const char* key :
         {"BTN_ABOUT", "BTN_MOUSE", "BTN_MACRO", "BTN_MOUSE_KEY", "BTN_MOUSE_ADV",
          "BTN_MOUSE_LIGHT", "BTN_MOUSE_LINE_COR", "BTN_MACRO_LIST", "BTN_MACRO_ADD",
          "BTN_MACRO_DELETE", "BTN_MACRO_MORE", "EDIT_MACRO_NAME", "BTN_MACRO_APPLY"}) {
      shown += Find<QWidget>(key).isEnabled() ? '1' : '0';
    }
    return shown;
  };
  const auto caption = [this] { return Find<CImageBtn>(kRecord).text().toStdString(); };

  Click(kRecord);
  EXPECT_EQ(caption(), "Stop recording");
  EXPECT_EQ(enabled(), "0000000000000");
  EXPECT_TRUE(Find<QWidget>("BTN_MACRO_ACTION_CLEAR").isEnabled());
  Key(QEvent::KeyPress, Qt::Key_X);
  panel->ShowPage(kPageKeys);  // nothing is recorded elsewhere
  Key(QEvent::KeyPress, Qt::Key_Y);
  panel->ShowPage(kPageMacro);
  EXPECT_EQ(typed.text(), "y");
  EXPECT_EQ(Recorded(), "841B00");

  // The name was not changed: Apply stays off.
  Click(kRecord);
  EXPECT_EQ(caption(), "Start recording");
  EXPECT_EQ(enabled(), "1111111111110");
  Key(QEvent::KeyPress, Qt::Key_Z);
  EXPECT_EQ(typed.text(), "yz");

  // A changed name can be applied after the recording.
  Find<QLineEdit>("EDIT_MACRO_NAME").setText("Run");
  Click(kRecord);
  Click(kRecord);
  EXPECT_EQ(enabled(), "1111111111111");

  // The page goes away while recording: its filter goes with it.
  Click(kRecord);
  panel.reset();
  Key(QEvent::KeyPress, Qt::Key_A);
  EXPECT_EQ(typed.text(), "yza");
  EXPECT_EQ(Recorded(), "841B00");
}

TEST_F(MacroRecorderTest, AStepThatCannotBeSavedStopsTheRecordingAndSaysSo) {
  ShowPanel();
  Click(kRecord);
  Key(QEvent::KeyPress, Qt::Key_A);
  // The slot file cannot be replaced any more.
  const std::filesystem::path file = macros.SlotPath(macros.CurrentIndex());
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  Key(QEvent::KeyRelease, Qt::Key_A);
  QCoreApplication::processEvents();

  EXPECT_EQ(Find<CImageBtn>(kRecord).GetCheck(), 0);
  EXPECT_TRUE(Find<QWidget>("BTN_MACRO_ADD").isEnabled());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].textKey, "STA_MSG_INFO_FILE_WRITE");
  EXPECT_EQ(Recorded(), "840400");
  EXPECT_EQ(Rows(), 1);
}

// The platform's key codes as the recorder and the single-key dialog see them: every evdev code
// (its X keycode less 8) that names a key of ScanCodeTable, and the key it names.
TEST(KeyTranslationTest, EveryNativeCodeOfAKeyGivesItsScanIndex) {
  std::map<std::uint32_t, std::uint8_t> keys = {
      {54, 0xB6},  {69, 0xC5},  {86, 0x56},  {87, 0x57},  {88, 0x58},  {89, 0x73},  {92, 0x79},
      {93, 0x70},  {94, 0x7B},  {96, 0x9C},  {97, 0x9D},  {98, 0xB5},  {99, 0xB7},  {100, 0xB8},
      {102, 0xC7}, {103, 0xC8}, {104, 0xC9}, {105, 0xCB}, {106, 0xCD}, {107, 0xCF}, {108, 0xD0},
      {109, 0xD1}, {110, 0xD2}, {111, 0xD3}, {113, 0xA0}, {114, 0xAE}, {115, 0xB0}, {116, 0xDE},
      {117, 0x59}, {119, 0x45}, {121, 0x7E}, {122, 0x72}, {123, 0x71}, {124, 0x7D}, {125, 0xDB},
      {126, 0xDC}, {127, 0xDD}, {128, 0xE8}, {140, 0xA1}, {142, 0xDF}, {143, 0xE3}, {155, 0xEC},
      {156, 0xE6}, {157, 0xEB}, {158, 0xEA}, {159, 0xE9}, {163, 0x99}, {164, 0xA2}, {165, 0x90},
      {166, 0xA4}, {172, 0xB2}, {173, 0xE7}, {183, 0x64}, {184, 0x65}, {185, 0x66}, {186, 0x67},
      {187, 0x68}, {188, 0x69}, {189, 0x6A}, {190, 0x6B}, {191, 0x6C}, {192, 0x6D}, {193, 0x6E},
      {194, 0x76}, {217, 0xE5}, {226, 0xED}};
  // Escape to keypad '.' are their own set-1 codes, right Shift and Num Lock aside.
  for (std::uint32_t evdev = 1; evdev <= 83; ++evdev) keys.emplace(evdev, evdev);

  for (std::uint32_t evdev = 1; evdev <= 247; ++evdev) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      const QKeyEvent event(type, 0, Qt::NoModifier, evdev + 8, 0, 0);
      const HookKeystroke keystroke = KeystrokeOfKeyEvent(event);
      const Keystroke key = DecodeKeystroke(keystroke.virtualKey, keystroke.flags);
      EXPECT_EQ(key.release, type == QEvent::KeyRelease);
      const auto found = keys.find(evdev);
      if (found == keys.end()) {
        EXPECT_EQ(ScanCodeTable()[key.scanIndex].keyCode, 0) << "evdev " << evdev;
      } else {
        EXPECT_EQ(key.scanIndex, found->second) << "evdev " << evdev;
        EXPECT_NE(ScanCodeTable()[key.scanIndex].keyCode, 0) << "evdev " << evdev;
      }
    }
  }
}

}  // namespace
}  // namespace vexlo
