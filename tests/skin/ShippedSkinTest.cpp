#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/IniDocument.h"
#include "common/IniFile.h"
#include "common/LanguageTable.h"
#include "skin/SkinFile.h"

// Checks the skin and language files that the build puts beside the program: every key the
// windows ask for is there, every rectangle lies inside its window, every picture loads.
namespace vexlo {
namespace {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
  return fs::path(VEXLO_TEST_PROGRAM_FOLDER);
}

fs::path SkinFolder() {
  return ProgramFolder() / "Skins";
}

std::vector<std::string> Numbered(const std::string& prefix, int first, int last,
                                  const std::string& suffix = std::string()) {
  std::vector<std::string> keys;
  for (int i = first; i <= last; ++i) keys.push_back(prefix + std::to_string(i) + suffix);
  return keys;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct SkinCase {
  const char* ini;
  std::vector<std::string> keys;  // every control key the window reads from this file
};

std::vector<SkinCase> SkinCases() {
  const std::vector<std::string> keyPictures = Numbered("BTN_MOUSE_PIC", 1, 7);
  return {
      {"Main.ini", Join({{"BTN_ABOUT",        "BTN_MINIMIZE",     "BTN_CLOSE",
                          "BTN_APPLY",        "BTN_RESTORE",      "BTN_MASK",
                          "BTN_MOUSE",        "BTN_MACRO",        "BTN_MOUSE_KEY",
                          "BTN_MOUSE_ADV",    "BTN_MOUSE_LIGHT",  "BTN_MOUSE_LINE_COR",
                          "BTN_MOUSE_PIC0",   "BTN_MOUSE_PIC0B",  "STA_PROFILE_SUBTITLE",
                          "BTN_PROFILE_LIST", "BTN_PROFILE_ADD",  "BTN_PROFILE_DELETE",
                          "BTN_PROFILE_MORE", "STA_PROFILE_NAME", "EDIT_PROFILE_NAME",
                          "CHK_PROFILE_LINK", "BTN_PROFILE_LINK"},
                         Numbered("RAD_DEV", 1, 4),
                         Numbered("BTN_MOUSE_KEY", 1, 7)})},
      {"Kobal.ini", keyPictures},
      {"Pirul.ini", keyPictures},
      {"Sorna.ini", keyPictures},
      {"Zefta.ini", keyPictures},
      {"Adv.ini",
       {"STA_DBL_CLK_TIME", "STA_DBL_CLK_TIME2", "SLD_DBL_CLK_TIME", "SLD_DBL_CLK_TIME_CHANNEL",
        "STA_DBL_CLK_TIME_SLOW", "STA_DBL_CLK_TIME_FAST", "STA_MOUSE_SPEED", "STA_MOUSE_SPEED2",
        "SLD_MOUSE_SPEED", "SLD_MOUSE_SPEED_CHANNEL", "STA_MOUSE_REPORT_RATE",
        "STA_MOUSE_REPORT_RATE2", "BTN_MOUSE_REPORT_RATE", "STA_MOUSE_WHEEL",
        "RAD_MOUSE_WHEEL_LINES", "RAD_MOUSE_WHEEL_PAGE", "EDIT_MOUSE_WHEEL_LINES",
        "BTN_MOUSE_WHEEL_LINES_UP", "BTN_MOUSE_WHEEL_LINES_DOWN"}},
      {"Light.ini",
       Join({{"STA_LIGHT_MODE", "BTN_LIGHT_MODE", "BTN_LIGHT_RESET", "STA_LIGHT_BRIGHTNESS",
              "SLD_LIGHT_BRIGHTNESS", "STA_LIGHT_SPEED", "SLD_LIGHT_SPEED", "STA_LIGHT_DIRECT",
              "BTN_LIGHT_DIRECT_ACW", "BTN_LIGHT_DIRECT_CW", "STA_LIGHT_COLOR", "BTN_LIGHT_COLOR",
              "EDIT_LIGHT_COLOR_RED", "EDIT_LIGHT_COLOR_GREEN", "EDIT_LIGHT_COLOR_BLUE",
              "BTN_LIGHT_COLOR_PICKER"},
             Numbered("STA_MOUSE_CPI", 1, 4),
             Numbered("SLD_MOUSE_CPI", 1, 4),
             Numbered("SLD_MOUSE_CPI", 1, 4, "_CHANNEL"),
             Numbered("STA_MOUSE_CPI_VALUE", 1, 4),
             Numbered("BTN_MOUSE_CPI_COLOR", 1, 4),
             Numbered("BTN_LIGHT_COLOR", 1, 9)})},
      // The line-correction page is never shown; our skin gives its five controls these keys.
      {"LineCor.ini",
       {"STA_LINE_COR", "STA_LINE_COR2", "CHK_LINE_COR", "BTN_LINE_COR_OFF", "BTN_LINE_COR_ON"}},
      {"Macro.ini",
       {"STA_MACRO_SUBTITLE",
        "BTN_MACRO_LIST",
        "BTN_MACRO_ADD",
        "BTN_MACRO_DELETE",
        "BTN_MACRO_MORE",
        "STA_MACRO_NAME",
        "EDIT_MACRO_NAME",
        "BTN_MACRO_APPLY",
        "RAD_MACRO_ACTION_DELAY_NATIVE",
        "RAD_MACRO_ACTION_DELAY_NONE",
        "RAD_MACRO_ACTION_DELAY_FIXED",
        "EDIT_MACRO_ACTION_DELAY",
        "CHK_MACRO_ACTION_RECORD",
        "LIST_MACRO_ACTION",
        "BTN_MACRO_ACTION_TOP",
        "BTN_MACRO_ACTION_UP",
        "BTN_MACRO_ACTION_DOWN",
        "BTN_MACRO_ACTION_BOTTOM",
        "BTN_MACRO_ACTION_DELETE",
        "BTN_MACRO_ACTION_CLEAR"}},
      {"Msg.ini", {"BTN_OK", "BTN_CANCEL", "STA_TITLE", "BTN_INFO"}},
      {"SngKbd.ini", {"STA_TITLE", "BTN_SUBTITLE", "STA_KEY", "BTN_APPLY", "BTN_CLOSE"}},
      {"FireKey.ini",
       {"BTN_OK", "BTN_CANCEL", "STA_TITLE", "STA_INTVL", "EDIT_INTVL", "STA_COUNT", "EDIT_COUNT"}},
      {"MacroKey.ini",
       {"STA_TITLE", "BTN_SUBTITLE", "BTN_MACRO_LIST", "RAD_FLAG_CYCLES", "RAD_FLAG_RELEASE_STOP",
        "RAD_FLAG_PRESS_STOP", "EDIT_REPEAT_COUNT", "BTN_OK", "BTN_CANCEL"}},
      {"About.ini", {"BTN_CLOSE", "STA_SW_VER"}},
  };
}

// The picture that gives a window its size.
fs::path WindowPicture(const std::string& ini) {
  if (ini == "FireKey.ini") return SkinFolder() / "FireKey.png";
  if (ini == "MacroKey.ini") return SkinFolder() / "MacroKey.png";
  if (ini == "About.ini") return SkinFolder() / "About.png";
  return {};
}

QSize WindowSize(const std::string& ini) {
  DibImage picture;
  const fs::path fixed = WindowPicture(ini);
  const Result loaded = fixed.empty() ? LoadSkinImage(SkinFolder() / ini, kMainImageKey, picture)
                                      : LoadImageFile(fixed, picture);
  EXPECT_EQ(loaded, Result::Ok) << ini;
  return picture.Size();
}

class ShippedSkinTest : public ::testing::TestWithParam<SkinCase> {};

TEST_P(ShippedSkinTest, EveryKeyTheWindowReadsIsPlaced) {
  const fs::path ini = SkinFolder() / GetParam().ini;
  ASSERT_TRUE(fs::exists(ini)) << ini;
  for (const std::string& key : GetParam().keys) {
    EXPECT_FALSE(IsMissingControl(ReadControlRect(ini, key))) << GetParam().ini << " " << key;
  }
}

TEST_P(ShippedSkinTest, EveryRectangleLiesInsideItsWindow) {
  const fs::path ini = SkinFolder() / GetParam().ini;
  IniDocument doc;
  ASSERT_EQ(doc.Load(ini), Result::Ok);
  const QRect window(QPoint(0, 0), WindowSize(GetParam().ini));
  const std::vector<std::string> keys = doc.Keys(kControlSection);
  EXPECT_FALSE(keys.empty());
  for (const std::string& key : keys) {
    const std::optional<QRect> rect = ParseControlRect(doc.GetString(kControlSection, key, ""));
    ASSERT_TRUE(rect.has_value()) << key;
    EXPECT_TRUE(window.contains(*rect)) << GetParam().ini << " " << key;
    EXPECT_FALSE(rect->isEmpty()) << key;
  }
}

TEST_P(ShippedSkinTest, SlidersHoldTheirChannels) {
  const fs::path ini = SkinFolder() / GetParam().ini;
  for (const std::string& key : GetParam().keys) {
    if (key.rfind("SLD_", 0) != 0 || key.find("_CHANNEL") != std::string::npos) continue;
    EXPECT_TRUE(ReadControlRect(ini, key).contains(ReadControlRect(ini, key + "_CHANNEL"))) << key;
  }
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkinTest, ::testing::ValuesIn(SkinCases()),
                         [](const ::testing::TestParamInfo<SkinCase>& param) {
                           const std::string ini = param.param.ini;
                           return ini.substr(0, ini.find('.'));
                         });

TEST(ShippedPicturesTest, NamedPicturesLoadInPairsOfOneSize) {
  const QSize main = WindowSize("Main.ini");
  EXPECT_EQ(main, QSize(1080, 680));
  for (const char* ini : {"Main.ini", "Kobal.ini", "Pirul.ini", "Sorna.ini", "Zefta.ini", "Adv.ini",
                          "Light.ini", "LineCor.ini", "Macro.ini", "Msg.ini", "SngKbd.ini"}) {
    SkinFile<GdiplusImage> skin(SkinFolder() / ini);
    ASSERT_EQ(skin.Load(), Result::Ok) << ini;
    EXPECT_EQ(skin.Main().Size(), skin.Highlight().Size()) << ini;
    const std::string name(ini);
    if (name != "Msg.ini" && name != "SngKbd.ini") {
      EXPECT_EQ(skin.Main().Size(), main) << ini;
    }
  }
}

TEST(ShippedPicturesTest, FixedPicturesLoad) {
  for (const char* file : {"FireKey.png", "FireKey2.png", "MacroKey.png", "MacroKey2.png",
                           "About.png", "Thumb1.png", "Thumb2.png", "Thumb3.png", "Thumb4.png"}) {
    GdiplusImage picture;
    EXPECT_EQ(LoadImageFile(SkinFolder() / file, picture), Result::Ok) << file;
  }
  GdiplusImage thumb;
  ASSERT_EQ(LoadImageFile(SkinFolder() / "Thumb2.png", thumb), Result::Ok);
  EXPECT_EQ(qAlpha(thumb.Pixel(0, 0)), 0);  // round, over the channel
  EXPECT_EQ(qAlpha(thumb.Pixel(thumb.Width() / 2, thumb.Height() / 2)), 255);
}

TEST(ShippedPicturesTest, ModelOverlaysLightEachOfTheirSevenButtonsApart) {
  std::vector<QRect> firstModel;
  for (const char* ini : {"Kobal.ini", "Pirul.ini", "Sorna.ini", "Zefta.ini"}) {
    SkinFile<GdiplusImage> model(SkinFolder() / ini);
    ASSERT_EQ(model.Load(), Result::Ok);
    // The overlay is transparent away from the mouse, so the page shows through.
    EXPECT_EQ(qAlpha(model.Main().Pixel(5, 5)), 0) << ini;
    std::vector<QRect> rects;
    for (int i = 1; i <= 7; ++i) rects.push_back(model.Rect("BTN_MOUSE_PIC" + std::to_string(i)));
    for (std::size_t i = 0; i < rects.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        EXPECT_FALSE(rects[i].intersects(rects[j])) << ini << " " << i + 1 << " " << j + 1;
      }
      // Inside its rectangle the highlighted picture shows the button lit.
      int changed = 0;
      for (int y = rects[i].top(); y <= rects[i].bottom(); ++y) {
        for (int x = rects[i].left(); x <= rects[i].right(); ++x) {
          if (model.Main().Pixel(x, y) != model.Highlight().Pixel(x, y)) ++changed;
        }
      }
      EXPECT_GT(changed, rects[i].width() * rects[i].height() / 4) << ini << " " << i + 1;
    }
    if (firstModel.empty()) {
      firstModel = rects;
    } else {
      EXPECT_NE(rects, firstModel) << ini << " places its buttons like the first model";
    }
  }
}

TEST(ShippedPicturesTest, HighlightedPictureDiffersAtEveryButtonOfMain) {
  SkinFile<DibImage> main(SkinFolder() / "Main.ini");
  ASSERT_EQ(main.Load(), Result::Ok);
  for (const std::string& key : Join({Numbered("BTN_MOUSE_KEY", 1, 7),
                                      Numbered("RAD_DEV", 1, 4),
                                      {"BTN_MOUSE", "BTN_MACRO", "BTN_CLOSE", "BTN_RESTORE"}})) {
    const QRect rect = main.Rect(key);
    const QImage normal = main.Main().Pixels().copy(rect);
    const QImage lit = main.Highlight().Pixels().copy(rect);
    EXPECT_NE(normal, lit) << key;
  }
  // Away from the controls both pictures are the same, so a control's cut-out fits its place.
  EXPECT_EQ(main.Main().Pixel(540, 660), main.Highlight().Pixel(540, 660));
}

// The level colour buttons hide in some light modes; their frame is their own, so the card under
// them is as plain as beside them (its fill runs top down, a unit of rounding apart across).
TEST(ShippedPicturesTest, TheLevelColourButtonsLeaveNoFrameBehind) {
  SkinFile<DibImage> light(SkinFolder() / "Light.ini");
  ASSERT_EQ(light.Load(), Result::Ok);
  const auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2;
  };
  for (const std::string& key : Numbered("BTN_MOUSE_CPI_COLOR", 1, 4)) {
    const QRect around = light.Rect(key).adjusted(-4, -4, 4, 4);
    int marked = 0;
    for (int y = around.top(); y <= around.bottom(); ++y) {
      const QRgb card = light.Main().Pixel(around.left() - 4, y);
      for (int x = around.left(); x <= around.right(); ++x) {
        if (!near(light.Main().Pixel(x, y), card)) ++marked;
      }
    }
    EXPECT_EQ(marked, 0) << key;
  }
}

