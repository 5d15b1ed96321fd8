#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/Result.h"
#include "skin/CImageBtn.h"
#include "skin/SkinFile.h"

namespace vexlo {

class CImageDlg;

// The caption colours of the dialogs' buttons (COLORREF): grey, white under the pointer and while
// pressed, dim when disabled.
inline constexpr CImageBtn::StateColours kDialogButtonText = {0xC8C8C8, 0xFFFFFF, 0xFFFFFF,
                                                              0x606060, 0xC8C8C8};
inline constexpr int kDialogButtonTextHeight = -14;
inline constexpr int kDialogTitleHeight = -16;
// The title colour of the dialogs, RGB(0x3C, 0x6E, 0xC8).
inline constexpr std::uint32_t kDialogTitleColour = 0xC86E3C;
// One line, centred both ways.
inline constexpr std::uint32_t kCentredLine = 37;
// Wrapped, centred vertically, centred horizontally while it fits on one line.
inline constexpr std::uint32_t kWrappedCentred = 0x80000015;

// One dialog's skin file with its normal (Main) and highlighted (Status2) images, loaded once;
// the normal image is the window's background.
class DialogSkin {
 public:
  // Loads both images of the file and makes the normal one the window's opaque background: Ok,
  // or BadData when either image is missing (the window then shows the button-face colour).
  [[nodiscard]] Result Load(const std::filesystem::path& iniPath, CImageDlg& window);
  bool IsLoaded() const { return loaded_; }

  // The file's path; empty before the first Load.
  std::filesystem::path Path() const;

  // Places the button and cuts its pictures from the images: the normal one while normal or
  // disabled, the highlighted one under the pointer, pressed and checked.
  void SetButtonImages(CImageBtn& button, std::string_view key) const;

 private:
  std::optional<SkinFile<DibImage>> file_;
  bool loaded_ = false;
};

}  // namespace vexlo
