#pragma once

#include <QString>

#include <cstdint>

class QLineEdit;

namespace vexlo {

// The number at the start of an edit's text, as the dialogs read their number fields: decimal
// digits after any leading white space, up to the first other character ("12a" is 12); 0 without
// digits; `limit` for anything above it, so a pasted run of digits never wraps to a small number.
std::uint32_t LeadingNumber(const QString& text, std::uint32_t limit);

// Keeps the field's number at most `limit` while the user types: whenever its text changes and
// the number read is larger, the text becomes the limit. Other text is left as typed. `limit` is
// below 4294967295.
void CapNumberOnChange(QLineEdit& edit, std::uint32_t limit);

}  // namespace vexlo
