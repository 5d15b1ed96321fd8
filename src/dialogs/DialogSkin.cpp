#include "dialogs/DialogSkin.h"

#include "skin/CImageDlg.h"

namespace vexlo {

Result DialogSkin::Load(const std::filesystem::path& iniPath, CImageDlg& window) {
  file_.emplace(iniPath);
  loaded_ = file_->Load() == Result::Ok;
  window.SetImages(ImageMode::Opaque, &file_->Main(), nullptr);
  return loaded_ ? Result::Ok : Result::BadData;
}

std::filesystem::path DialogSkin::Path() const {
  return file_ ? file_->Path() : std::filesystem::path();
}

void DialogSkin::SetButtonImages(CImageBtn& button, std::string_view key) const {
  const DibImage* main = file_ ? &file_->Main() : nullptr;
  const DibImage* highlight = file_ ? &file_->Highlight() : nullptr;
  button.SetImages(Path(), key, main, highlight, highlight, main, highlight);
}

}  // namespace vexlo
