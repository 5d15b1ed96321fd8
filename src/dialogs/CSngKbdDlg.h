#pragma once

#include <cstdint>
#include <memory>

#include "common/Result.h"
#include "dialogs/DialogSkin.h"
#include "skin/CImageDlg.h"
#include "skin/WindowMessage.h"

namespace vexlo {

class CColorStatic;
class KeyboardHook;
class LanguageTable;
struct AppSettings;

// Chooses the keyboard key that a mouse button sends, by pressing it. While the window is open
// every keystroke of the program is captured (none reaches a window, Enter and Escape included)
// and the last key accepted shows by name; Apply ends the window with Accepted and the key, the
// close button or a close request with Rejected. Keys are ScanCodeTable indexes.
class CSngKbdDlg final : public CImageDlg, public MessageHandler {
 public:
  CSngKbdDlg(const AppSettings& settings, const LanguageTable& language, QWidget* parent = nullptr);
  ~CSngKbdDlg() override;

  // Loads "SngKbd.ini" of the skin folder with its images: Ok or BadData.
  [[nodiscard]] Result LoadSkin();

  // The key shown when the window opens, and the key chosen.
  void SetKey(std::uint8_t index) { key_ = index; }
  std::uint8_t Key() const { return key_; }

  // Handles UM_KEY_HOOK (wParam = virtual-key code, lParam = keystroke flags): takes a key of the
  // keyboard usage page on its press (Print Screen and the two Korean keys on their release,
  // which is all the platform reports of them) and shows its name; other keys are ignored.
  std::intptr_t OnWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;

  MessageTarget& Target() { return target_; }

 public:
  // Only a close request ends the window this way; Enter and Escape are keys to capture.
  void accept() override;
  void reject() override;
  void done(int result) override;

 protected:
  bool event(QEvent* event) override;
  void OnInitDialog() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowKey();

  const AppSettings& settings_;
  const LanguageTable& language_;
  DialogSkin skin_;
  std::uint8_t key_ = 0;
  bool closeRequested_ = false;
  CColorStatic* titleLabel_;
  CImageBtn* subtitleArea_;
  CColorStatic* keyLabel_;
  CImageBtn* applyButton_;
  CImageBtn* closeButton_;
  QtMessageTarget target_;
  std::unique_ptr<KeyboardHook> hook_;  // while the window is open
};

}  // namespace vexlo
