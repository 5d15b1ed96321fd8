#pragma once

#include <QIcon>
#include <QMenu>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

#include "app/TrayAvailability.h"

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

// The program's icon in the notification area while the mouse is connected: a click opens the
// main window (kIdTrayOpen), its menu opens it or ends the program (kIdTrayExit). The icon is
// created hidden. A notification area that appears late or restarts gets the icon when it comes;
// until then the program runs without it.
class CTrayIcon {
 public:
  CTrayIcon(const QIcon& icon, const LanguageTable& language, std::function<void(int)> command,
            TrayAvailability::Probe probe = TrayAvailability::DesktopHasTray);
  ~CTrayIcon();

  // Puts the icon into the notification area (now, or when one appears), or takes it out.
  void SetPresent(bool present);
  // True while the icon is wanted and the desktop has somewhere to show it.
  bool IsPresent() const { return present_ && availability_.Available(); }
  bool TrayAvailable() const { return availability_.Available(); }
  QString ToolTip() const { return icon_.toolTip(); }

  // What the desktop reports of clicks on the icon (the context menu the desktop opens itself).
  void OnActivated(QSystemTrayIcon::ActivationReason reason);
  // The tray menu; its texts and the menu border colours are set each time before it shows.
  QMenu& Menu() { return menu_; }
  // Asks whether the notification area came or went (done every second anyway).
  void CheckTray() { availability_.Check(); }

 private:
  void PrepareMenu();
  void OnAvailability(bool available);

  const LanguageTable& language_;
  std::function<void(int)> command_;
  QMenu menu_;
  QAction* open_;
  QAction* exit_;
  QSystemTrayIcon icon_;
  bool present_ = false;
  TrayAvailability availability_;
};

}  // namespace vexlo