// Every text the windows look up.
std::vector<std::string> TextKeys() {
  std::vector<std::string> keys = {
      "COMMON_FONT_NAME",
      // main window and tray
      "BTN_ABOUT_TIP", "BTN_MIN_TIP", "BTN_CLOSE_TIP", "BTN_APPLY", "BTN_RESTORE", "BTN_MOUSE",
      "BTN_MACRO", "BTN_MOUSE_KEY", "BTN_MOUSE_ADV", "BTN_MOUSE_LIGHT", "BTN_MOUSE_LINE_COR",
      "INFO_TRAY", "INFO_TRAY_OPEN", "INFO_TRAY_EXIT",
      // messages
      "STA_MSG_TITLE_INFO", "STA_MSG_TITLE_WARN", "STA_MSG_TITLE_RESTORE", "STA_MSG_INFO_RESTORE",
      "STA_MSG_INFO_DEV_OFFLINE", "STA_MSG_INFO_NO_DEV", "STA_MSG_INFO_DRV_MODULE",
      "STA_MSG_INFO_DRV_SPLIT", "STA_MSG_INFO_DRV_SPLIT2", "STA_MSG_INFO_MOUSE_LEFT",
      "STA_MSG_TITLE_PROFILE_DELETE", "STA_MSG_INFO_PROFILE_DELETE", "STA_MSG_INFO_PROFILE_DELETE2",
      "STA_MSG_INFO_PROFILE_APPLY", "STA_MSG_INFO_FILE_FORMAT", "STA_MSG_INFO_FILE_NAME_INVALID",
      "STA_MSG_INFO_FILE_CONFLECT", "STA_MSG_TITLE_MACRO_DELETE", "STA_MSG_INFO_MACRO_DELETE",
      "STA_MSG_INFO_MACRO_FULL", "STA_MSG_INFO_MACRO_EMPTY", "STA_MSG_INFO_MACRO_APPLY",
      // button assignment
      "INFO_KEY_SET_LEFT", "INFO_KEY_SET_RIGHT", "INFO_KEY_SET_MIDDLE", "INFO_KEY_SET_FORWARD",
      "INFO_KEY_SET_BACK", "INFO_KEY_SET_CLOSE", "INFO_KEY_SET_OPEN_DRIVER", "INFO_KEY_SET_MEDIA",
      "INFO_KEY_SET_MEDIA_OPEN_PLAYER", "INFO_KEY_SET_MEDIA_PLAY_PAUSE", "INFO_KEY_SET_MEDIA_STOP",
      "INFO_KEY_SET_MEDIA_NEXT_TRACK", "INFO_KEY_SET_MEDIA_PREV_TRACK",
      "INFO_KEY_SET_MEDIA_VOLUME_UP", "INFO_KEY_SET_MEDIA_VOLUME_DOWN", "INFO_KEY_SET_MEDIA_MUTE",
      "INFO_KEY_SET_WINDOWS", "INFO_KEY_SET_WINDOWS_COMPUTER", "INFO_KEY_SET_WINDOWS_CALC",
      "INFO_KEY_SET_WINDOWS_MAIL", "INFO_KEY_SET_WINDOWS_SEARCH", "INFO_KEY_SET_WINDOWS_WWW_HOME",
      "INFO_KEY_SET_WINDOWS_WWW_FORWARD", "INFO_KEY_SET_WINDOWS_WWW_BACK",
      "INFO_KEY_SET_WINDOWS_WWW_REFRESH", "INFO_KEY_SET_WINDOWS_WWW_STOP", "INFO_KEY_SET_COMBO",
      "INFO_KEY_SET_COMBO_NEW", "INFO_KEY_SET_COMBO_OPEN", "INFO_KEY_SET_COMBO_SAVE",
      "INFO_KEY_SET_COMBO_FIND", "INFO_KEY_SET_COMBO_SEL_ALL", "INFO_KEY_SET_COMBO_COPY",
      "INFO_KEY_SET_COMBO_CUT", "INFO_KEY_SET_COMBO_PASTE", "INFO_KEY_SET_COMBO_UNDO",
      "INFO_KEY_SET_COMBO_CLOSE_WND", "INFO_KEY_SET_COMBO_SWITCH_WND",
      "INFO_KEY_SET_COMBO_SHOW_DESK", "INFO_KEY_SET_COMBO_RUN", "INFO_KEY_SET_SNG_KBD",
      "INFO_KEY_SET_START_PROGRAM", "INFO_KEY_SET_FIRE", "INFO_KEY_SET_MACRO",
      "INFO_KEY_SET_DPI_UP", "INFO_KEY_SET_DPI_DOWN", "INFO_KEY_SET_DPI_LOOP", "PREFIX_KEY_SET_KBD",
      "PREFIX_KEY_SET_MACRO", "INFO_FIRE_KEY_INTVL0", "INFO_FIRE_KEY_COUNT0",
      // performance
      "STA_DBL_CLK_TIME", "STA_DBL_CLK_TIME2", "STA_DBL_CLK_TIME_SLOW", "STA_DBL_CLK_TIME_FAST",
      "BTN_MOUSE_SPEED", "BTN_MOUSE_SPEED2", "STA_MOUSE_REPORT_RATE", "STA_MOUSE_REPORT_RATE2",
      "STA_MOUSE_WHEEL", "RAD_MOUSE_WHEEL_LINES", "RAD_MOUSE_WHEEL_PAGE",
      "INFO_DESKTOP_SETTING_MISSING",
      // lighting
      "STA_LIGHT_MODE", "BTN_LIGHT_RESET", "BTN_MOUSE_CPI_COLOR_TIP", "INFO_LIGHT_MODE_CPI_STATIC",
      "INFO_LIGHT_MODE_CPI_BREATHE", "INFO_LIGHT_MODE_IDLE_6COLORS",
      "INFO_LIGHT_MODE_IDLE_12COLORS", "INFO_LIGHT_MODE_IDLE_768COLORS", "INFO_LIGHT_MODE_CLOSE",
      "INFO_LIGHT_MODE_COLORFUL", "STA_LIGHT_BRIGHTNESS", "STA_LIGHT_SPEED", "STA_LIGHT_DIRECT",
      "STA_LIGHT_COLOR",
      // macros
      "STA_MACRO_SUBTITLE", "BTN_MACRO_ADD_TIP", "BTN_MACRO_DELETE_TIP", "BTN_MACRO_MORE_TIP",
      "STA_MACRO_NAME", "BTN_MACRO_APPLY", "RAD_MACRO_ACTION_DELAY_NATIVE",
      "RAD_MACRO_ACTION_DELAY_NONE", "RAD_MACRO_ACTION_DELAY_FIXED", "CHK_MACRO_ACTION_RECORD0",
      "CHK_MACRO_ACTION_RECORD1", "BTN_MACRO_ACTION_MOVE_TOP_TIP", "BTN_MACRO_ACTION_MOVE_UP_TIP",
      "BTN_MACRO_ACTION_MOVE_DOWN_TIP", "BTN_MACRO_ACTION_MOVE_BOTTOM_TIP",
      "BTN_MACRO_ACTION_DELETE_TIP", "BTN_MACRO_ACTION_CLEAR_TIP", "INFO_MACRO_ACTION_COLUMN_DATE",
      "INFO_MACRO_ACTION_COLUMN_TYPE", "INFO_MACRO_ACTION_DOWN", "INFO_MACRO_ACTION_UP",
      "INFO_MACRO_ACTION_DELAY_UNIT", "INFO_KEY_MOU_TYPE_LEFT", "INFO_KEY_MOU_TYPE_RIGHT",
      "INFO_KEY_MOu_TYPE_MIDDLE", "INFO_KEY_MOU_TYPE_BACK", "INFO_KEY_MOU_TYPE_FORWARD",
      "INFO_MACRO_MODE_CLONE", "INFO_MACRO_MODE_IMPORT", "INFO_MACRO_MODE_EXPORT",
      "INFO_KEY_KBD_TYPE_CHAR", "INFO_KEY_KBD_TYPE_NUM", "INFO_KEY_KBD_TYPE_SYM",
      "INFO_KEY_KBD_TYPE_EDIT", "INFO_KEY_KBD_TYPE_TYP", "INFO_KEY_KBD_TYPE_FUNC",
      "INFO_KEY_KBD_TYPE_CMD", "INFO_KEY_KBD_TYPE_NAV", "INFO_KEY_KBD_TYPE_DIRECT",
      "INFO_KEY_KBD_TYPE_NUMPAD", "INFO_KEY_KBD_TYPE_MOD", "INFO_KEY_KBD_TYPE_LANG",
      "INFO_MACRO_PREFIX", "INFO_MACRO_CLONE",
      // profiles
      "STA_PROFILE_SUBTITLE", "BTN_PPOFILE_ADD_TIP", "BTN_PROFILE_DELETE_TIP",
      "BTN_PROFILE_MORE_TIP", "STA_PROFILE_NAME", "STA_PROFILE_LINK", "BTN_PROFILE_LINK_BROWSE",
      "INFO_PROFILE_MODE_CLONE", "INFO_PROFILE_MODE_IMPORT", "INFO_PROFILE_MODE_EXPORT",
      "INFO_PRPFILE_PREFIX", "INFO_PRPFILE_CLONE", "STA_MSG_INFO_LINK_PATH_TOO_LONG",
      "STA_MSG_INFO_LINK_NEEDS_X11", "STA_MSG_INFO_PROFILE_UNREADABLE",
      // dialogs
      "BTN_MSG_OK", "BTN_MSG_CANCEL", "BTN_MSG_YES", "BTN_MSG_NO", "BTN_MSG_APPLY",
      "STA_SNG_KBD_TITLE", "STA_SNG_KBD_SUBTITLE", "STA_FIRE_KEY_TITLE", "STA_FIRE_KEY_INTVL",
      "STA_FIRE_KEY_COUNT", "STA_MACRO_KEY_TITLE", "STA_MACRO_KEY_SUBTITLE",
      "RAD_MACRO_KEY_FLAG_CYCLES", "RAD_MACRO_KEY_FLAG_RELEASE_STOP",
      "RAD_MACRO_KEY_FLAG_PRESS_STOP", "BTN_ABOUT_CLOSE", "STA_ABOUT_SW_VER"};
  const auto add = [&keys](const std::vector<std::string>& more) {
    keys.insert(keys.end(), more.begin(), more.end());
  };
  add(Numbered("STA_MOUSE_CPI", 1, 4));
  for (int i = 1; i <= 4; ++i) {
    add({"RAD_DEV" + std::to_string(i) + "_LINE1", "RAD_DEV" + std::to_string(i) + "_LINE2"});
  }
  return keys;
}

