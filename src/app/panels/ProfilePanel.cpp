#include "app/panels/ProfilePanel.h"

#include <QMetaObject>
#include <QWidget>

#include <filesystem>
#include <system_error>

#include "app/AppContext.h"
#include "app/MainWindowLayout.h"
#include "app/panels/ProfileMenus.h"
#include "common/LanguageTable.h"
#include "common/Text.h"
#include "device/DeviceSession.h"
#include "engine/DeviceEventService.h"
#include "engine/ForegroundMonitor.h"
#include "platform/ports/Platform.h"
#include "platform/ports/UserMessages.h"
#include "profiles/AppSettings.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"
#include "skin/CColorEdit.h"
#include "skin/CColorStatic.h"
#include "skin/CImageBtn.h"
#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/SkinStyles.h"

namespace vexlo {
namespace {

constexpr std::uint32_t kNameTextColour = 0xC8C8C8;
constexpr int kNameFontHeight = -14;
constexpr int kNameTextIndent = 6;
// A profile's path, its ".ini" included, stays within 259 units.
constexpr std::size_t kMaxFolderAndNameUnits = kMaxTextUnits - 4;
constexpr const char* kNeedsX11Key = "STA_MSG_INFO_LINK_NEEDS_X11";

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// The program behind a chosen path. The foreground program is known by its resolved path, so a
// program chosen through a symbolic link is linked under the file the link leads to.
std::string ResolvedProgram(const std::string& chosen) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::canonical(chosen, error);
  return error ? chosen : resolved.string();
}

}  // namespace

ProfilePanel::ProfilePanel(QWidget& window, AppContext& app, DeviceEventService& service,
                           SkinFile<DibImage>& mainSkin)
    : window_(window),
      app_(app),
      service_(service),
      dialogs_(window, QString::fromStdString(app.language.LookupText("BTN_PROFILE_LINK_BROWSE"))) {
  const QString face = QString::fromStdString(app_.settings.CommonFontName);
  const auto text = [this](std::string_view key) {
    return QString::fromStdString(app_.language.LookupText(key));
  };
  const auto makeLabel = [&](const std::string& key) {
    const LabelStyle style = LabelStyleFor(key);
    auto* label = new CColorStatic(&window);
    const QFont font = CreateSkinFont(style.height, style.weight, face);
    SetupColorStatic(mainSkin.Path(), key, *label, RefFromRgb(style.colour.rgb()), 0, true, &font);
    label->setAlignment(style.align);
    label->setText(text(key));
    return label;
  };
  const auto makeButton = [&](const std::string& key, const std::string& captionKey,
                              const std::string& tipKey) {
    auto* button = new CImageBtn(ButtonStyleFor(key).kind, &window);
    button->SetImages(mainSkin.Path(), key, &mainSkin.Main(), &mainSkin.Highlight(),
                      &mainSkin.Highlight(), &mainSkin.Main(), &mainSkin.Highlight());
    ApplyButtonStyle(*button, key, captionKey.empty() ? QString() : text(captionKey), face);
    if (!tipKey.empty()) button->SetToolTip(text(tipKey));
    return button;
  };
  subtitle_ = makeLabel("STA_PROFILE_SUBTITLE");
  list_ = makeButton("BTN_PROFILE_LIST", "", "");
  add_ = makeButton("BTN_PROFILE_ADD", "", "BTN_PPOFILE_ADD_TIP");
  delete_ = makeButton("BTN_PROFILE_DELETE", "", "BTN_PROFILE_DELETE_TIP");
  more_ = makeButton("BTN_PROFILE_MORE", "", "BTN_PROFILE_MORE_TIP");
  nameLabel_ = makeLabel("STA_PROFILE_NAME");
  name_ = new CColorEdit(&window);
  const QFont nameFont = CreateSkinFont(kNameFontHeight, 400, face);
  SetupColorEdit(mainSkin.Path(), "EDIT_PROFILE_NAME", *name_, kNameTextColour, &nameFont);
  name_->setTextMargins(kNameTextIndent, 0, kNameTextIndent, 0);
  CenterEditText(*name_);
  const std::size_t folderUnits = Utf16Length(app_.profiles.Folder());
  name_->setMaxLength(static_cast<int>(
      folderUnits < kMaxFolderAndNameUnits ? kMaxFolderAndNameUnits - folderUnits : 0));
  link_ = makeButton("CHK_PROFILE_LINK", "STA_PROFILE_LINK", "");
  browse_ = makeButton("BTN_PROFILE_LINK", "", "");
  apply_ = window.findChild<CImageBtn*>(QStringLiteral("BTN_APPLY"));

  // The list button is a caption of its own: the current profile's name, set below.
  ApplyButtonStyle(*list_, "BTN_PROFILE_LIST", QStringLiteral(" "), face);
  QObject::connect(list_, &QAbstractButton::clicked, &window, [this] { OpenListMenu(); });
  QObject::connect(add_, &QAbstractButton::clicked, &window, [this] { AddProfile(); });
  QObject::connect(delete_, &QAbstractButton::clicked, &window, [this] { DeleteProfile(); });
  QObject::connect(more_, &QAbstractButton::clicked, &window, [this] { OpenMoreMenu(); });
  QObject::connect(link_, &QAbstractButton::clicked, &window,
                   [this] { LinkChecked(link_->GetCheck() != 0); });
  QObject::connect(browse_, &QAbstractButton::clicked, &window, [this] { BrowseProgram(); });
  QObject::connect(name_, &QLineEdit::textChanged, &window, [this] {
    if (apply_) apply_->setEnabled(true);
  });
  if (apply_) QObject::connect(apply_, &QAbstractButton::clicked, &window, [this] { ApplyName(); });
  Refresh();
}

