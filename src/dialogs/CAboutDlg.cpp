#include "dialogs/CAboutDlg.h"

#include <QCloseEvent>

#include "dialogs/NumberEdit.h"
#include "profiles/AppSettings.h"
#include "skin/CColorStatic.h"
#include "skin/DrawText.h"
#include "skin/LanguageText.h"

namespace vexlo {
namespace {

constexpr int kTextHeight = -13;
constexpr std::uint32_t kVersionColour = 0xFFFFFF;
constexpr CImageBtn::StateColours kCloseText = {0xC8C8C8, 0xC86E3C, 0xC86E3C, 0x606060, 0xC86E3C};
constexpr std::uint32_t kVersionPartLimit = 65535;

}  // namespace

QString MajorMinorVersion(std::string_view version) {
  const QStringList parts =
      QString::fromUtf8(version.data(), static_cast<qsizetype>(version.size()))
          .split(QLatin1Char('.'));
  const auto part = [&parts](qsizetype i) {
    return i < parts.size() ? LeadingNumber(parts[i], kVersionPartLimit) : 0;
  };
  return QStringLiteral("%1.%2").arg(part(0)).arg(part(1));
}

CAboutDlg::CAboutDlg(const AppSettings& settings, const LanguageTable& language,
                     std::string_view version, QWidget* parent)
    : CImageDlg(parent),
      settings_(settings),
      language_(language),
      version_(MajorMinorVersion(version)),
      closeButton_(new CImageBtn(CImageBtn::Kind::Push, this)),
      versionLabel_(new CColorStatic(this)) {
  setObjectName(QStringLiteral("AboutDlg"));
  // A focused button would answer Enter: the window closes by the mouse or a close request only.
  closeButton_->setFocusPolicy(Qt::NoFocus);
  connect(closeButton_, &QAbstractButton::clicked, this, &QWidget::close);
}

CAboutDlg::~CAboutDlg() = default;

Result CAboutDlg::LoadSkin() {
  return skin_.LoadFixed(std::filesystem::path(settings_.SkinFolder) / "About.ini", "About.png", "",
                         *this);
}

int CAboutDlg::Run() {
  if (IsShowing()) return kIdCancel;
  if (!nextAnswers_.empty()) {
    const int answer = nextAnswers_.front();
    nextAnswers_.pop_front();
    return answer;
  }
  // Without its picture the window still shows the version and closes.
  if (!skin_.IsLoaded()) (void)LoadSkin();
  return exec() == QDialog::Accepted ? kIdOk : kIdCancel;
}

void CAboutDlg::SetNextAnswer(int answer) {
  nextAnswers_.push_back(answer);
}

void CAboutDlg::OnInitDialog() {
  CImageDlg::OnInitDialog();
  closeRequested_ = false;
  const QString face = QString::fromStdString(settings_.CommonFontName);
  setWindowTitle(LanguageText(language_, "BTN_ABOUT_TIP"));

  skin_.SetButtonImages(*closeButton_, "BTN_CLOSE");
  closeButton_->SetTextStyle(kTextHeight, 400, face, kCloseText, kCentredLine);
  closeButton_->setText(LanguageText(language_, "BTN_ABOUT_CLOSE"));

  const QFont textFont = CreateSkinFont(kTextHeight, 400, face);
  SetupColorStatic(skin_.Path(), "STA_SW_VER", *versionLabel_, kVersionColour, 0, true, &textFont);
  versionLabel_->setAlignment(Qt::AlignCenter);
  versionLabel_->setText(LanguageText(language_, "STA_ABOUT_SW_VER") + QLatin1Char('V') + version_);
}

void CAboutDlg::accept() {
  if (closeRequested_) CImageDlg::accept();
}

void CAboutDlg::reject() {
  if (closeRequested_) CImageDlg::reject();
}

void CAboutDlg::closeEvent(QCloseEvent* event) {
  closeRequested_ = true;
  CImageDlg::closeEvent(event);
}

}  // namespace vexlo
