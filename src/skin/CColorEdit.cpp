#include "skin/CColorEdit.h"

#include <QFontMetrics>

#include <algorithm>

#include "skin/ColorRef.h"
#include "skin/SkinFile.h"

namespace vexlo {
namespace {

constexpr int kLineEditTopMargin = 1;

}  // namespace

CColorEdit::CColorEdit(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  const QPalette desktop = palette();
  QPalette colours = desktop;
  colours.setColor(QPalette::Disabled, QPalette::Base, desktop.color(QPalette::Button));
  colours.setColor(QPalette::Disabled, QPalette::Text,
                   desktop.color(QPalette::Active, QPalette::Text));
  setPalette(colours);
}

void CColorEdit::SetColours(std::uint32_t enabledBackground, std::uint32_t disabledBackground,
                            std::uint32_t text) {
  QPalette colours = palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::Base, ColorFromRef(enabledBackground));
  }
  colours.setColor(QPalette::Disabled, QPalette::Base, ColorFromRef(disabledBackground));
  colours.setColor(QPalette::Text, ColorFromRef(text));
  setPalette(colours);
  update();
}

QColor CColorEdit::BackgroundColour() const {
  return palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base);
}

QColor CColorEdit::TextColour() const {
  return palette().color(QPalette::Active, QPalette::Text);
}

void SetupColorEdit(const std::filesystem::path& skinIni, std::string_view key, CColorEdit& edit,
                    std::uint32_t textColour, const QFont* font) {
  PlaceControl(skinIni, key, edit);
  edit.SetColours(kSkinEditBackground, kSkinEditBackground, textColour);
  if (font) edit.setFont(*font);
}

void CenterEditText(QLineEdit& edit) {
  const int top = (edit.height() - QFontMetrics(edit.font()).height()) / 2 - 1;
  edit.setAlignment((edit.alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
  // The line edit keeps one pixel of its own above a top-aligned line.
  const QMargins margins = edit.textMargins();
  edit.setTextMargins(margins.left(), std::max(top - kLineEditTopMargin, 0), margins.right(), 0);
}

}  // namespace vexlo
