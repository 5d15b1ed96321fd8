#include "dialogs/CFireKeyDlg.h"

#include "dialogs/NumberEdit.h"
#include "engine/ExtensionNumber.h"
#include "skin/CColorEdit.h"
#include "skin/CColorStatic.h"
#include "skin/DrawText.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kByteLimit = 255;
constexpr int kLabelHeight = -13;
constexpr int kEditHeight = -14;

}  // namespace

CFireKeyDlg::CFireKeyDlg(const AppSettings& settings, const LanguageTable& language,
                         QWidget* parent)
    : CPackedNumberDlg(settings, language, {"FireKey.ini", "FireKey.png", "FireKey2.png"}, parent),
      intervalLabel_(new CColorStatic(this)),
      intervalEdit_(new CColorEdit(this)),
      countLabel_(new CColorStatic(this)),
      countEdit_(new CColorEdit(this)) {
  setObjectName(QStringLiteral("FireKeyDlg"));
  CapNumberOnChange(*intervalEdit_, kByteLimit);
  CapNumberOnChange(*countEdit_, kByteLimit);
  SetTabOrder({intervalEdit_, countEdit_});
}

CFireKeyDlg::~CFireKeyDlg() = default;

void CFireKeyDlg::OnInitDialog() {
  CImageDlg::OnInitDialog();
  const QFont labelFont = CreateSkinFont(kLabelHeight, 400, Face());
  const QFont editFont = CreateSkinFont(kEditHeight, 400, Face());
  SetupOkCancel();
  SetupTitle("STA_FIRE_KEY_TITLE");
  SetupLabel(*intervalLabel_, "STA_INTVL", labelFont, "STA_FIRE_KEY_INTVL");
  SetupNumberEdit(*intervalEdit_, "EDIT_INTVL", editFont);
  SetupLabel(*countLabel_, "STA_COUNT", labelFont, "STA_FIRE_KEY_COUNT");
  SetupNumberEdit(*countEdit_, "EDIT_COUNT", editFont);

  FireKeyNumber preset = UnpackFireKey(Value());
  if (preset.interval == 0) preset.interval = 1;  // there is no click period of zero
  intervalEdit_->setText(QString::number(preset.interval));
  countEdit_->setText(QString::number(preset.clicks));
  intervalEdit_->setFocus();
  intervalEdit_->selectAll();
}

std::uint32_t CFireKeyDlg::ValueShown() const {
  return PackFireKey({static_cast<std::uint8_t>(LeadingNumber(intervalEdit_->text(), kByteLimit)),
                      static_cast<std::uint8_t>(LeadingNumber(countEdit_->text(), kByteLimit))});
}

}  // namespace vexlo
