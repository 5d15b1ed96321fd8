#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/LanguageTable.h"
#include "skin/CImageBtn.h"
#include "skin/CImageDlg.h"
#include "skin/CImageSlider.h"
#include "skin/SkinImage.h"

namespace vexlo::gallery {

// One skinned window assembled the way the program assembles it: background from the skin,
// every control of the skin files placed with the toolkit, captions from the language file.
// Sliders and the macro list are the real controls; labels, edits and colour swatches, which the
// windows set up themselves, are shown by simple stand-ins so that the whole window can be
// reviewed.
class GalleryWindow final : public CImageDlg {
 public:
  GalleryWindow(const std::filesystem::path& programFolder, const LanguageTable& language);

  // The window's background (owned by this window).
  DibImage& Background() { return background_; }

  // Places every control of the skin file, cutting pictures from the two images; captions come
  // from `texts` first and the language file second.
  void AddControls(const std::filesystem::path& skinIni, const SkinImage& main,
                   const SkinImage& highlight);

  // Texts of controls whose caption the program sets itself (assignments, names, values).
  void SetText(const std::string& key, const QString& text) { texts_[key] = text; }

  CImageBtn* Button(const std::string& key) const;

  // Loads an image of the skin folder that this window keeps (for the device-model overlays).
  DibImage& KeepImage();

 private:
  void AddButton(const std::filesystem::path& ini, const std::string& key, const SkinImage& main,
                 const SkinImage& highlight);
  void AddLabel(const std::filesystem::path& ini, const std::string& key);
  void AddEdit(const std::filesystem::path& ini, const std::string& key);
  void AddSlider(const std::filesystem::path& ini, const std::string& key, const SkinImage& main,
                 const SkinImage& highlight);
  void AddList(const std::filesystem::path& ini, const std::string& key);
  void AddSwatch(const std::filesystem::path& ini, const std::string& key);
  QString Text(const std::string& key) const;

  std::filesystem::path programFolder_;
  const LanguageTable& language_;
  DibImage background_;
  std::vector<std::unique_ptr<DibImage>> kept_;
  GdiplusImage thumb_;
  GdiplusImage thumbCpi_;
  std::map<std::string, QString> texts_;
};

}  // namespace vexlo::gallery
