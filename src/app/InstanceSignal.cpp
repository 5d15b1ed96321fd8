#include "app/InstanceSignal.h"

#include <thread>

#include "common/Messages.h"
#include "common/Text.h"
#include "platform/ports/InstanceRegistry.h"

namespace vexlo {

int SignalRunningInstances(InstanceRegistry& registry, const std::string& modulePath,
                           SignalMode mode, bool startHidden, const PauseFunction& pause) {
  int posted = 0;
  for (const RunningWindow& window : registry.ListWindows()) {
    if (window.userData != kTagMainWindow || window.processId == 0) continue;
    const auto image = registry.ProcessImagePath(window.processId);
    if (!image || !EqualsNoCase(*image, modulePath)) continue;
    if (mode == SignalMode::Show) {
      if (!startHidden && registry.PostToWindow(window, UM_SHOW_MAIN, kTagOpen, 0) == Result::Ok) {
        ++posted;
      }
      break;
    }
    if (registry.PostToWindow(window, UM_EXIT_APP, kTagKill, 0) == Result::Ok) ++posted;
    if (pause) {
      pause(std::chrono::milliseconds(100));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  return posted;
}

bool AdmitFromOtherProcess(const IncomingMessage& message) {
  switch (message.message) {
    case UM_SHOW_MAIN:
      return message.wParam == kTagOpen && message.lParam == 0;
    case UM_EXIT_APP:
      return message.wParam == kTagKill && message.lParam == 0;
    case UM_DAEMON_WINDOW:
      return message.wParam == message.senderProcessId;
    default:
      return false;
  }
}

}  // namespace vexlo
