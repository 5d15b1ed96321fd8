#pragma once

#include "common/LanguageTable.h"
#include "device/DeviceSession.h"
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
  bool startHidden = false;  // "/Start": the window does not show itself at start
};

}  // namespace vexlo
