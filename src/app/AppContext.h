#pragma once

#include <string>
#include <vector>

namespace vexlo {

struct AppSettings;
class CMsgDlg;
class DeviceSession;
class ForegroundMonitor;
class InputInjector;
class LanguageTable;
class MacroPlayer;
class MacroStore;
class PauseClock;
struct Platform;
class ProfileStore;
class UserMessages;
class WheelLinesWorker;

// The process-wide objects that the windows work with. They live for the whole run, owned by
// CVexloApp; the windows keep this reference.
struct AppContext {
  Platform& platform;
  AppSettings& settings;
  LanguageTable& language;
  UserMessages& messages;
  CMsgDlg* sharedMessageDialog;  // none without a user interface
  ProfileStore& profiles;
  MacroStore& macros;
  DeviceSession& device;
  ForegroundMonitor& monitor;
  WheelLinesWorker& wheelLines;
  InputInjector& injector;
  MacroPlayer& player;
  PauseClock& pauseClock;
  bool startHidden = false;  // "/Start": the window does not show itself at start
  // Text keys of what went wrong before the window was up, shown once it runs.
  std::vector<std::string> startupProblems = {};
};

}  // namespace vexlo
