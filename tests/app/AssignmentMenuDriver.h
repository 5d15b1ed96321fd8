#pragma once

#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "skin/CMenuEx.h"

// Working an open assignment menu as a user does, with the keyboard, finding items by command ID.
namespace vexlo::test {

// The command IDs of the menu's items, sub-menus' included, in menu order.
inline std::vector<int> CommandIds(const QMenu& menu) {
  std::vector<int> ids;
  for (const QAction* action : menu.actions()) {
    if (const QMenu* sub = action->menu()) {
      const std::vector<int> inner = CommandIds(*sub);
      ids.insert(ids.end(), inner.begin(), inner.end());
    } else if (const int id = CMenuEx::CommandId(*action)) {
      ids.push_back(id);
    }
  }
  return ids;
}

// Chooses the item of `commandId`, opening its sub-menu first when it is in one.
inline void ChooseItem(QMenu& menu, int commandId) {
  for (QAction* action : menu.actions()) {
    QMenu* sub = action->menu();
    const std::vector<int> inner = sub ? CommandIds(*sub) : std::vector<int>{};
    if (sub && std::find(inner.begin(), inner.end(), commandId) != inner.end()) {
      menu.setActiveAction(action);
      QTest::keyClick(&menu, Qt::Key_Right);
      ChooseItem(*sub, commandId);
      return;
    }
    if (!sub && CMenuEx::CommandId(*action) == commandId) {
      menu.setActiveAction(action);
      QTest::keyClick(&menu, Qt::Key_Return);
      return;
    }
  }
  ADD_FAILURE() << "no item " << commandId;
  menu.close();
}

}  // namespace vexlo::test
