#include "skin/SkinFile.h"

#include <QWidget>

#include <algorithm>
#include <charconv>
#include <string>

#include "common/IniFile.h"

namespace vexlo {
namespace {

// Reads one signed decimal number at `pos`, skipping leading blanks as the C library does.
std::optional<int> ReadNumber(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  if (pos < text.size() && text[pos] == '+') ++pos;
  int value = 0;
  const char* begin = text.data() + pos;
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  pos += static_cast<std::size_t>(end - begin);
  return value;
}

// Skin files written for the original platform name images with backslashes.
std::filesystem::path NativeRelativePath(std::string value) {
  std::replace(value.begin(), value.end(), '\\', '/');
  return std::filesystem::path(value);
}

}  // namespace

std::optional<QRect> ParseControlRect(std::string_view value) {
  int numbers[4] = {};
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= value.size() || value[pos] != ',') return std::nullopt;
      ++pos;
    }
    const std::optional<int> number = ReadNumber(value, pos);
    if (!number || *number > kMaxSkinCoordinate || *number < -kMaxSkinCoordinate) {
      return std::nullopt;
    }
    numbers[i] = *number;
  }
  return QRect(numbers[0], numbers[1], std::max(numbers[2], 0), std::max(numbers[3], 0));
}

QRect ReadControlRect(const std::filesystem::path& skinIni, std::string_view key) {
  const std::string value = ReadIniString(kControlSection, key, kMissingControlValue, skinIni);
  return ParseControlRect(value).value_or(QRect(1, 1, 1, 1));
}

QRect PlaceControl(const std::filesystem::path& skinIni, std::string_view key, QWidget& control) {
  const QRect rect = ReadControlRect(skinIni, key);
  control.setGeometry(rect);
  if (IsMissingControl(rect)) control.setEnabled(false);
  if (control.objectName().isEmpty()) {
    control.setObjectName(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
  }
  return rect;
}

Result LoadSkinImage(const std::filesystem::path& skinIni, std::string_view key, SkinImage& image) {
  const std::string name = ReadIniString(kScreenSection, key, "", skinIni);
  return image.Load(skinIni.parent_path() / NativeRelativePath(name));
}

}  // namespace vexlo
