#include "ProgramIcon.h"

#include <QPainter>

#include <system_error>

#include "SkinArt.h"
#include "SkinWindow.h"

namespace vexlo::skin {
namespace {

constexpr int kIconSizes[] = {VEXLO_ICON_SIZES};

}  // namespace

QImage ProgramIcon(int size) {
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal margin = size / 32.0;
  DrawLogoMark(painter, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
  return icon;
}

void WriteSkinIcons(const std::filesystem::path& folder) {
  for (const int size : kIconSizes) {
    SavePicture(ProgramIcon(size), folder / ("Icon" + std::to_string(size) + ".png"));
  }
}

void WriteThemeIcons(const std::filesystem::path& folder, const std::string& name) {
  for (const int size : kIconSizes) {
    const std::filesystem::path apps =
        folder / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::error_code error;  // a folder that cannot be made fails the save below
    std::filesystem::create_directories(apps, error);
    SavePicture(ProgramIcon(size), apps / (name + ".png"));
  }
}

}  // namespace vexlo::skin
