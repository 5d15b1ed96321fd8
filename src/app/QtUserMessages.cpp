#include "app/QtUserMessages.h"

#include <QApplication>
#include <QMessageBox>

#include <iostream>

namespace vexlo {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int QtUserMessages::ShowMessage(std::string_view textKey, std::string_view titleKey,
                                std::uint32_t flags, std::uint32_t /*titleColour*/) {
  if (showing_ || !qobject_cast<QApplication*>(QCoreApplication::instance())) return kCancel;
  showing_ = true;
  QMessageBox box(QMessageBox::Information, FromUtf8(language_.LookupText(titleKey)),
                  FromUtf8(language_.LookupText(textKey)));
  const bool question = flags & kQuestion;
  box.setStandardButtons(question ? QMessageBox::Yes | QMessageBox::No
                                  : QMessageBox::Ok | QMessageBox::Cancel);
  if (flags & kKeepOnTop) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  const int answer = box.exec();
  showing_ = false;
  return answer == QMessageBox::Yes || answer == QMessageBox::Ok ? kOk : kCancel;
}

void QtUserMessages::ShowPlainMessage(std::string_view text) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    std::cerr << text << '\n';
    return;
  }
  QMessageBox::information(nullptr, QStringLiteral("Vexlo"), FromUtf8(text));
}

}  // namespace vexlo
