#include "dialogs/CPackedNumberDlg.h"

#include <QKeyEvent>

#include <string>

#include "profiles/AppSettings.h"
#include "skin/CColorEdit.h"
#include "skin/CColorStatic.h"
#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/LanguageText.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kDisabledNumberColour = 0x606060;

}  // namespace

CPackedNumberDlg::CPackedNumberDlg(const AppSettings& settings, const LanguageTable& language,
                                   SkinFiles files, QWidget* parent)
    : CImageDlg(parent),
      settings_(settings),
      language_(language),
      files_(files),
      titleLabel_(new CColorStatic(this)),
      cancelButton_(new CImageBtn(CImageBtn::Kind::Push, this)),
      okButton_(new CImageBtn(CImageBtn::Kind::Push, this)) {
  connect(okButton_, &QAbstractButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QAbstractButton::clicked, this, &QDialog::reject);
}

CPackedNumberDlg::~CPackedNumberDlg() = default;

Result CPackedNumberDlg::LoadSkin() {
  const std::filesystem::path ini = std::filesystem::path(settings_.SkinFolder) / files_.ini;
  return skin_.LoadFixed(ini, files_.mainPicture, files_.highlightPicture, *this);
}

int CPackedNumberDlg::Run() {
  if (IsShowing()) return kIdCancel;
  if (!nextAnswers_.empty()) {
    const Answer answer = nextAnswers_.front();
    nextAnswers_.pop_front();
    if (answer.result == kIdOk) value_ = answer.value;
    return answer.result;
  }
  if (!skin_.IsLoaded()) (void)LoadSkin();  // without its pictures the dialog still works
  return exec() == QDialog::Accepted ? kIdOk : kIdCancel;
}

void CPackedNumberDlg::SetNextAnswer(int answer, std::uint32_t value) {
  nextAnswers_.push_back({answer, value});
}

void CPackedNumberDlg::accept() {
  value_ = ValueShown();
  CImageDlg::accept();
}

void CPackedNumberDlg::SetupOkCancel() {
  skin_.SetupTextButton(*okButton_, "BTN_OK", Face(), Text("BTN_MSG_OK"));
  skin_.SetupTextButton(*cancelButton_, "BTN_CANCEL", Face(), Text("BTN_MSG_CANCEL"));
}

void CPackedNumberDlg::SetupTitle(std::string_view textKey) {
  const QString title = Text(textKey);
  setWindowTitle(title);
  skin_.SetupTitle(*titleLabel_, Face(), kDialogTitleColour, title);
}

void CPackedNumberDlg::keyPressEvent(QKeyEvent* event) {
  // Enter in a field stores the number, as OK does; Escape cancels (the base dialog). An Enter
  // held down since before the dialog opened (it chose the menu item that opened it) repeats
  // and stores nothing.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    if (!event->isAutoRepeat()) accept();
    return;
  }
  CImageDlg::keyPressEvent(event);
}

QString CPackedNumberDlg::Text(std::string_view key) const {
  return LanguageText(language_, key);
}

QString CPackedNumberDlg::Face() const {
  return QString::fromStdString(settings_.CommonFontName);
}

void CPackedNumberDlg::SetupLabel(CColorStatic& label, std::string_view key, const QFont& font,
                                  std::string_view textKey) const {
  SetupColorStatic(skin_.Path(), key, label, kDialogTextColour, 0, true, &font);
  label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label.setText(Text(textKey));
}

void CPackedNumberDlg::SetupNumberEdit(CColorEdit& edit, std::string_view key,
                                       const QFont& font) const {
  SetupColorEdit(skin_.Path(), key, edit, kDialogTextColour, &font);
  QPalette colours = edit.palette();
  colours.setColor(QPalette::Disabled, QPalette::Text, ColorFromRef(kDisabledNumberColour));
  edit.setPalette(colours);
  edit.setAlignment(Qt::AlignHCenter);
  CenterEditText(edit);
}

void CPackedNumberDlg::SetTabOrder(std::initializer_list<QWidget*> controls) {
  QWidget* previous = nullptr;
  for (QWidget* control : controls) {
    if (previous) setTabOrder(previous, control);
    previous = control;
  }
  if (previous) setTabOrder(previous, okButton_);
  setTabOrder(okButton_, cancelButton_);
}

}  // namespace vexlo
