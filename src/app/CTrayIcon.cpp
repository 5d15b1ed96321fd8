#include "app/CTrayIcon.h"

#include <QTextBoundaryFinder>

#include "common/LanguageTable.h"
#include "skin/MenuBorder.h"

namespace vexlo {
namespace {

QString Text(const LanguageTable& language, std::string_view key) {
  return QString::fromStdString(language.LookupText(key));
}

}  // namespace

QString CutTrayTip(const QString& tip, int limit) {
  if (tip.size() <= limit) return tip;
  QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, tip);
  characters.setPosition(limit);
  if (!characters.isAtBoundary()) characters.toPreviousBoundary();
  return tip.left(std::max<qsizetype>(characters.position(), 0));
}

bool DesktopHasTray() { return QSystemTrayIcon::isSystemTrayAvailable(); }

CTrayIcon::CTrayIcon(const QIcon& icon, const LanguageTable& language,
                     std::function<void(int)> command, TrayProbe hasTray)
    : language_(language),
      command_(std::move(command)),
      open_(menu_.addAction(QString())),
      exit_(menu_.addAction(QString())),
      icon_(icon),
      hasTray_(std::move(hasTray)) {
  menu_.setDefaultAction(open_);  // drawn bold
  PrepareMenu();
  QObject::connect(&menu_, &QMenu::aboutToShow, [this] { PrepareMenu(); });
  QObject::connect(open_, &QAction::triggered, [this] { command_(kIdTrayOpen); });
  QObject::connect(exit_, &QAction::triggered, [this] { command_(kIdTrayExit); });
  icon_.setToolTip(CutTrayTip(Text(language_, "INFO_TRAY")));
  icon_.setContextMenu(&menu_);
  QObject::connect(&icon_, &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
}

CTrayIcon::~CTrayIcon() { icon_.setContextMenu(nullptr); }

void CTrayIcon::PrepareMenu() {
  open_->setText(Text(language_, "INFO_TRAY_OPEN"));
  exit_->setText(Text(language_, "INFO_TRAY_EXIT"));
  SetMenuBorderColours(kDefaultMenuOuterBorder, kDefaultMenuInnerBorder);
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  // A single click opens the window as a double click does.
  if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
    command_(kIdTrayOpen);
  }
}

void CTrayIcon::SetPresent(bool present) {
  present_ = present;
  icon_.setVisible(present);
}

}  // namespace vexlo
