#include "skin/SkinFile.h"

#include <QWidget>

#include <gtest/gtest.h>

#include "SkinTestImages.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using test::PatternImage;
using test::SavePng;
using test::TempFolder;
using test::WriteFile;

struct RectCase {
  const char* value;
  bool parses;
  int left, top, right, bottom;  // the rectangle as left, top, right and bottom edges
};

class ParseControlRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(ParseControlRectTest, ReadsXYWidthHeight) {
  const RectCase& c = GetParam();
  const std::optional<QRect> rect = ParseControlRect(c.value);
  ASSERT_EQ(rect.has_value(), c.parses) << c.value;
  if (!c.parses) return;
  EXPECT_EQ(rect->left(), c.left);
  EXPECT_EQ(rect->top(), c.top);
  EXPECT_EQ(rect->left() + rect->width(), c.right);
  EXPECT_EQ(rect->top() + rect->height(), c.bottom);
}

INSTANTIATE_TEST_SUITE_P(Values, ParseControlRectTest,
                         ::testing::Values(RectCase{"10,20,30,40", true, 10, 20, 40, 60},
                                           RectCase{"1,1,1,1,x", true, 1, 1, 2, 2},
                                           RectCase{"1,1,50,20", true, 1, 1, 51, 21},
                                           RectCase{"-5,-6,7,8", true, -5, -6, 2, 2},
                                           RectCase{" 3, 4, 5, 6", true, 3, 4, 8, 10},
                                           RectCase{"+3,4,5,6 trailing text", true, 3, 4, 8, 10},
                                           RectCase{"3,4,-5,6", true, 3, 4, 3, 10},
                                           RectCase{"10,20,30", false, 0, 0, 0, 0},
                                           RectCase{"10,20", false, 0, 0, 0, 0},
                                           RectCase{"", false, 0, 0, 0, 0},
                                           RectCase{"a,b,c,d", false, 0, 0, 0, 0},
                                           RectCase{"10;20;30;40", false, 0, 0, 0, 0},
                                           RectCase{"10,,30,40", false, 0, 0, 0, 0},
                                           RectCase{"99999999999,1,1,1", false, 0, 0, 0, 0},
                                           RectCase{"65536,-65536,0,65536", true, 65536, -65536,
                                                    65536, 0},
                                           RectCase{"1,1,2147483647,1", false, 0, 0, 0, 0},
                                           RectCase{"-2147483648,1,1,1", false, 0, 0, 0, 0}));

class SkinFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Ini(const std::string& name, const std::string& text) {
    const std::filesystem::path path = Dir() / name;
    WriteFile(path, text);
    return path;
  }

  std::filesystem::path Dir() const { return folder_.path(); }

  TempFolder folder_;
};

TEST_F(SkinFileTest, ControlRectComesFromTheControlSectionWithoutRegardToCase) {
  const auto ini = Ini("Main.ini", "[control]\nbtn_about = 10,20,30,40\n");
  EXPECT_EQ(ReadControlRect(ini, "BTN_ABOUT"), QRect(10, 20, 30, 40));
}

TEST_F(SkinFileTest, MissingKeyFileOrNumbersGiveTheMissingControlRectangle) {
  const auto ini = Ini("Main.ini", "[CONTROL]\nBTN_SHORT=10,20,30\n");
  EXPECT_EQ(ReadControlRect(ini, "BTN_NONE"), QRect(1, 1, 1, 1));
  EXPECT_EQ(ReadControlRect(ini, "BTN_SHORT"), QRect(1, 1, 1, 1));
  EXPECT_EQ(ReadControlRect(Dir() / "Absent.ini", "BTN_ABOUT"), QRect(1, 1, 1, 1));
}

TEST_F(SkinFileTest, PlaceControlMovesSizesAndNamesTheControl) {
  const auto ini = Ini("Main.ini", "[CONTROL]\nBTN_APPLY=10,20,30,40\n");
  QWidget parent;
  QWidget control(&parent);
  EXPECT_EQ(PlaceControl(ini, "BTN_APPLY", control), QRect(10, 20, 30, 40));
  EXPECT_EQ(control.geometry(), QRect(10, 20, 30, 40));
  EXPECT_TRUE(control.isEnabled());
  EXPECT_EQ(control.objectName(), QStringLiteral("BTN_APPLY"));
}

TEST_F(SkinFileTest, PlaceControlDisablesAMissingKeyAtOneByOne) {
  const auto ini = Ini("Main.ini", "[CONTROL]\n");
  QWidget parent;
  QWidget control(&parent);
  control.setObjectName(QStringLiteral("KeptName"));
  EXPECT_EQ(PlaceControl(ini, "BTN_MISSING", control), QRect(1, 1, 1, 1));
  EXPECT_EQ(control.geometry(), QRect(1, 1, 1, 1));
  EXPECT_FALSE(control.isEnabled());
  EXPECT_EQ(control.objectName(), QStringLiteral("KeptName"));
}