ProfilePanel::~ProfilePanel() = default;

void ProfilePanel::Refresh() {
  ShowProfileName();
  RefreshLink();
}

void ProfilePanel::ShowPage(int page) {
  const bool shown = page == kPageKeys || page == kPagePerformance;
  for (QWidget* control : std::initializer_list<QWidget*>{subtitle_, list_, add_, delete_, more_,
                                                          nameLabel_, name_, link_, browse_}) {
    control->setVisible(shown);
  }
}

void ProfilePanel::ShowProfileName() {
  const QString name =
      QString::fromStdString(ProfileStore::DisplayName(app_.profiles.CurrentPath()));
  list_->setText(name);
  name_->setText(name);
  if (apply_) apply_->setEnabled(false);
}

void ProfilePanel::RefreshLink() {
  link_->SetCheck(app_.profiles.Data().link.bLinkProgram != 0 ? 1 : 0);
  // The desktop may start naming the active window later (its window manager starts late).
  link_->SetToolTip(app_.platform.foreground->KnowsForeground()
                        ? QString()
                        : QString::fromStdString(app_.language.LookupText(kNeedsX11Key)));
  ShowLinkToolTip();
}

void ProfilePanel::ShowLinkToolTip() {
  const LinkSettings& link = app_.profiles.Data().link;
  const bool linked = link.bLinkProgram != 0 && IsFile(link.szLinkPath);
  browse_->SetToolTip(QString::fromStdString(
      linked ? link.szLinkPath : app_.language.LookupText("BTN_PROFILE_LINK_BROWSE")));
}

void ProfilePanel::OpenListMenu() {
  std::vector<std::string> names;
  app_.profiles.VisitList([&names](const std::vector<std::string>& list) {
    names.reserve(list.size());
    for (const std::string& path : list) names.push_back(ProfileStore::DisplayName(path));
  });
  std::unique_ptr<CMenuEx> menu = MakeProfileListMenu(*list_, names);
  const int command = menu->Track(ProfileListMenuPosition(*list_));
  menu.reset();
  if (command >= kFirstProfileCommand && command <= kLastProfileCommand) {
    ChooseProfile(command - kFirstProfileCommand);
  }
}

