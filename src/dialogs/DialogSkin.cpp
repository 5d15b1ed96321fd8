#include "dialogs/DialogSkin.h"

#include <string>

#include "skin/CColorStatic.h"
#include "skin/CImageDlg.h"
#include "skin/DrawText.h"
#include "skin/SkinFile.h"

namespace vexlo {

Result DialogSkin::Load(const std::filesystem::path& iniPath, CImageDlg& window) {
  path_ = iniPath;
  hasHighlight_ = true;
  const Result main = LoadSkinImage(path_, kMainImageKey, main_);
  return Finish(main, LoadSkinImage(path_, kHighlightImageKey, highlight_), window);
}

Result DialogSkin::LoadFixed(const std::filesystem::path& iniPath, std::string_view mainFile,
                             std::string_view highlightFile, CImageDlg& window) {
  path_ = iniPath;
  hasHighlight_ = !highlightFile.empty();
  const std::filesystem::path folder = iniPath.parent_path();
  const Result main = LoadImageFile(folder / std::string(mainFile), main_);
  const Result highlight =
      hasHighlight_ ? LoadImageFile(folder / std::string(highlightFile), highlight_) : Result::Ok;
  return Finish(main, highlight, window);
}

Result DialogSkin::Finish(Result main, Result highlight, CImageDlg& window) {
  loaded_ = main == Result::Ok && highlight == Result::Ok;
  window.SetImages(ImageMode::Opaque, &main_, nullptr);
  return loaded_ ? Result::Ok : Result::BadData;
}

void DialogSkin::SetButtonImages(CImageBtn& button, std::string_view key) const {
  button.SetImages(path_, key, &Main(), &Highlight(), &Highlight(), &Main(), &Highlight());
}

void DialogSkin::SetupTextButton(CImageBtn& button, std::string_view key, const QString& face,
                                 const QString& caption) const {
  SetButtonImages(button, key);
  button.SetTextStyle(kDialogButtonTextHeight, 400, face, kDialogButtonText, kCentredLine);
  button.setText(caption);
}

void DialogSkin::SetupTextArea(CImageBtn& area, std::string_view key, const QString& face,
                               const QString& text) const {
  SetButtonImages(area, key);
  area.SetTextStyle(kDialogButtonTextHeight, 400, face, kDialogTextAreaColours, kWrappedCentred);
  area.setText(text);
}

void DialogSkin::SetupTitle(CColorStatic& label, const QString& face, std::uint32_t colour,
                            const QString& text) const {
  const QFont font = CreateSkinFont(kDialogTitleHeight, 700, face);
  SetupColorStatic(path_, "STA_TITLE", label, colour, 0, true, &font);
  label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label.setText(text);
}

}  // namespace vexlo