TEST_F(SkinFileTest, ARealControlAtOneOneIsStillDisabled) {
  const auto ini = Ini("Main.ini", "[CONTROL]\nBTN_X=1,1,50,20\n");
  QWidget parent;
  QWidget control(&parent);
  PlaceControl(ini, "BTN_X", control);
  EXPECT_EQ(control.size(), QSize(50, 20));
  EXPECT_FALSE(control.isEnabled());
}

TEST_F(SkinFileTest, ImagesAreNamedRelativeToTheirOwnIniFile) {
  // Two skins in different folders with the same image name load different pictures.
  SavePng(PatternImage(8, 8, 11), Dir() / "a" / "Main.png");
  SavePng(PatternImage(8, 8, 22), Dir() / "b" / "Main.png");
  const auto iniA = Ini("a/Skin.ini", "[SCREEN]\nMain=Main.png\n");
  const auto iniB = Ini("b/Skin.ini", "[SCREEN]\nMain=Main.png\n");
  DibImage a;
  DibImage b;
  ASSERT_EQ(LoadSkinImage(iniA, "Main", a), Result::Ok);
  ASSERT_EQ(LoadSkinImage(iniB, "Main", b), Result::Ok);
  EXPECT_EQ(a.Size(), QSize(8, 8));
  EXPECT_EQ(a.Pixel(3, 5), qRgb(3, 5, 11));
  EXPECT_EQ(b.Pixel(3, 5), qRgb(3, 5, 22));
}

TEST_F(SkinFileTest, BackslashesInImageNamesNameSubfolders) {
  SavePng(PatternImage(4, 4, 33), Dir() / "pictures" / "Main.png");
  const auto ini = Ini("Skin.ini", "[SCREEN]\nMain=pictures\\Main.png\n");
  GdiplusImage image;
  ASSERT_EQ(LoadSkinImage(ini, "Main", image), Result::Ok);
  EXPECT_EQ(image.Pixel(1, 2), qRgb(1, 2, 33));
}

TEST_F(SkinFileTest, MissingImageFileIsStatusTwo) {
  const auto ini = Ini("Skin.ini", "[SCREEN]\nMain=Nowhere.png\n");
  GdiplusImage image;
  EXPECT_EQ(LoadSkinImage(ini, "Main", image), Result::FileNotFound);
  EXPECT_FALSE(image.IsLoaded());
}

TEST_F(SkinFileTest, MissingScreenKeyFailsOnTheFolderItself) {
  const auto ini = Ini("Skin.ini", "[SCREEN]\n");
  DibImage image;
  const Result result = LoadSkinImage(ini, "Main", image);
  EXPECT_NE(result, Result::Ok);
  EXPECT_NE(result, Result::FileNotFound);  // the folder exists; it is no picture
  EXPECT_FALSE(image.IsLoaded());
}

TEST_F(SkinFileTest, LoadImageFileTellsMissingFromUndecodable) {
  DibImage image;
  EXPECT_EQ(LoadImageFile(Dir() / "FireKey.png", image), Result::FileNotFound);
  WriteFile(Dir() / "FireKey.png", "not a picture");
  EXPECT_EQ(LoadImageFile(Dir() / "FireKey.png", image), Result::BadData);
  EXPECT_FALSE(image.IsLoaded());
}

TEST_F(SkinFileTest, PixelsKeepTheirAlpha) {
  QImage picture(2, 1, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgba(10, 20, 30, 128));
  picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
  SavePng(picture, Dir() / "Alpha.png");
  GdiplusImage image;
  ASSERT_EQ(LoadImageFile(Dir() / "Alpha.png", image), Result::Ok);
  const QRgb half = image.Pixel(0, 0);
  EXPECT_EQ(qAlpha(half), 128);
  EXPECT_NEAR(qRed(half), 10, 1);  // premultiplied storage rounds
  EXPECT_NEAR(qBlue(half), 30, 1);
  EXPECT_EQ(qAlpha(image.Pixel(1, 0)), 0);
  EXPECT_EQ(image.Pixel(5, 5), 0u);
}

TEST_F(SkinFileTest, SkinStepIsBadDataWhenAnyImageIsMissing) {
  SavePng(PatternImage(6, 4, 1), Dir() / "Msg.png");
  const auto ini = Ini("Msg.ini", "[SCREEN]\nMain=Msg.png\nStatus2=Msg2.png\n");
  SkinFile<DibImage> skin(ini);
  EXPECT_EQ(skin.Load(), Result::BadData);
  EXPECT_TRUE(skin.Main().IsLoaded());
  EXPECT_FALSE(skin.Highlight().IsLoaded());

  SavePng(PatternImage(6, 4, 2), Dir() / "Msg2.png");
  EXPECT_EQ(skin.Load(), Result::Ok);
  EXPECT_EQ(skin.Highlight().Pixel(5, 3), qRgb(5, 3, 2));
}

}  // namespace
}  // namespace vexlo