void ProfilePanel::ChooseProfile(int index) {
  std::string path;
  app_.profiles.VisitList([&](const std::vector<std::string>& list) {
    if (index >= 0 && static_cast<std::size_t>(index) < list.size()) {
      path = list[static_cast<std::size_t>(index)];
    }
  });
  if (path.empty() || EqualsNoCase(path, app_.profiles.CurrentPath())) return;
  if (app_.profiles.SelectProfile(path) != Result::Ok) {
    Tell("STA_MSG_INFO_FILE_FORMAT");  // the current profile stays
    return;
  }
  service_.ProfileLoaded();
}

void ProfilePanel::AddProfile() {
  if (RefuseWhileOffline()) return;
  const Result added = app_.profiles.NewProfile();
  if (added == Result::Ok) {
    service_.ProfileLoaded();
  } else if (added != Result::Full) {  // the store has said that it is full
    TellWarning("STA_MSG_INFO_FILE_WRITE");
  }
}

void ProfilePanel::DeleteProfile() {
  if (app_.messages.ShowMessage("STA_MSG_INFO_PROFILE_DELETE", "STA_MSG_TITLE_PROFILE_DELETE",
                                UserMessages::kQuestion,
                                UserMessages::kNoticeColour) != UserMessages::kOk) {
    return;
  }
  const Result deleted = app_.profiles.DeleteProfile(/*reload=*/false);
  if (deleted == Result::TooShort) {
    (void)app_.messages.ShowMessage("STA_MSG_INFO_PROFILE_DELETE2", "STA_MSG_TITLE_PROFILE_DELETE",
                                    UserMessages::kNotice, UserMessages::kNoticeColour);
  } else if (deleted == Result::Ok) {
    SettleAfterDelete();
  } else {
    TellWarning("STA_MSG_INFO_FILE_WRITE");
  }
}

void ProfilePanel::SettleAfterDelete() {
  ProfileStore& profiles = app_.profiles;
  const std::string next = profiles.CurrentPath();
  // Its name over the deleted profile's settings would have the next change write them into its
  // file: when it cannot be read, the next readable one, or else a new one, is made current.
  const Result settled = profiles.SettleOnReadable(next);
  if (settled != Result::Ok || !EqualsNoCase(profiles.CurrentPath(), next)) {
    // None can be written either: the defaults in memory.
    if (settled != Result::Ok) FillDefaults(profiles.Data());
    (void)app_.messages.ShowMessageWith("STA_MSG_INFO_PROFILE_UNREADABLE", "STA_MSG_TITLE_INFO",
                                        UserMessages::kNotice, UserMessages::kNoticeColour,
                                        ProfileStore::DisplayName(next));
  }
  service_.ProfileLoaded();
}

void ProfilePanel::OpenMoreMenu() {
  std::unique_ptr<CMenuEx> menu = MakeProfileMoreMenu(*more_, *list_, app_.language);
  const int command = menu->Track(ProfileMoreMenuPosition(*more_));
  menu.reset();
  switch (command) {
    case kCommandCopyProfile:
      CopyProfile();
      break;
    case kCommandImportProfile:
      ImportProfile();
      break;
    case kCommandExportProfile:
      ExportProfile();
      break;
    default:
      break;
  }
}

void ProfilePanel::CopyProfile() {
  const Result copied = app_.profiles.CopyProfile();
  if (copied != Result::Ok) {
    if (copied != Result::Full) TellWarning("STA_MSG_INFO_FILE_WRITE");
    return;
  }
  // The copy holds the same settings: nothing to send.
  app_.monitor.RebuildLinkTable(app_.profiles);
  SaveCurrentPath();
  ShowProfileName();
}

void ProfilePanel::ImportProfile() {
  const std::optional<std::string> source = dialogs_.ChooseImportFile();
  if (!source || RefuseWhileOffline()) return;
  switch (app_.profiles.ImportProfile(*source)) {
    case Result::Ok:
      service_.ProfileLoaded();
      break;
    case Result::NameConflict:  // the user kept the profile of that name
      break;
    case Result::NotAProfile:
      Tell("STA_MSG_INFO_FILE_FORMAT");
      break;
    case Result::InvalidName:
      Tell("STA_MSG_INFO_FILE_NAME_INVALID");
      break;
    default:
      TellWarning("STA_MSG_INFO_FILE_WRITE");
      break;
  }
}

