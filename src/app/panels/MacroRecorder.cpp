#include "app/panels/MacroRecorder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "app/AppContext.h"
#include "app/panels/MacroStepRow.h"
#include "common/LanguageTable.h"
#include "engine/ScanCodeTable.h"
#include "engine/VirtualKeyScanIndex.h"
#include "platform/ports/UserMessages.h"
#include "profiles/MacroStore.h"
#include "skin/CImageBtn.h"
#include "skin/QtKeystroke.h"

namespace vexlo {
namespace {

using Clock = MacroRecorder::Clock;

constexpr std::string_view kApplyName = "BTN_MACRO_APPLY";

// How long before its release a key reported only by its release counts as pressed.
constexpr std::chrono::milliseconds kReleaseOnlyHold{1};
// How long a key release waits for the press that would make it part of an auto-repeat; the
// window system sends the two together.
constexpr std::chrono::milliseconds kRepeatWindow{50};

std::uint8_t ButtonBit(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 0x01;
    case Qt::RightButton:
      return 0x02;
    case Qt::MiddleButton:
      return 0x04;
    case Qt::BackButton:
      return 0x08;
    case Qt::ForwardButton:
      return 0x10;
    default:
      return 0;
  }
}

// The time from `from` to `to` in whole milliseconds, as a pause step holds it: 0 to 65535.
std::uint16_t PauseBetween(Clock::time_point from, Clock::time_point to) {
  const auto milliseconds = std::chrono::round<std::chrono::milliseconds>(to - from).count();
  return static_cast<std::uint16_t>(
      std::clamp<std::chrono::milliseconds::rep>(milliseconds, 0, 0xFFFF));
}

}  // namespace

// Every event of the program passes here first while recording. A key is taken where it arrives
// first (the window, or the control it was sent to) and goes no further; a click arrives at the
// main window's own window first, then at the control under it, and is looked at only there,
// once. The second press of a double click comes as a press before the double-click event, which
// therefore adds nothing.
class MacroRecorder::Hook final : public QObject {
 public:
  explicit Hook(MacroRecorder& recorder) : recorder_(recorder) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~Hook() override {
    if (QCoreApplication* application = QCoreApplication::instance()) {
      application->removeEventFilter(this);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ShortcutOverride:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        return recorder_.KeyboardHook(static_cast<QKeyEvent&>(*event));
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
        recorder_.MouseHook(watched, static_cast<const QMouseEvent&>(*event));
        return false;
      default:
        return false;
    }
  }

 private:
  MacroRecorder& recorder_;
};

MacroRecorder::MacroRecorder(Page page, AppContext& app) : page_(std::move(page)), app_(app) {
  releaseTimer_.setSingleShot(true);
  releaseTimer_.setInterval(kRepeatWindow);
  QObject::connect(&releaseTimer_, &QTimer::timeout, [this] { RecordPendingRelease(); });
  stopTimer_.setSingleShot(true);
  stopTimer_.setInterval(0);
  QObject::connect(&stopTimer_, &QTimer::timeout, [this] { StopAfterWriteFailure(); });
}

MacroRecorder::~MacroRecorder() = default;

void MacroRecorder::SetDelayMode(int mode) {
  delayMode_ = mode;
  if (mode == kDelayNative) lastEvent_ = app_.pauseClock.Now();
  if (mode == kDelayFixed) ReadFixedDelay();
}

void MacroRecorder::ReadFixedDelay() {
  fixedDelay_ = ParsePause(page_.delayEdit.text().toStdString(), fixedDelay_);
  page_.delayEdit.setText(QString::number(fixedDelay_));
}

void MacroRecorder::ToggleRecording() {
  if (delayMode_ == kDelayFixed) ReadFixedDelay();
  const bool recording = page_.recordBox.GetCheck() == 1;
  if (recording) {
    if (!hook_) hook_ = std::make_unique<Hook>(*this);
    lastEvent_ = app_.pauseClock.Now();
    writeFailed_ = false;
  } else {
    RecordPendingRelease();
    hook_.reset();
  }
  page_.recordBox.setText(QString::fromStdString(app_.language.LookupText(
      recording ? "CHK_MACRO_ACTION_RECORD1" : "CHK_MACRO_ACTION_RECORD0")));
  LockControls(recording);
}

void MacroRecorder::LockControls(bool recording) {
  for (const std::string_view key : kLockedControls) {
    auto* control = page_.window.findChild<QWidget*>(
        QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())),
        Qt::FindDirectChildrenOnly);
    if (!control) continue;  // a window without the frame
    control->setEnabled(!recording && (key != kApplyName || page_.nameChanged()));
  }
}

bool MacroRecorder::Armed() const {
  return shownPage_ == kPageMacro && page_.recordBox.GetCheck() == 1;
}

