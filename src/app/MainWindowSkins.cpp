#include "app/MainWindowSkins.h"

#include <QPainter>

namespace vexlo {
namespace {

// The picture of `base` with `overlay` drawn over it (alpha-composited), the same size.
QImage Composed(const SkinImage& base, const SkinImage& overlay) {
  QImage result = base.Pixels().copy();
  QPainter painter(&result);
  const QRect whole(QPoint(0, 0), overlay.Size());
  overlay.DrawBlended(painter, whole, whole);
  return result;
}

}  // namespace

MainWindowSkins::MainWindowSkins(const std::string& skinFolder)
    : folder_(skinFolder), main_(std::filesystem::path(skinFolder) / "Main.ini") {
  for (std::size_t model = 0; model < models_.size(); ++model) {
    models_[model] = std::make_unique<SkinFile<GdiplusImage>>(
        std::filesystem::path(folder_) / std::string(DeviceModels()[model].skinFile));
  }
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    pages_[page] = std::make_unique<SkinFile<DibImage>>(std::filesystem::path(folder_) /
                                                        std::string(kPageSkinFiles[page]));
  }
}

Result MainWindowSkins::LoadMain() {
  if (LoadSkinImage(main_.Path(), kMainImageKey, main_.Main()) != Result::Ok) {
    return Result::BadData;
  }
  (void)LoadSkinImage(main_.Path(), kHighlightImageKey, main_.Highlight());
  return Result::Ok;
}

SkinFile<DibImage>& MainWindowSkins::Page(int page) {
  const auto index = static_cast<std::size_t>(page - 1);
  // A picture that is missing leaves its part of the window blank.
  if (!pageRead_[index]) (void)pages_[index]->Load();
  pageRead_[index] = true;
  return *pages_[index];
}

SkinFile<GdiplusImage>& MainWindowSkins::Model(std::size_t model) {
  if (!modelRead_[model]) (void)models_[model]->Load();  // as above
  modelRead_[model] = true;
  return *models_[model];
}

void MainWindowSkins::Compose(std::size_t model) {
  model_ = model;
  const SkinFile<GdiplusImage>& skin = Model(model);
  composedMain_.Assign(Composed(main_.Main(), skin.Main()));
  composedMainHighlight_.Assign(Composed(main_.Highlight(), skin.Highlight()));
  if (lightComposed_) ComposeLight();
}

void MainWindowSkins::ComposeLight() {
  const SkinFile<GdiplusImage>& skin = Model(model_);
  const SkinFile<DibImage>& light = Page(kPageLighting);
  composedLight_.Assign(Composed(light.Main(), skin.Main()));
  composedLightHighlight_.Assign(Composed(light.Highlight(), skin.Highlight()));
  lightComposed_ = true;
}

const DibImage& MainWindowSkins::ComposedLightHighlight() {
  if (!lightComposed_) ComposeLight();
  return composedLightHighlight_;
}

const SkinImage& MainWindowSkins::Background(int page) {
  if (page == kPageLighting) {
    if (!lightComposed_) ComposeLight();
    return composedLight_;
  }
  if (page > kPageKeys && page < kNoPage) return Page(page).Main();
  return composedMain_;
}

}  // namespace vexlo
