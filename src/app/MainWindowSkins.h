#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "app/MainWindowLayout.h"
#include "common/Result.h"
#include "skin/SkinFile.h"

namespace vexlo {

// The pictures of the main window: the main skin, the page skins of pages 1 to 4 and the four
// model skins, each read when first needed so that the window is up quickly, and the main and
// lighting pictures with the current model's mouse drawn in. User-interface thread.
class MainWindowSkins {
 public:
  explicit MainWindowSkins(const std::string& skinFolder);

  // Reads the main skin's pictures: Ok, or BadData when its main picture is missing (the window
  // is then not shown). A missing highlight only leaves the controls without their lit look.
  [[nodiscard]] Result LoadMain();

  SkinFile<DibImage>& Main() { return main_; }
  SkinFile<DibImage>& Page(int page);  // pages 1 to 4
  SkinFile<GdiplusImage>& Model(std::size_t model);

  // Draws model `model`'s mouse into the main pictures, and into the lighting pictures once that
  // page has been shown (before, they are drawn when it first is).
  void Compose(std::size_t model);
  // The main and lighting pictures with the mouse drawn in (plain and lit).
  const DibImage& ComposedMain() const { return composedMain_; }
  const DibImage& ComposedMainHighlight() const { return composedMainHighlight_; }
  const DibImage& ComposedLightHighlight();
  // The background of `page`.
  const SkinImage& Background(int page);

 private:
  void ComposeLight();

  std::string folder_;
  SkinFile<DibImage> main_;
  std::array<std::unique_ptr<SkinFile<GdiplusImage>>, kModelCount> models_;
  std::array<bool, kModelCount> modelRead_{};
  std::array<std::unique_ptr<SkinFile<DibImage>>, kPageSkinFiles.size()> pages_;
  std::array<bool, kPageSkinFiles.size()> pageRead_{};
  std::size_t model_ = 0;  // whose mouse the composed pictures show
  DibImage composedMain_;
  DibImage composedMainHighlight_;
  DibImage composedLight_;
  DibImage composedLightHighlight_;
  bool lightComposed_ = false;  // the lighting pictures show model_
};

}  // namespace vexlo
