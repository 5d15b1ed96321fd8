#include "dialogs/NumberEdit.h"

#include <QLineEdit>

namespace vexlo {

std::uint32_t LeadingNumber(const QString& text, std::uint32_t limit) {
  qsizetype at = 0;
  while (at < text.size() && text[at].isSpace()) ++at;
  std::uint64_t value = 0;
  for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
    value = value * 10 + (text[at].unicode() - u'0');
    if (value > limit) return limit;
  }
  return static_cast<std::uint32_t>(value);
}

void CapNumberOnChange(QLineEdit& edit, std::uint32_t limit) {
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, [&edit, limit](const QString& text) {
    // Read with a higher limit to tell the limit itself from a number above it.
    if (LeadingNumber(text, limit + 1) > limit) edit.setText(QString::number(limit));
  });
}

}  // namespace vexlo