TEST(ShippedLanguageTest, TheSelectorNamesTheEnglishFile) {
  EXPECT_EQ(ReadIniString("LANG", "LANG_FILE", "", ProgramFolder() / "Lang.ini"), "Lang_En.ini");
}

TEST(ShippedLanguageTest, EveryTextKeyHasAText) {
  IniDocument english;
  ASSERT_EQ(english.Load(ProgramFolder() / "Lang_En.ini"), Result::Ok);
  for (const std::string& key : TextKeys()) {
    const std::optional<std::string> text = english.Find("LANG", key);
    ASSERT_TRUE(text.has_value()) << key;
    EXPECT_FALSE(text->empty()) << key;
  }
}

TEST(ShippedLanguageTest, TextsAreUsedAsWrittenAndMissingKeysShowThemselves) {
  LanguageTable language;
  language.Load(ProgramFolder() / "Lang_En.ini");
  EXPECT_EQ(language.LookupText("COMMON_FONT_NAME"), "Open Sans");
  EXPECT_EQ(language.LookupText("PREFIX_KEY_SET_KBD"), "Key: ");  // quoted to keep its blank
  EXPECT_EQ(language.LookupText("STA_MSG_INFO_FILE_NAME_INVALID"),
            "A name cannot contain any of these characters: \\ / : * ? \" < > |");
  EXPECT_EQ(language.LookupText("STA_NO_SUCH_TEXT"), "STA_NO_SUCH_TEXT");
  EXPECT_EQ(language.LookupText("BTN_ABOUT"), "");  // an icon: no caption over the picture
}

TEST(ShippedLanguageTest, TheFontAndItsLicenceLieBesideTheProgram) {
  EXPECT_TRUE(fs::exists(ProgramFolder() / "OpenSans-Regular.ttf"));
  EXPECT_TRUE(fs::exists(ProgramFolder() / "OpenSans-LICENSE.txt"));
}

}  // namespace
}  // namespace vexlo
