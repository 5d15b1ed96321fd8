#include "skin/QtKeystroke.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace vexlo {
namespace {

struct EvdevCase {
  const char* name;
  std::uint32_t evdev;
  std::uint16_t scan;  // 0x100: sent with the E0 prefix
};

void PrintTo(const EvdevCase& c, std::ostream* out) {
  *out << c.name;
}

class ScanCodeOfEvdevKeyTest : public ::testing::TestWithParam<EvdevCase> {};

TEST_P(ScanCodeOfEvdevKeyTest, GivesTheSetOneScanCode) {
  EXPECT_EQ(ScanCodeOfEvdevKey(GetParam().evdev), GetParam().scan);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScanCodeOfEvdevKeyTest,
    ::testing::Values(EvdevCase{"Escape", 1, 0x01}, EvdevCase{"A", 30, 0x1E},
                      EvdevCase{"LeftShift", 42, 0x2A}, EvdevCase{"RightShift", 54, 0x36},
                      EvdevCase{"KeypadAsterisk", 55, 0x37}, EvdevCase{"NumLock", 69, 0x145},
                      EvdevCase{"KeypadDot", 83, 0x53}, EvdevCase{"Unused84", 84, 0},
                      EvdevCase{"Intl102", 86, 0x56}, EvdevCase{"F11", 87, 0x57},
                      EvdevCase{"F12", 88, 0x58}, EvdevCase{"KeypadEnter", 96, 0x11C},
                      EvdevCase{"RightCtrl", 97, 0x11D}, EvdevCase{"KeypadSlash", 98, 0x135},
                      EvdevCase{"PrintScreen", 99, 0x137}, EvdevCase{"RightAlt", 100, 0x138},
                      EvdevCase{"Home", 102, 0x147}, EvdevCase{"Up", 103, 0x148},
                      EvdevCase{"Delete", 111, 0x153}, EvdevCase{"Mute", 113, 0x120},
                      EvdevCase{"VolumeUp", 115, 0x130}, EvdevCase{"Pause", 119, 0x45},
                      EvdevCase{"Hangul", 122, 0x72}, EvdevCase{"Hanja", 123, 0x71},
                      EvdevCase{"LeftMeta", 125, 0x15B}, EvdevCase{"Compose", 127, 0x15D},
                      EvdevCase{"Calculator", 140, 0x121}, EvdevCase{"NextSong", 163, 0x119},
                      EvdevCase{"PlayPause", 164, 0x122}, EvdevCase{"HomePage", 172, 0x132},
                      EvdevCase{"F13", 183, 0x64}, EvdevCase{"F24", 194, 0x76},
                      EvdevCase{"Search", 217, 0x165}, EvdevCase{"Media", 226, 0x16D},
                      EvdevCase{"OutOfRange", 700, 0}),
    [](const ::testing::TestParamInfo<EvdevCase>& param) { return std::string(param.param.name); });

struct QtKeyCase {
  const char* name;
  int key;
  bool keypad;
  std::uint8_t vk;
};

void PrintTo(const QtKeyCase& c, std::ostream* out) {
  *out << c.name;
}

class VirtualKeyOfQtKeyTest : public ::testing::TestWithParam<QtKeyCase> {};

TEST_P(VirtualKeyOfQtKeyTest, GivesThePlatformsVirtualKey) {
  EXPECT_EQ(VirtualKeyOfQtKey(GetParam().key, GetParam().keypad), GetParam().vk);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeyOfQtKeyTest,
    ::testing::Values(
        QtKeyCase{"A", Qt::Key_A, false, 0x41}, QtKeyCase{"Z", Qt::Key_Z, false, 0x5A},
        QtKeyCase{"Digit7", Qt::Key_7, false, 0x37}, QtKeyCase{"Keypad7", Qt::Key_7, true, 0x67},
        QtKeyCase{"ShiftedOne", Qt::Key_Exclam, false, 0x31},
        QtKeyCase{"ShiftedNine", Qt::Key_ParenLeft, false, 0x39},
        QtKeyCase{"Asterisk", Qt::Key_Asterisk, false, 0x38},
        QtKeyCase{"KeypadAsterisk", Qt::Key_Asterisk, true, 0x6A},
        QtKeyCase{"KeypadMinus", Qt::Key_Minus, true, 0x6D},
        QtKeyCase{"Minus", Qt::Key_Minus, false, 0xBD},
        QtKeyCase{"Underscore", Qt::Key_Underscore, false, 0xBD},
        QtKeyCase{"Tilde", Qt::Key_AsciiTilde, false, 0xC0},
        QtKeyCase{"F1", Qt::Key_F1, false, 0x70}, QtKeyCase{"F24", Qt::Key_F24, false, 0x87},
        QtKeyCase{"Return", Qt::Key_Return, false, 0x0D},
        QtKeyCase{"Escape", Qt::Key_Escape, false, 0x1B},
        QtKeyCase{"Shift", Qt::Key_Shift, false, 0x10},
        QtKeyCase{"Control", Qt::Key_Control, false, 0x11},
        QtKeyCase{"Print", Qt::Key_Print, false, 0x2C},
        QtKeyCase{"Pause", Qt::Key_Pause, false, 0x13},
        QtKeyCase{"Right", Qt::Key_Right, false, 0x27},
        QtKeyCase{"Menu", Qt::Key_Menu, false, 0x5D},
        QtKeyCase{"VolumeMute", Qt::Key_VolumeMute, false, 0xAD},
        QtKeyCase{"PlayPause", Qt::Key_MediaTogglePlayPause, false, 0xB3},
        QtKeyCase{"Unknown", Qt::Key_Eject, false, 0}),
    [](const ::testing::TestParamInfo<QtKeyCase>& param) { return std::string(param.param.name); });

QKeyEvent XKey(QEvent::Type type, int key, std::uint32_t xKeycode, bool autoRepeat = false,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return QKeyEvent(type, key, modifiers, xKeycode, 0, 0, QString(), autoRepeat);
}

TEST(KeystrokeOfKeyEventTest, PressCarriesTheScanCodeOfTheXKeycode) {
  const HookKeystroke shift = KeystrokeOfKeyEvent(XKey(QEvent::KeyPress, Qt::Key_Shift, 62));
  EXPECT_EQ(shift.virtualKey, 0x10);
  EXPECT_EQ(shift.flags, 0x00360001u);
  const HookKeystroke ctrl = KeystrokeOfKeyEvent(XKey(QEvent::KeyPress, Qt::Key_Control, 105));
  EXPECT_EQ(ctrl.flags, 0x011D0001u);  // extended
}

TEST(KeystrokeOfKeyEventTest, RepeatAndReleaseSetThePreviousStateAndTransitionBits) {
  const HookKeystroke repeat = KeystrokeOfKeyEvent(XKey(QEvent::KeyPress, Qt::Key_A, 38, true));
  EXPECT_EQ(repeat.flags, 0x401E0001u);
  const HookKeystroke release = KeystrokeOfKeyEvent(XKey(QEvent::KeyRelease, Qt::Key_Print, 107));
  EXPECT_EQ(release.virtualKey, 0x2C);
  EXPECT_EQ(release.flags, 0xC1370001u);
}

TEST(KeystrokeOfKeyEventTest, WithoutANativeCodeOnlyTheVirtualKeyNamesTheKey) {
  const HookKeystroke keypad =
      KeystrokeOfKeyEvent(XKey(QEvent::KeyPress, Qt::Key_5, 0, false, Qt::KeypadModifier));
  EXPECT_EQ(keypad.virtualKey, 0x65);
  EXPECT_EQ(keypad.flags, 1u);
}

}  // namespace
}  // namespace vexlo
