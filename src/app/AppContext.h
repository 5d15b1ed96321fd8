#pragma once

#include "common/LanguageTable.h"
#include "device/DeviceSession.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/PauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/ports/Platform.h"
#include "platform/ports/UserMessages.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"

namespace vexlo {

class CMsgDlg;

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
};

}  // namespace vexlo
