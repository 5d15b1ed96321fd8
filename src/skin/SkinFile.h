#pragma once

#include <QRect>

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/Result.h"
#include "skin/SkinImage.h"

class QWidget;

namespace vexlo {

// Skin INI files: section SCREEN names a window's images (paths relative to the INI file's own
// folder), section CONTROL gives each control key its rectangle "x,y,w,h" in client pixels.

inline constexpr std::string_view kScreenSection = "SCREEN";
inline constexpr std::string_view kControlSection = "CONTROL";
inline constexpr std::string_view kMainImageKey = "Main";
inline constexpr std::string_view kHighlightImageKey = "Status2";

// What an absent control key reads as: a 1 x 1 control at (1, 1). Any rectangle whose left and
// top are both 1 marks a control that the skin leaves out; it is placed there and disabled.
inline constexpr std::string_view kMissingControlValue = "1,1,1,1,x";
inline bool IsMissingControl(const QRect& rect) {
  return rect.left() == 1 && rect.top() == 1;
}

// "x,y,w,h" as four signed decimal numbers separated by single commas, anything after the fourth
// ignored. Fewer than four numbers, or a number beyond kMaxSkinCoordinate either way (no screen
// is that large, and QRect would overflow near the int limit), gives none. Negative sizes count
// as 0.
inline constexpr int kMaxSkinCoordinate = 1 << 16;
std::optional<QRect> ParseControlRect(std::string_view value);

// The rectangle of the key in section CONTROL; the missing-control rectangle (1, 1, 1 x 1) when
// the file or key is absent or its value is not four numbers.
QRect ReadControlRect(const std::filesystem::path& skinIni, std::string_view key);

// Reads the key's rectangle, moves and sizes the control there and disables it at the
// missing-control mark. The control is named after the key unless it has a name already, so
// the windows and tests find controls by their skin keys. Returns the rectangle.
QRect PlaceControl(const std::filesystem::path& skinIni, std::string_view key, QWidget& control);

// Loads the image that the key of section SCREEN names, relative to the INI file's folder, with
// the results of SkinImage::Load (a missing key names the folder itself, which is no picture).
[[nodiscard]] Result LoadSkinImage(const std::filesystem::path& skinIni, std::string_view key,
                                   SkinImage& image);

// One skin INI file with its normal (Main) and highlighted (Status2) whole-window images, which
// share the coordinates of its control rectangles.
template <typename Image>
class SkinFile {
 public:
  explicit SkinFile(std::filesystem::path iniPath) : path_(std::move(iniPath)) {}

  // Loads both images: Ok, or BadData when either is missing or unreadable.
  [[nodiscard]] Result Load() {
    const Result main = LoadSkinImage(path_, kMainImageKey, main_);
    const Result highlight = LoadSkinImage(path_, kHighlightImageKey, highlight_);
    return main == Result::Ok && highlight == Result::Ok ? Result::Ok : Result::BadData;
  }

  const std::filesystem::path& Path() const { return path_; }
  Image& Main() { return main_; }
  Image& Highlight() { return highlight_; }
  const Image& Main() const { return main_; }
  const Image& Highlight() const { return highlight_; }

  QRect Rect(std::string_view key) const { return ReadControlRect(path_, key); }
  QRect Place(std::string_view key, QWidget& control) const {
    return PlaceControl(path_, key, control);
  }

 private:
  std::filesystem::path path_;
  Image main_;
  Image highlight_;
};

}  // namespace vexlo
