#include "app/CVexloApp.h"

#include <QApplication>
#include <QFontDatabase>

#include "app/AppContext.h"
#include "app/CVexloDlg.h"
#include "app/InstanceSignal.h"
#include "dialogs/CMsgDlg.h"
#include "engine/WindowsMouseSettings.h"
#include "skin/MenuHook.h"

namespace vexlo {
namespace {

constexpr std::string_view kInstanceLockName = "Vexlo_Mutex_QXA7702";

std::unique_ptr<CMsgDlg> MakeMessageDialog(const AppSettings& settings,
                                           const LanguageTable& language) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  return std::make_unique<CMsgDlg>(settings, language);
}

}  // namespace

CVexloApp::CVexloApp(Platform& platform)
    : platform_(platform),
      messageDialog_(MakeMessageDialog(settings_, language_)),
      messages_(language_, messageDialog_.get()),
      profiles_(DeriveDataFolder(*platform.folders), language_, messages_),
      link_(*platform.devices, *platform.hid),
      device_(link_, messages_, platform.driverSetup.get()),
      macros_(DeriveDataFolder(*platform.folders), language_, messages_),
      monitor_(*platform.foreground),
      wheelLines_(*platform.mouseSettings),
      injector_(*platform.devices, *platform.hid),
      player_(injector_, pauseClock_) {}

CVexloApp::~CVexloApp() = default;

int CVexloApp::Run(const CommandLine& commandLine) {
  // Paths, and the language file that is fixed from here on.
  FillProgramPaths(settings_, platform_.folders->ModulePath());
  language_.Load(settings_.LanguageFile);
  settings_.CommonFontName = language_.LookupText("COMMON_FONT_NAME");

  // A failure shows later as files that cannot be written; the program runs on with defaults.
  (void)PrepareDataFolder(settings_, DeriveDataFolder(*platform_.folders));
  RemoveStaleDataFiles(settings_.DataFolder);

  CaptureWindowsSettings(*platform_.mouseSettings, profiles_.Data().windows);

  // The saved profile, when it is one of the profile folder's; else the first there, or a new
  // one. A folder that cannot be looked into is reported once the window runs; a full one has
  // been reported already.
  const std::string savedProfile = ReadSavedProfilePath(settings_);
  profiles_.SetCurrentPath(savedProfile);
  std::vector<std::string> problems;
  const Result settled = profiles_.EnsureCurrentProfile();
  if (settled != Result::Ok) {
    if (settled != Result::Full) problems.emplace_back("STA_MSG_INFO_DATA_UNREADABLE");
  } else if (profiles_.CurrentPath() != savedProfile) {
    // Not reported, as every settings write.
    (void)SaveProfilePath(settings_, profiles_.CurrentPath());
  }
  ApplySavedMacroIndex();
  settings_.nDevModel = ReadSavedDevModel(settings_);

  switch (commandLine.action) {
    case CommandLine::Action::Kill:
      SignalRunningInstances(*platform_.instances, settings_.ModulePath, SignalMode::Exit,
                             commandLine.startHidden);
      return 0;
    case CommandLine::Action::SplitCheck:
      return link_.ProbeSplit();
    case CommandLine::Action::SysBits:
      return platform_.system->NativeBitWidth();
    case CommandLine::Action::Run:
      break;
  }

  std::unique_ptr<ReleaseOnDestroy> instance_lock;
  const Result locked = platform_.instances->AcquireInstanceLock(kInstanceLockName, instance_lock);
  if (locked == Result::Busy) {
    SignalRunningInstances(*platform_.instances, settings_.ModulePath, SignalMode::Show,
                           commandLine.startHidden);
    return 0;
  }
  // Any other failure to take the lock (no runtime folder) must not keep the program from
  // running; the lock is then simply not held.
  RunMainWindow(commandLine.startHidden, std::move(problems));
  return 0;
}

void CVexloApp::ApplySavedMacroIndex() {
  const std::uint32_t saved = ReadSavedMacroIndex(settings_);
  const int slot = static_cast<int>(saved);
  if (saved < kMacroSlotCount && macros_.Slot(slot).IsUsed()) {
    (void)macros_.Select(slot);  // a used slot in range: always Ok
    return;
  }
  // Not a used slot: the store's own choice replaces it in the file.
  (void)SaveMacroIndex(settings_, macros_.CurrentIndex());  // not reported, as every settings write
}

void CVexloApp::RunMainWindow(bool startHidden, std::vector<std::string> problems) {
  // The font is registered for this process only, while the window runs.
  const int font = QFontDatabase::addApplicationFont(QString::fromStdString(settings_.FontPath));
  AppContext context{platform_,  settings_,  language_,   messages_,   messageDialog_.get(),
                     profiles_,  macros_,    device_,     monitor_,    wheelLines_,
                     injector_,  player_,    pauseClock_, startHidden, std::move(problems)};
  InstallMenuHook();
  {
    CVexloDlg window(context);
    if (window.LoadSkin() == Result::Ok) {
      SetMenuHookReceiver(&window.Target());
      window.RunModal();
      SetMenuHookReceiver(nullptr);
    }
  }
  RemoveMenuHook();
  if (font >= 0) QFontDatabase::removeApplicationFont(font);
}

}  // namespace vexlo
