#pragma once

#include <QPointer>

#include <array>
#include <cstdint>
#include <optional>

#include "app/panels/AssignmentDialogs.h"
#include "app/panels/KeyCaption.h"
#include "app/panels/PagePanel.h"
#include "engine/KeyAssignment.h"
#include "skin/SkinFile.h"

class QWidget;

namespace vexlo {

struct AppContext;
class CImageBtn;

// The button assignment page: a key button for each of the seven mouse buttons beside the
// picture of the mouse, captioned with what the button does. Pointing at a key button, or opening
// its menu, lights that button's spot on the picture (the key pictures BTN_MOUSE_PIC1..7 of the
// main window's frame). Clicking one opens the assignment menu; the choice, after the dialog some
// choices open, becomes the button's assignment in the current profile, is sent to the mouse while
// it is connected, and is written to the profile file at once. A menu or dialog that the window
// closes (the mouse went away, the program ends) counts as cancelled.
// User-interface thread.
class KeysPanel final : public PagePanel {
 public:
  // The key buttons are made on `window` from the main skin; the key pictures are those of the
  // window's frame, found by name when first needed (without them nothing lights up).
  KeysPanel(QWidget& window, AppContext& app, DeviceEventService& service,
            SkinFile<DibImage>& mainSkin);
  ~KeysPanel() override;

  // Every key button's caption and tool tip follow the current profile.
  void Refresh() override { RefreshKeyCaptions(); }
  void RefreshKeyCaptions();
  // The key buttons show on the assignment page only.
  void ShowPage(int page) override;

  // Opens key `key`'s assignment menu below its button and carries out the choice. The button
  // stays checked (and its spot lit) until the menu itself closes.
  void OpenAssignmentMenu(int key);
  // Gives key `key` the function `code`, after the dialog the code needs (what a choice in its
  // menu does). Refused with a message when it would leave no button with the left click.
  void AssignKey(int key, std::uint8_t code);

  // The macro in `slot` (0..15) got a new name: the buttons that play it show the new name.
  void RenameMacroKeys(int slot);
  // The macro in `slot` (0..15) was deleted: the buttons that played it are disabled, sent to the
  // mouse and saved.
  void ReleaseMacroKeys(int slot);

  AssignmentDialogs& Dialogs() { return dialogs_; }

 private:
  // The assignment the user chose for `key` with `code`, or none (cancelled or refused).
  std::optional<KeyAssignment> Choose(int key, std::uint8_t code);
  std::optional<KeyAssignment> ChooseProgram();
  // Sends key `key`'s assignment to the mouse while it is connected and writes it to the profile.
  void Commit(int key);
  KeyCaption CaptionOf(int key) const;
  void ShowCaption(int key);
  // Whether key `key` plays the macro in `slot`.
  bool PlaysMacro(int key, int slot) const;
  void ReleaseMenuButton();
  CImageBtn* KeyPicture(int key);  // the frame's, found by name

  QWidget& window_;
  AppContext& app_;
  DeviceEventService& service_;  // told of every reassignment, which the next press performs
  AssignmentDialogs dialogs_;
  std::array<CImageBtn*, 7> keys_{};                  // children of the window
  std::array<QPointer<CImageBtn>, 7> keyPictures_{};  // the frame's
  int menuKey_ = 0;                                   // the key whose menu was opened last
  bool menuOpen_ = false;                             // its menu is open
};

}  // namespace vexlo
