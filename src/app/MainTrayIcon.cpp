#include "app/MainTrayIcon.h"

#include "common/LanguageTable.h"

namespace vexlo {
namespace {

QString Text(const LanguageTable& language, std::string_view key) {
  return QString::fromStdString(language.LookupText(key));
}

}  // namespace

MainTrayIcon::MainTrayIcon(const QIcon& icon, const LanguageTable& language,
                           std::function<void()> open, std::function<void()> exit) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  menu_ = std::make_unique<QMenu>();
  QAction* openItem = menu_->addAction(Text(language, "INFO_TRAY_OPEN"));
  QObject::connect(openItem, &QAction::triggered, open);
  menu_->setDefaultAction(openItem);
  QObject::connect(menu_->addAction(Text(language, "INFO_TRAY_EXIT")), &QAction::triggered, exit);

  icon_ = std::make_unique<QSystemTrayIcon>(icon);
  // The tip holds at most 127 characters.
  icon_->setToolTip(Text(language, "INFO_TRAY").left(127));
  icon_->setContextMenu(menu_.get());
  // A single click opens the window as a double click does.
  QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                   [open](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::Trigger ||
                         reason == QSystemTrayIcon::DoubleClick) {
                       open();
                     }
                   });
}

MainTrayIcon::~MainTrayIcon() = default;

void MainTrayIcon::SetPresent(bool present) {
  if (icon_) icon_->setVisible(present);
}

bool MainTrayIcon::IsPresent() const { return icon_ && icon_->isVisible(); }

}  // namespace vexlo
