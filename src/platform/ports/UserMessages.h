#pragma once

#include <cstdint>
#include <string_view>

namespace vexlo {

// How the logic speaks to the user: the program's shared message dialog. The user interface
// implements it; tests answer it without a window.
class UserMessages {
 public:
  // Answers of ShowMessage.
  static constexpr int kOk = 1;      // OK or Yes
  static constexpr int kCancel = 2;  // Cancel, No, closed, or another message was showing

  // Flags and title colours (0x00BBGGRR) that callers pass.
  static constexpr std::uint32_t kNotice = 0;
  static constexpr std::uint32_t kQuestion = 4;            // Yes and No instead of OK and Cancel
  static constexpr std::uint32_t kKeepOnTop = 0x40000;
  static constexpr std::uint32_t kNoticeColour = 0xC86E3C;
  static constexpr std::uint32_t kWarningColour = 0xC0;

  virtual ~UserMessages() = default;

  // Shows the message whose texts the language file gives under `textKey` and `titleKey`, and
  // waits for the answer (blocks; user-interface thread only). Returns kOk or kCancel; kCancel at
  // once when a message is already showing.
  virtual int ShowMessage(std::string_view textKey, std::string_view titleKey,
                          std::uint32_t flags, std::uint32_t titleColour) = 0;

  // ShowMessage with `detail` (the names of what the text is about) in place of "%s" in the text.
  // A backend that cannot put it in shows the text as it is.
  virtual int ShowMessageWith(std::string_view textKey, std::string_view titleKey,
                              std::uint32_t flags, std::uint32_t titleColour,
                              std::string_view detail) {
    (void)detail;
    return ShowMessage(textKey, titleKey, flags, titleColour);
  }

  // The platform's plain message box with an OK button and a fixed (untranslated) text. Blocks
  // until it is closed; user-interface thread only.
  virtual void ShowPlainMessage(std::string_view text) = 0;
};

}  // namespace vexlo
