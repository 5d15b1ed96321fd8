#include "dialogs/CSngKbdDlg.h"

#include <QCloseEvent>

#include "common/LanguageTable.h"
#include "common/Messages.h"
#include "engine/ScanCodeTable.h"
#include "engine/VirtualKeyScanIndex.h"
#include "profiles/AppSettings.h"
#include "skin/CColorStatic.h"
#include "skin/DrawText.h"
#include "skin/KeyboardHook.h"
#include "skin/LanguageText.h"

namespace vexlo {
namespace {

constexpr int kKeyHeight = -14;
constexpr std::uint32_t kKeyBackground = 0xFFFFFF;

}  // namespace

CSngKbdDlg::CSngKbdDlg(const AppSettings& settings, const LanguageTable& language, QWidget* parent)
    : CImageDlg(parent),
      settings_(settings),
      language_(language),
      titleLabel_(new CColorStatic(this)),
      subtitleArea_(new CImageBtn(CImageBtn::Kind::Push, this)),
      keyLabel_(new CColorStatic(this)),
      applyButton_(new CImageBtn(CImageBtn::Kind::Push, this)),
      closeButton_(new CImageBtn(CImageBtn::Kind::Push, this)),
      target_(*this) {
  setObjectName(QStringLiteral("SngKbdDlg"));
  subtitleArea_->setEnabled(false);  // a text area, never a button
  // The keyboard belongs to the key being chosen: the buttons answer the mouse only.
  applyButton_->setFocusPolicy(Qt::NoFocus);
  closeButton_->setFocusPolicy(Qt::NoFocus);
  connect(applyButton_, &QAbstractButton::clicked, this, [this] { done(QDialog::Accepted); });
  connect(closeButton_, &QAbstractButton::clicked, this, &QWidget::close);
}

CSngKbdDlg::~CSngKbdDlg() = default;

Result CSngKbdDlg::LoadSkin() {
  return skin_.Load(std::filesystem::path(settings_.SkinFolder) / "SngKbd.ini", *this);
}

void CSngKbdDlg::OnInitDialog() {
  CImageDlg::OnInitDialog();
  closeRequested_ = false;
  const QString face = QString::fromStdString(settings_.CommonFontName);
  const QString title = LanguageText(language_, "STA_SNG_KBD_TITLE");
  setWindowTitle(title);

  skin_.SetupTitle(*titleLabel_, face, kDialogTitleColour, title);

  skin_.SetupTextArea(*subtitleArea_, "BTN_SUBTITLE", face,
                      LanguageText(language_, "STA_SNG_KBD_SUBTITLE"));

  const QFont keyFont = CreateSkinFont(kKeyHeight, 700, face);
  SetupColorStatic(skin_.Path(), "STA_KEY", *keyLabel_, kDialogTitleColour, kKeyBackground, false,
                   &keyFont);
  keyLabel_->setAlignment(Qt::AlignCenter);

  skin_.SetupTextButton(*applyButton_, "BTN_APPLY", face, LanguageText(language_, "BTN_MSG_APPLY"));

  skin_.SetButtonImages(*closeButton_, "BTN_CLOSE");
  closeButton_->SetToolTip(LanguageText(language_, "BTN_CLOSE_TIP"));

  ShowKey();
  hook_ = std::make_unique<KeyboardHook>(target_);
}

void CSngKbdDlg::ShowKey() {
  keyLabel_->setText(QString::fromStdString(ScanKeyName(key_)));
}

std::intptr_t CSngKbdDlg::OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
  // Keystrokes still queued when the window closed choose nothing.
  if (message != UM_KEY_HOOK || !hook_) return 0;
  const Keystroke keystroke =
      DecodeKeystroke(static_cast<std::uint8_t>(wParam), static_cast<std::uint32_t>(lParam));
  if (keystroke.release && !IsReleaseOnlyKey(keystroke.scanIndex)) return 0;
  const std::uint8_t code = ScanCodeTable()[keystroke.scanIndex].keyCode;
  // A key without a code would send nothing; consumer and system keys are not keyboard keys.
  if (code == 0 || KeyCodeToUsage(code).page != kUsagePageKeyboard) return 0;
  key_ = keystroke.scanIndex;
  ShowKey();
  return 0;
}

void CSngKbdDlg::accept() {
  if (closeRequested_) CImageDlg::accept();
}

void CSngKbdDlg::reject() {
  if (closeRequested_) CImageDlg::reject();
}

void CSngKbdDlg::done(int result) {
  hook_.reset();
  CImageDlg::done(result);
}

bool CSngKbdDlg::event(QEvent* event) {
  return DispatchWindowMessage(event, *this) || CImageDlg::event(event);
}

void CSngKbdDlg::closeEvent(QCloseEvent* event) {
  closeRequested_ = true;
  CImageDlg::closeEvent(event);
}

}  // namespace vexlo
