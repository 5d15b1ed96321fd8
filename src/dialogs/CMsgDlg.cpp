#include "dialogs/CMsgDlg.h"

#include <QKeyEvent>

#include "common/LanguageTable.h"
#include "profiles/AppSettings.h"
#include "skin/CColorStatic.h"
#include "skin/DrawText.h"
#include "skin/LanguageText.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kInformationColour = 0xC8C8C8;
constexpr int kInformationHeight = -16;

}  // namespace

CMsgDlg::CMsgDlg(const AppSettings& settings, const LanguageTable& language, QWidget* parent)
    : CImageDlg(parent),
      settings_(settings),
      language_(language),
      titleLabel_(new CColorStatic(this)),
      informationArea_(new CImageBtn(CImageBtn::Kind::Push, this)),
      cancelButton_(new CImageBtn(CImageBtn::Kind::Push, this)),
      okButton_(new CImageBtn(CImageBtn::Kind::Push, this)) {
  setObjectName(QStringLiteral("MsgDlg"));
  // A text area, never a button: it shows its disabled picture and ignores the mouse.
  informationArea_->setEnabled(false);
  connect(okButton_, &QAbstractButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QAbstractButton::clicked, this, &QDialog::reject);
}

CMsgDlg::~CMsgDlg() = default;

Result CMsgDlg::LoadSkin() {
  return skin_.Load(std::filesystem::path(settings_.SkinFolder) / "Msg.ini", *this);
}

int CMsgDlg::ShowMessage(const QString& information, const QString& title, std::uint32_t flags,
                         std::uint32_t titleColour) {
  if (IsShowing()) return kIdCancel;
  information_ = information;
  title_ = title;
  flags_ = flags;
  titleColour_ = titleColour;
  if (!nextAnswers_.empty()) {
    const int answer = nextAnswers_.front();
    nextAnswers_.pop_front();
    return answer;
  }
  // A window without its skin still shows the texts and answers the keyboard.
  if (!skin_.IsLoaded()) (void)LoadSkin();
  setWindowFlag(Qt::WindowStaysOnTopHint, (flags & kKeepOnTop) != 0);
  return exec() == QDialog::Accepted ? kIdOk : kIdCancel;
}

void CMsgDlg::SetNextAnswer(int answer) {
  nextAnswers_.push_back(answer);
}

void CMsgDlg::OnInitDialog() {
  CImageDlg::OnInitDialog();
  const QString face = QString::fromStdString(settings_.CommonFontName);
  const bool question = (flags_ & kQuestion) != 0;
  setWindowTitle(title_);

  skin_.SetButtonImages(*okButton_, "BTN_OK");
  okButton_->SetTextStyle(kDialogButtonTextHeight, 400, face, kDialogButtonText, kCentredLine);
  okButton_->setText(LanguageText(language_, question ? "BTN_MSG_YES" : "BTN_MSG_OK"));

  skin_.SetButtonImages(*cancelButton_, "BTN_CANCEL");
  cancelButton_->SetTextStyle(kDialogButtonTextHeight, 400, face, kDialogButtonText, kCentredLine);
  cancelButton_->setText(LanguageText(language_, question ? "BTN_MSG_NO" : "BTN_MSG_CANCEL"));

  const QFont titleFont = CreateSkinFont(kDialogTitleHeight, 700, face);
  SetupColorStatic(skin_.Path(), "STA_TITLE", *titleLabel_, titleColour_, 0, true, &titleFont);
  titleLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  titleLabel_->setText(title_);

  skin_.SetButtonImages(*informationArea_, "BTN_INFO");
  CImageBtn::StateColours colours;
  colours.fill(kInformationColour);
  informationArea_->SetTextStyle(kInformationHeight, 400, face, colours, kWrappedCentred);
  informationArea_->setText(information_);

  okButton_->setFocus();
}

void CMsgDlg::keyPressEvent(QKeyEvent* event) {
  // Enter answers OK unless a focused button took it first; Escape cancels (the base dialog).
  // A key held down since before the message appeared answers nothing.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    if (!event->isAutoRepeat()) accept();
    event->accept();
    return;
  }
  CImageDlg::keyPressEvent(event);
}

}  // namespace vexlo