bool MacroRecorder::KeyboardHook(QKeyEvent& event) {
  if (!Armed()) return false;
  if (event.type() == QEvent::ShortcutOverride) {
    event.accept();  // claimed, so that no shortcut takes the key before it comes as a press
    return true;
  }
  const Clock::time_point at = app_.pauseClock.Now();
  const bool release = event.type() == QEvent::KeyRelease;
  // Auto-repeat comes as releases and presses of a key that is down; presses that say so carry
  // the previous-state flag and are dropped as the releases are.
  if (release && event.isAutoRepeat()) return true;
  if (pendingRelease_) {
    if (!release && event.timestamp() == pendingRelease_->timestamp &&
        event.nativeScanCode() == pendingRelease_->nativeKey) {
      pendingRelease_.reset();  // an auto-repeat: the key stays down
      releaseTimer_.stop();
      return true;
    }
    RecordPendingRelease();
  }
  const HookKeystroke keystroke = KeystrokeOfKeyEvent(event);
  if (release && event.timestamp() != 0 && event.nativeScanCode() != 0) {
    pendingRelease_ = PendingRelease{keystroke, at, event.nativeScanCode(), event.timestamp()};
    releaseTimer_.start();
    return true;
  }
  OnRecordedKey(keystroke, at);
  return true;
}

void MacroRecorder::RecordPendingRelease() {
  releaseTimer_.stop();
  if (!pendingRelease_) return;
  const PendingRelease pending = *pendingRelease_;
  pendingRelease_.reset();
  OnRecordedKey(pending.keystroke, pending.at);
}

void MacroRecorder::MouseHook(const QObject* watched, const QMouseEvent& event) {
  if (!Armed() || watched != page_.window.windowHandle()) return;
  const Clock::time_point at = app_.pauseClock.Now();
  RecordPendingRelease();  // it came first
  if (!ControlAt(event)) OnRecordedMouse(event.type(), event.button(), at);
}

bool MacroRecorder::ControlAt(const QMouseEvent& event) const {
  const QPoint point = page_.window.mapFromGlobal(event.globalPosition().toPoint());
  const QList<QWidget*> children = page_.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  return std::any_of(children.begin(), children.end(), [&point](const QWidget* child) {
    return !child->isWindow() && child->isVisible() && child->isEnabled() &&
           child->geometry().contains(point);
  });
}

void MacroRecorder::OnRecordedKey(const HookKeystroke& keystroke, Clock::time_point at) {
  const Keystroke key = DecodeKeystroke(keystroke.virtualKey, keystroke.flags);
  const std::uint8_t code = ScanCodeTable()[key.scanIndex].keyCode;
  // A step without a code would stand for no key, and its release for all of them, when played;
  // consumer and system keys are no keyboard keys.
  if (key.repeat || code == 0 || KeyCodeToUsage(code).page != kUsagePageKeyboard) return;
  const MacroAction press{kMacroKey | kMacroPress, code, 0};
  const MacroAction release{kMacroKey, code, 0};
  if (IsReleaseOnlyKey(key.scanIndex)) {
    // Where a platform reports such a key only as it goes up, its release stands for the press as
    // well; the press that other platforms report is left out, so it records alike everywhere.
    if (!key.release) return;
    AppendRecorded(press, at);
    AppendRecorded(release, at + kReleaseOnlyHold);
    return;
  }
  AppendRecorded(key.release ? release : press, at);
}

void MacroRecorder::OnRecordedMouse(QEvent::Type type, Qt::MouseButton button,
                                    Clock::time_point at) {
  const std::uint8_t bit = ButtonBit(button);
  if (bit == 0) return;
  if (type == QEvent::MouseButtonPress)
    AppendRecorded({kMacroMouseButton | kMacroPress, bit, 0}, at);
  if (type == QEvent::MouseButtonRelease) AppendRecorded({kMacroMouseButton, bit, 0}, at);
}

void MacroRecorder::AppendRecorded(const MacroAction& step, Clock::time_point at) {
  MacroStore& macros = app_.macros;
  if (macros.CurrentIndex() < 0 || writeFailed_) return;
  const int count = macros.Slot(macros.CurrentIndex()).byCount;
  if (count >= kMaxMacroSteps) return;
  // The pause before the step, never at the start of the macro; when it fills the macro, the step
  // is left out. Both are written together.
  std::array<MacroAction, 2> steps;
  std::size_t added = 0;
  if (delayMode_ == kDelayNative) {
    if (count > 0) steps[added++] = MacroAction::Pause(PauseBetween(lastEvent_, at));
    lastEvent_ = at;
  } else if (delayMode_ == kDelayFixed && count > 0) {
    steps[added++] = MacroAction::Pause(fixedDelay_);
  }
  if (count + static_cast<int>(added) < kMaxMacroSteps) steps[added++] = step;
  const std::span<const MacroAction> appended(steps.data(), added);
  if (macros.AppendSteps(appended) != Result::Ok) {
    // The macro stays as its file holds it; recording stops once this event has passed.
    writeFailed_ = true;
    stopTimer_.start();
    return;
  }
  for (const MacroAction& shown : appended) page_.addRow(shown);
}

void MacroRecorder::StopAfterWriteFailure() {
  if (!Recording()) return;
  page_.recordBox.SetCheck(0);
  ToggleRecording();
  (void)app_.messages.ShowMessage("STA_MSG_INFO_FILE_WRITE", "STA_MSG_TITLE_INFO",
                                  UserMessages::kNotice, UserMessages::kNoticeColour);
}

}  // namespace vexlo
