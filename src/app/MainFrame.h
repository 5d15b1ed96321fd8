#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <map>

class QWidget;

namespace vexlo {

class CImageBtn;
class LanguageTable;
class MainWindowSkins;

// The frame of the main window: the title and page buttons, Restore and Apply, the mouse-model
// choice and the mouse pictures, placed from the main skin (the key pictures from the current
// model's), with captions, tool tips and which pages show each. The controls are children of the
// window. User-interface thread.
class MainFrame {
 public:
  // Creates the controls; a click on one calls `onCommand` with its control ID.
  MainFrame(QWidget& window, MainWindowSkins& skins, const LanguageTable& language,
            const QString& fontFace, std::function<void(int id)> onCommand);

  CImageBtn* Control(int id) const;

  // Checks the page buttons of `page` and shows exactly the controls that belong to it (controls
  // of no page stay as they are).
  void ShowPage(int page);

  // The model radio buttons: those the connected mouse's kind admits are enabled (all without a
  // mouse, kind 0), the one of `model` is checked.
  void ShowModelChoice(int deviceKind, std::size_t model);

  // Moves the seven key pictures to their places in model `model`'s skin, showing the composed
  // pictures.
  void PlaceKeyPictures(std::size_t model);

 private:
  MainWindowSkins& skins_;
  std::map<int, CImageBtn*> controls_;  // by control ID; owned by the window
};

}  // namespace vexlo
