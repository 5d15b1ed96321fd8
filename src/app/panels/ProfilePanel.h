#pragma once

#include <string>
#include <string_view>

#include "app/panels/PagePanel.h"
#include "app/panels/ProfileFileDialogs.h"
#include "skin/SkinFile.h"

class QWidget;

namespace vexlo {

struct AppContext;
class CColorEdit;
class CColorStatic;
class CImageBtn;
class DeviceEventService;

// The profile panel of the button and performance pages: the current profile's name, the list
// to switch profiles, add, delete, copy, import, export and rename, and the program the profile
// is linked to. Every profile made current is written to the settings file; one whose contents
// were loaded anew goes through the service's ProfileLoaded (sent whole to the mouse and the
// desktop, shown by the whole window). A profile whose file cannot be read never becomes
// current. A menu or file dialog that the window closes (the mouse went away, the program ends)
// counts as cancelled. On a desktop that cannot tell the foreground program, linking says that
// switching with a program needs an X11 window.
// User-interface thread.
class ProfilePanel final : public PagePanel {
 public:
  // The controls are made on `window` from the main skin; Apply is the window's own BTN_APPLY,
  // found by name.
  ProfilePanel(QWidget& window, AppContext& app, DeviceEventService& service,
               SkinFile<DibImage>& mainSkin);
  ~ProfilePanel() override;

  // The name, the link box and the link's tool tip follow the current profile.
  void Refresh() override;
  // The controls show on the button and performance pages only.
  void ShowPage(int page) override;

  // What the controls do, each as a click or menu choice does it.
  void OpenListMenu();
  void ChooseProfile(int index);  // the index-th profile of the list
  void AddProfile();
  void DeleteProfile();
  void OpenMoreMenu();
  void CopyProfile();
  void ImportProfile();
  void ExportProfile();
  void ApplyName();
  void LinkChecked(bool checked);
  void BrowseProgram();

  ProfileFileDialogs& Dialogs() { return dialogs_; }

 private:
  void ShowProfileName();
  void RefreshLink();
  void ShowLinkToolTip();
  // After a deletion: the profile that follows, or when it cannot be read the next readable one,
  // or else a new one with default settings, becomes current and is loaded.
  void SettleAfterDelete();
  void SaveCurrentPath();
  void Tell(std::string_view textKey);
  void TellWarning(std::string_view textKey);
  bool RefuseWhileOffline();
  void WriteLink();
  // Linking was turned on: where the desktop cannot tell the foreground program, the user learns
  // that it needs an X11 window.
  void TellIfForegroundUnknown();

  QWidget& window_;
  AppContext& app_;
  DeviceEventService& service_;
  ProfileFileDialogs dialogs_;
  // Children of the window.
  CColorStatic* subtitle_ = nullptr;
  CImageBtn* list_ = nullptr;
  CImageBtn* add_ = nullptr;
  CImageBtn* delete_ = nullptr;
  CImageBtn* more_ = nullptr;
  CColorStatic* nameLabel_ = nullptr;
  CColorEdit* name_ = nullptr;
  CImageBtn* apply_ = nullptr;  // the frame's
  CImageBtn* link_ = nullptr;
  CImageBtn* browse_ = nullptr;
};

}  // namespace vexlo
