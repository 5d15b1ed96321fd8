#include "skin/MenuHook.h"

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include "PostedMessages.h"
#include "SkinTestImages.h"
#include "common/Messages.h"
#include "skin/CMenuEx.h"
#include "skin/ColorRef.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

using test::PostedMessage;

class MenuHookTest : public ::testing::Test {
 protected:
  MenuHookTest() {
    InstallMenuHook();
    SetMenuHookReceiver(&window_);
  }
  ~MenuHookTest() override { RemoveMenuHook(); }

  static std::intptr_t Handle(QMenu& menu) { return reinterpret_cast<std::intptr_t>(&menu); }

  test::PostedMessages window_;
};

TEST_F(MenuHookTest, ReportsEachMenuWindowThatAppearsAndGoes) {
  QWidget owner;
  CMenuEx menu(&owner);
  menu.AppendItem(1, QStringLiteral("One"));
  CMenuEx* sub = menu.AppendSubMenu(QStringLiteral("More"));
  sub->AppendItem(2, QStringLiteral("Two"));
  menu.Convert();
  menu.popup(QPoint(50, 50));
  sub->popup(QPoint(150, 50));
  sub->hide();
  menu.hide();
  const std::vector<PostedMessage> expected = {
      {UM_MENU_WINDOW, kMenuWindowSized, Handle(menu)},
      {UM_MENU_WINDOW, kMenuWindowSized, Handle(*sub)},
      {UM_MENU_WINDOW, kMenuWindowDestroyed, Handle(*sub)},
      {UM_MENU_WINDOW, kMenuWindowDestroyed, Handle(menu)},
  };
  EXPECT_EQ(window_.posted, expected);
}

TEST_F(MenuHookTest, PlainMenusGetTheProgramsBorderToo) {
  SetMenuBorderColours(0x0000FF, 0x00FF00);
  QMenu plain;
  plain.addAction(QStringLiteral("Open settings"));
  plain.addAction(QStringLiteral("Exit"));
  plain.popup(QPoint(40, 40));
  const QImage shown = test::Grab(plain);
  const int right = shown.width() - 1;
  const int bottom = shown.height() - 1;
  EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(right, bottom), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(1, bottom / 2), qRgb(0, 255, 0));
  EXPECT_EQ(shown.pixel(right - 2, bottom - 2), qRgb(0, 255, 0));
  plain.hide();
  SetMenuBorderColours(kDefaultMenuOuterBorder, kDefaultMenuInnerBorder);
}

TEST_F(MenuHookTest, InstallsOnceAndRemovingEndsTheReports) {
  InstallMenuHook();  // a second installation changes nothing
  QMenu plain;
  plain.addAction(QStringLiteral("Exit"));
  plain.popup(QPoint(40, 40));
  plain.hide();
  EXPECT_EQ(window_.posted.size(), 2u);

  RemoveMenuHook();
  EXPECT_FALSE(IsMenuHookInstalled());
  RemoveMenuHook();  // nothing installed: does nothing
  plain.popup(QPoint(40, 40));
  plain.hide();
  EXPECT_EQ(window_.posted.size(), 2u);
}

TEST_F(MenuHookTest, WithoutAReceiverNothingIsReported) {
  SetMenuHookReceiver(nullptr);
  QMenu plain;
  plain.addAction(QStringLiteral("Exit"));
  plain.popup(QPoint(40, 40));
  plain.hide();
  EXPECT_TRUE(window_.posted.empty());
  EXPECT_TRUE(IsMenuHookInstalled());
}

}  // namespace
}  // namespace vexlo
