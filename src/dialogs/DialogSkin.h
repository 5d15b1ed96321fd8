#pragma once

#include <QString>

#include <filesystem>
#include <string_view>

#include "common/Result.h"
#include "skin/CImageBtn.h"
#include "skin/SkinImage.h"

namespace vexlo {

class CColorStatic;
class CImageDlg;

// The caption colours of the dialogs' buttons (COLORREF): grey, white under the pointer and while
// pressed, dim when disabled.
inline constexpr CImageBtn::StateColours kDialogButtonText = {0xC8C8C8, 0xFFFFFF, 0xFFFFFF,
                                                              0x606060, 0xC8C8C8};
inline constexpr int kDialogButtonTextHeight = -14;
inline constexpr int kDialogTitleHeight = -16;
// The title colour of the dialogs, RGB(0x3C, 0x6E, 0xC8).
inline constexpr std::uint32_t kDialogTitleColour = 0xC86E3C;
// The grey of the dialogs' texts and numbers.
inline constexpr std::uint32_t kDialogTextColour = 0xC8C8C8;
// The caption colours of a disabled text area (a subtitle): grey in every state.
inline constexpr CImageBtn::StateColours kDialogTextAreaColours = {0xC8C8C8, 0xC8C8C8, 0xC8C8C8,
                                                                   0xC8C8C8, 0xFFFFFF};
// One line, centred both ways.
inline constexpr std::uint32_t kCentredLine = 37;
// Wrapped, centred vertically, centred horizontally while it fits on one line.
inline constexpr std::uint32_t kWrappedCentred = 0x80000015;

// One dialog's skin file with its normal and highlighted whole-window images, loaded once; the
// normal image is the window's background and the file gives the controls' rectangles.
class DialogSkin {
 public:
  // Loads the images that the file names (Main, Status2) and makes the normal one the window's
  // opaque background: Ok, or BadData when either image is missing (the window then shows the
  // button-face colour).
  [[nodiscard]] Result Load(const std::filesystem::path& iniPath, CImageDlg& window);

  // The same for a dialog whose pictures have fixed names in the file's folder. Without a
  // highlight name the normal picture serves every state.
  [[nodiscard]] Result LoadFixed(const std::filesystem::path& iniPath, std::string_view mainFile,
                                 std::string_view highlightFile, CImageDlg& window);

  bool IsLoaded() const { return loaded_; }

  // The file's path; empty before the first load.
  const std::filesystem::path& Path() const { return path_; }
  const DibImage& Main() const { return main_; }
  const DibImage& Highlight() const { return hasHighlight_ ? highlight_ : main_; }

  // Places the button and cuts its pictures from the images: the normal one while normal or
  // disabled, the highlighted one under the pointer, pressed and checked.
  void SetButtonImages(CImageBtn& button, std::string_view key) const;

  // A text button of the dialogs (OK, Cancel, Apply): placed with its pictures as above, a
  // centred caption in the dialogs' button colours.
  void SetupTextButton(CImageBtn& button, std::string_view key, const QString& face,
                       const QString& caption) const;

  // A text area drawn as a disabled button (a subtitle): its pictures as above, a wrapped
  // caption in the dialogs' text grey.
  void SetupTextArea(CImageBtn& area, std::string_view key, const QString& face,
                     const QString& text) const;

  // The dialog's title line STA_TITLE: bold, in the colour (COLORREF), on the skin.
  void SetupTitle(CColorStatic& label, const QString& face, std::uint32_t colour,
                  const QString& text) const;

 private:
  Result Finish(Result main, Result highlight, CImageDlg& window);

  std::filesystem::path path_;
  DibImage main_;
  DibImage highlight_;
  bool hasHighlight_ = true;
  bool loaded_ = false;
};

}  // namespace vexlo
