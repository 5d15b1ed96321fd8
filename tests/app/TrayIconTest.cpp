#include "app/CTrayIcon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "common/LanguageTable.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

LanguageTable TrayTexts(const test::TempFolder& temp) {
  test::WriteFile(temp / "Lang.ini",
                  "[LANG]\nINFO_TRAY=Vexlo mouse\nINFO_TRAY_OPEN=Open\nINFO_TRAY_EXIT=Exit\n");
  LanguageTable language;
  language.Load(temp / "Lang.ini");
  return language;
}

// The offscreen platform has no notification area: the tests say when there is one.
class TrayIconTest : public ::testing::Test {
 protected:
  test::TempFolder temp_;
  LanguageTable language_ = TrayTexts(temp_);
  bool trayUp_ = false;
  std::vector<int> commands_;
  CTrayIcon tray_{QIcon(), language_, [this](int command) { commands_.push_back(command); },
                  [this] { return trayUp_; }};
};

TEST(CutTrayTipTest, NeverCutsInsideACharacter) {
  const QString a127(127, u'a');
  const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");  // two UTF-16 units
  const QString accented = QStringLiteral("e\u0301");         // e and a combining accent
  const struct {
    QString tip;
    QString cut;
  } cases[] = {
      {a127, a127},
      {a127 + u'b', a127},
      {QString(126, u'a') + clef, QString(126, u'a')},
      {QString(125, u'a') + clef + u'b', QString(125, u'a') + clef},
      {QString(126, u'a') + accented, QString(126, u'a')},
      {QString(), QString()},
  };
  for (const auto& c : cases) EXPECT_EQ(CutTrayTip(c.tip), c.cut) << c.tip.size();
}

TEST_F(TrayIconTest, ClicksOpenTheWindowAndTheMenuOpensOrEnds) {
  EXPECT_EQ(tray_.ToolTip(), QStringLiteral("Vexlo mouse"));
  tray_.OnActivated(QSystemTrayIcon::Trigger);
  tray_.OnActivated(QSystemTrayIcon::DoubleClick);
  tray_.OnActivated(QSystemTrayIcon::Context);  // the desktop opens the menu itself
  tray_.OnActivated(QSystemTrayIcon::MiddleClick);
  EXPECT_EQ(commands_, (std::vector<int>{kIdTrayOpen, kIdTrayOpen}));

  SetMenuBorderColours(0x123456, 0x654321);  // another menu's colours
  emit tray_.Menu().aboutToShow();
  EXPECT_EQ(MenuOuterBorderColour(), 0x979797u);
  EXPECT_EQ(MenuInnerBorderColour(), 0xF2F2F2u);
  const auto items = tray_.Menu().actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), QStringLiteral("Open"));
  EXPECT_EQ(items[1]->text(), QStringLiteral("Exit"));
  EXPECT_EQ(tray_.Menu().defaultAction(), items[0]);  // drawn bold
  items[1]->trigger();
  items[0]->trigger();
  EXPECT_EQ(commands_, (std::vector<int>{kIdTrayOpen, kIdTrayOpen, kIdTrayExit, kIdTrayOpen}));
}

}  // namespace
}  // namespace vexlo
