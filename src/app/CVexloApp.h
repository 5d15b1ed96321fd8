#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MsgDlgUserMessages.h"
#include "common/LanguageTable.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/ports/Platform.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

namespace vexlo {

class CMsgDlg;

// The program's entry logic and its process-wide objects, built in this order before start-up
// runs and destroyed in reverse order after it ends.
class CVexloApp {
 public:
  explicit CVexloApp(Platform& platform);
  ~CVexloApp();

  // Start-up: settles paths and settings, brings the stores into use, handles the command line and
  // the single-instance rule and runs the main window until the program is to end. Returns the
  // process exit code. Needs a QApplication when the command line asks to run the window.
  int Run(const CommandLine& commandLine);

  const AppSettings& Settings() const { return settings_; }
  ProfileStore& Profiles() { return profiles_; }
  MacroStore& Macros() { return macros_; }
  DeviceSession& Device() { return device_; }
  CMsgDlg* MessageDialog() { return messageDialog_.get(); }

 private:
  void ApplySavedMacroIndex();
  void RunMainWindow(bool startHidden, std::vector<std::string> problems);

  Platform& platform_;
  AppSettings settings_;
  LanguageTable language_;
  // The shared message dialog, made only when the process has a user interface.
  std::unique_ptr<CMsgDlg> messageDialog_;
  MsgDlgUserMessages messages_;
  ProfileStore profiles_;
  DeviceLink link_;
  DeviceSession device_;
  MacroStore macros_;
  ForegroundMonitor monitor_;
  WheelLinesWorker wheelLines_;
  SteadyPauseClock pauseClock_;
  InputInjector injector_;
  MacroPlayer player_;  // after the injector: its runs write through it
};

}  // namespace vexlo
