#pragma once

#include <QEvent>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "app/MainWindowLayout.h"
#include "engine/PauseClock.h"
#include "profiles/MacroData.h"
#include "skin/QtKeystroke.h"

class QKeyEvent;
class QLineEdit;
class QMouseEvent;
class QObject;
class QWidget;

namespace vexlo {

struct AppContext;
class CImageBtn;

// Records what the user types and clicks in the main window as steps of the current macro, while
// the macro page's record box is ticked. Keys are held back from the focused control; a mouse
// button counts only where no control of the main window is under the pointer and still reaches
// the window. Each key or button step follows a pause by the delay mode: the time since the
// previous step (native), the fixed delay, or none; a recorded macro never starts with a pause and
// stops growing at 60 steps. The store writes the slot file at every step. Events are taken in the
// order they happen, on the user-interface thread, through one application event filter that
// exists only while recording.
class MacroRecorder {
 public:
  using Clock = PauseClock::Clock;

  enum DelayMode : int { kDelayNative = 0, kDelayNone = 1, kDelayFixed = 2 };

  // The controls that would leave the page or change the macro under the recording: disabled
  // while it lasts.
  static constexpr std::array<std::string_view, 13> kLockedControls = {
      "BTN_ABOUT",      "BTN_MOUSE",        "BTN_MACRO",          "BTN_MOUSE_KEY",
      "BTN_MOUSE_ADV",  "BTN_MOUSE_LIGHT",  "BTN_MOUSE_LINE_COR", "BTN_MACRO_LIST",
      "BTN_MACRO_ADD",  "BTN_MACRO_DELETE", "BTN_MACRO_MORE",     "EDIT_MACRO_NAME",
      "BTN_MACRO_APPLY"};

  // What the recorder works with on the macro page; all of it outlives the recorder.
  struct Page {
    QWidget& window;       // the main window: its children are the page's controls
    CImageBtn& recordBox;  // CHK_MACRO_ACTION_RECORD
    QLineEdit& delayEdit;  // EDIT_MACRO_ACTION_DELAY
    std::function<void(const MacroAction& step)> addRow;  // shows a step appended to the macro
    std::function<bool()> nameChanged;  // whether the name edit holds a name not yet applied
  };

  MacroRecorder(Page page, AppContext& app);
  ~MacroRecorder();
  MacroRecorder(const MacroRecorder&) = delete;
  MacroRecorder& operator=(const MacroRecorder&) = delete;

  // The page the main window shows now: only the macro page records.
  void ShowPage(int page) { shownPage_ = page; }

  // A delay-mode radio button was chosen: native measures from now, fixed takes the edit's
  // number (0..65535 ms; text that is no number keeps the delay as it was).
  void SetDelayMode(int mode);
  int DelayMode() const { return delayMode_; }
  std::uint16_t FixedDelay() const { return fixedDelay_; }

  // The record box was clicked: starts or stops recording as the box now says, with its caption
  // and the controls that must not be used meanwhile (about, the page buttons, and the macro
  // list, add, delete, more, name and apply), which come back afterwards.
  void ToggleRecording();
  bool Recording() const { return hook_ != nullptr; }

 private:
  class Hook;  // the application event filter

  // A key release that waits for the next event: a press of the same key at the same time of the
  // window system makes both an auto-repeat, which the key event did not say it was.
  struct PendingRelease {
    HookKeystroke keystroke;
    Clock::time_point at;
    std::uint32_t nativeKey = 0;
    std::uint64_t timestamp = 0;
  };

  bool Armed() const;
  // What the filter does with a key event (held back when true) and a mouse button event.
  bool KeyboardHook(QKeyEvent& event);
  void MouseHook(const QObject* watched, const QMouseEvent& event);
  void RecordPendingRelease();
  void OnRecordedKey(const HookKeystroke& keystroke, Clock::time_point at);
  void OnRecordedMouse(QEvent::Type type, Qt::MouseButton button, Clock::time_point at);
  void AppendRecorded(const MacroAction& step, Clock::time_point at);
  bool ControlAt(const QMouseEvent& event) const;
  void ReadFixedDelay();
  void LockControls(bool recording);
  void StopAfterWriteFailure();

  Page page_;
  AppContext& app_;
  std::unique_ptr<Hook> hook_;  // while recording
  int shownPage_ = kNoPage;
  int delayMode_ = kDelayFixed;
  std::uint16_t fixedDelay_ = 10;
  Clock::time_point lastEvent_{};  // of the previous step in native mode
  std::optional<PendingRelease> pendingRelease_;
  QTimer releaseTimer_;       // records the pending release when nothing follows it soon
  bool writeFailed_ = false;  // a step could not be stored: recording is about to stop
  QTimer stopTimer_;          // stops it once the event that failed has passed the filter
};

}  // namespace vexlo
