#pragma once

#include <QString>

#include <cstdint>
#include <string>

#include "common/Result.h"
#include "skin/CImageSlider.h"
#include "skin/CMenuEx.h"
#include "skin/SkinFile.h"

class QLabel;
class QWidget;

namespace vexlo {

class CColorEdit;
class CImageBtn;
class LanguageTable;
class MessageTarget;
class UserMessages;

// Makes a page's controls on the main window, each placed from the page skin, named after its
// skin key and drawn in the default skin's look (SkinStyles): buttons and sliders cut from the
// page's pictures, labels and edits over them. The controls are children of the window.
class PageControls {
 public:
  PageControls(QWidget& window, SkinFile<DibImage>& skin, const LanguageTable& language,
               const QString& fontFace);

  // A button with the language text of `key` as its caption (none when the text is empty).
  CImageBtn* Button(const std::string& key) const;
  // A button whose caption the page sets (a menu button showing its value).
  CImageBtn* ValueButton(const std::string& key) const;
  // A label showing the language text of `textKey`.
  QLabel* Label(const std::string& key, const std::string& textKey) const;
  QLabel* Label(const std::string& key) const { return Label(key, key); }
  CColorEdit* Edit(const std::string& key) const;
  // A slider from 0 to `maximum` that posts UM_SLIDER_CHANGED with `controlId` to `notify` (none:
  // nowhere) only when the user moves it, with `thumb` in every state.
  CImageSlider* Slider(const std::string& key, const SkinImage& thumb, int maximum,
                       MessageTarget* notify, int controlId) const;

  QString Text(const std::string& key) const;

 private:
  QWidget& window_;
  SkinFile<DibImage>& skin_;
  const LanguageTable& language_;
  QString face_;
};

// The pages' flat drop-down look: one background, no icon column, grey disabled items and the
// orange selection. Menus differ only in background, text colour, text format and text gap.
MenuStyle PageMenuStyle(std::uint32_t background, std::uint32_t text, std::uint32_t textFormat = 69,
                        int textGap = 5);

// The colours (COLORREF) of a menu that a page button opens.
struct PageMenuColours {
  std::uint32_t background;
  std::uint32_t outerBorder;
  std::uint32_t innerBorder;
};
// The report-rate and light-mode menus.
inline constexpr PageMenuColours kValueMenuColours{0x321E0A, 0xBA6908, 0x321E0A};

// Styles the menu in the page colours, every item as wide as `button`, shows it at the button's
// bottom-left corner and answers the chosen command ID (0 when dismissed).
int TrackPageMenu(CMenuEx& menu, QWidget& button, const PageMenuColours& colours);

// Tells the user when a change could not be written to the profile file.
void WarnIfUnsaved(UserMessages& messages, Result written);

}  // namespace vexlo