void ProfilePanel::ExportProfile() {
  const std::optional<std::string> destination =
      dialogs_.ChooseExportFile(ProfileStore::DisplayName(app_.profiles.CurrentPath()));
  if (!destination) return;
  if (app_.profiles.ExportProfile(*destination) != Result::Ok) {
    TellWarning("STA_MSG_INFO_FILE_WRITE");
  }
}

void ProfilePanel::ApplyName() {
  const std::string typed(TrimWhitespace(name_->text().toStdString()));
  if (EqualsNoCase(typed, ProfileStore::DisplayName(app_.profiles.CurrentPath()))) {
    if (apply_) apply_->setEnabled(false);
    Tell("STA_MSG_INFO_PROFILE_APPLY");
    return;
  }
  if (typed.empty()) return;
  switch (app_.profiles.RenameProfile(typed)) {
    case Result::Ok:
      break;
    case Result::NameConflict:  // the user kept the other profile
      return;
    case Result::InvalidName:
      Tell("STA_MSG_INFO_FILE_NAME_INVALID");
      return;
    default:
      TellWarning("STA_MSG_INFO_FILE_WRITE");
      return;
  }
  app_.monitor.RebuildLinkTable(app_.profiles);
  SaveCurrentPath();
  ShowProfileName();
  Tell("STA_MSG_INFO_PROFILE_APPLY");
}

void ProfilePanel::LinkChecked(bool checked) {
  LinkSettings& link = app_.profiles.Data().link;
  link.bLinkProgram = checked ? 1 : 0;
  WriteLink();
  ShowLinkToolTip();
  if (checked) TellIfForegroundUnknown();
  if (checked && !IsFile(link.szLinkPath)) {
    // Asked from the event loop, once the click has been handled.
    QMetaObject::invokeMethod(
        &window_, [this] { BrowseProgram(); }, Qt::QueuedConnection);
  }
}

void ProfilePanel::BrowseProgram() {
  const std::optional<std::string> chosen = dialogs_.ChooseProgram();
  if (!chosen) return;
  const std::string program = ResolvedProgram(*chosen);
  if (Utf16Length(program) > kMaxTextUnits) {
    Tell("STA_MSG_INFO_LINK_PATH_TOO_LONG");  // cut short it would name another file
    return;
  }
  LinkSettings& link = app_.profiles.Data().link;
  const bool wasLinked = link.bLinkProgram != 0;
  link.szLinkPath = program;
  link.bLinkProgram = 1;
  link_->SetCheck(1);
  WriteLink();
  ShowLinkToolTip();
  if (!wasLinked) TellIfForegroundUnknown();
}

void ProfilePanel::TellIfForegroundUnknown() {
  if (!app_.platform.foreground->KnowsForeground()) Tell(kNeedsX11Key);
}

void ProfilePanel::WriteLink() {
  const LinkSettings& link = app_.profiles.Data().link;
  if (WriteLinkSettings(app_.profiles.CurrentPath(), link.bLinkProgram, link.szLinkPath) !=
      Result::Ok) {
    TellWarning("STA_MSG_INFO_FILE_WRITE");
  }
  app_.monitor.RebuildLinkTable(app_.profiles);
}

void ProfilePanel::SaveCurrentPath() {
  // As every settings write, not reported: the next change of profile writes it again.
  (void)SaveProfilePath(app_.settings, app_.profiles.CurrentPath());
}

bool ProfilePanel::RefuseWhileOffline() {
  if (app_.device.IsConnected() == Result::Ok) return false;
  Tell("STA_MSG_INFO_DEV_OFFLINE");
  return true;
}

void ProfilePanel::Tell(std::string_view textKey) {
  (void)app_.messages.ShowMessage(textKey, "STA_MSG_TITLE_INFO", UserMessages::kNotice,
                                  UserMessages::kNoticeColour);
}

void ProfilePanel::TellWarning(std::string_view textKey) {
  (void)app_.messages.ShowMessage(textKey, "STA_MSG_TITLE_WARN", UserMessages::kNotice,
                                  UserMessages::kWarningColour);
}

}  // namespace vexlo
