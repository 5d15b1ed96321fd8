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
  for (QWidget* keyReceiver : {static_cast<QWidget*>(this), static_cast<QWidget*>(okButton_),
                               static_cast<QWidget*>(cancelButton_)}) {
    keyReceiver->installEventFilter(this);
  }
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
  // A window without its skin still shows the texts and answers the mouse.
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

  skin_.SetupTextButton(*okButton_, "BTN_OK", face,
                        LanguageText(language_, question ? "BTN_MSG_YES" : "BTN_MSG_OK"));
  skin_.SetupTextButton(*cancelButton_, "BTN_CANCEL", face,
                        LanguageText(language_, question ? "BTN_MSG_NO" : "BTN_MSG_CANCEL"));

  skin_.SetupTitle(*titleLabel_, face, titleColour_, title_);

  skin_.SetButtonImages(*informationArea_, "BTN_INFO");
  CImageBtn::StateColours colours;
  colours.fill(kInformationColour);
  informationArea_->SetTextStyle(kInformationHeight, 400, face, colours, kWrappedCentred);
  informationArea_->setText(information_);

  okButton_->setFocus();
}

bool CMsgDlg::eventFilter(QObject* watched, QEvent* event) {
  // A key held down in a game when the message appears must not answer it: Enter, Escape and
  // Space reach neither the dialog nor its buttons.
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
      case Qt::Key_Space:
        return true;
      default:
        break;
    }
  }
  return CImageDlg::eventFilter(watched, event);
}

}  // namespace vexlo
