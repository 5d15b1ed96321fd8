#pragma once

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace vexlo {

class LanguageTable;

// The program's icon in the notification area while the mouse is connected: a click opens the
// main window, its menu opens it or ends the program. Where the desktop has no notification area
// there is no icon, and the program runs without it.
class MainTrayIcon {
 public:
  MainTrayIcon(const QIcon& icon, const LanguageTable& language, std::function<void()> open,
               std::function<void()> exit);
  ~MainTrayIcon();

  // Puts the icon into the notification area, or takes it out.
  void SetPresent(bool present);
  bool IsPresent() const;

 private:
  std::unique_ptr<QMenu> menu_;
  std::unique_ptr<QSystemTrayIcon> icon_;  // none without a notification area
};

}  // namespace vexlo
