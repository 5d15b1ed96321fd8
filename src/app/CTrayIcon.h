#pragma once

#include <QIcon>
#include <QMenu>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace vexlo {

class LanguageTable;

// The commands of the tray menu, as the main window receives them.
inline constexpr int kIdTrayOpen = 32858;
inline constexpr int kIdTrayExit = 32859;
// The tip holds at most this many UTF-16 units.
inline constexpr int kTrayTipLimit = 127;

// `tip` cut to at most `limit` UTF-16 units, never inside a character (a surrogate pair, or a
// letter and its combining marks).
QString CutTrayTip(const QString& tip, int limit = kTrayTipLimit);

// Whether the desktop has a notification area now.
using TrayProbe = std::function<bool()>;
// The desktop's own answer: a tray manager of the X11 system tray, or a StatusNotifier watcher.
bool DesktopHasTray();

// The program's icon in the notification area while the mouse is connected: a click opens the
// main window (kIdTrayOpen), its menu opens it or ends the program (kIdTrayExit). The icon is
// created hidden. A notification area that appears late or restarts gets the icon when it comes
// (Qt follows the X11 tray manager and the StatusNotifier watcher itself); until then the program
// runs without it.
class CTrayIcon {
 public:
  CTrayIcon(const QIcon& icon, const LanguageTable& language, std::function<void(int)> command,
            TrayProbe hasTray = DesktopHasTray);
  ~CTrayIcon();

  // Puts the icon into the notification area (now, or when one appears), or takes it out.
  void SetPresent(bool present);
  // True while the icon is wanted and the desktop has somewhere to show it.
  bool IsPresent() const { return present_ && TrayAvailable(); }
  bool TrayAvailable() const { return hasTray_(); }
  QString ToolTip() const { return icon_.toolTip(); }

  // What the desktop reports of clicks on the icon (the context menu the desktop opens itself).
  void OnActivated(QSystemTrayIcon::ActivationReason reason);
  // The tray menu; its texts and the menu border colours are set each time before it shows.
  QMenu& Menu() { return menu_; }

 private:
  void PrepareMenu();

  const LanguageTable& language_;
  std::function<void(int)> command_;
  QMenu menu_;
  QAction* open_;
  QAction* exit_;
  QSystemTrayIcon icon_;
  bool present_ = false;
  TrayProbe hasTray_;
};

}  // namespace vexlo
