#pragma once

#include <QString>

#include <cstdint>
#include <deque>

#include "common/Result.h"
#include "dialogs/DialogSkin.h"
#include "skin/CImageDlg.h"

namespace vexlo {

class CColorStatic;
class LanguageTable;
struct AppSettings;

// The program's message box: a skinned modal window with a title line, a wrapped information
// text and two buttons, OK and Cancel or Yes and No. One instance shows one message at a time.
// Only the buttons answer, and closing the window from outside (close()), which answers Cancel:
// the keyboard never does, so a key held down elsewhere cannot answer a question unseen.
class CMsgDlg final : public CImageDlg {
 public:
  // Answers of ShowMessage.
  static constexpr int kIdOk = 1;      // OK or Yes
  static constexpr int kIdCancel = 2;  // Cancel, No, a close request, or a message already showing
  // Flags.
  static constexpr std::uint32_t kQuestion = 4;  // Yes and No instead of OK and Cancel
  static constexpr std::uint32_t kKeepOnTop = 0x40000;

  // The paths and font name are read when the skin loads and the window initialises.
  CMsgDlg(const AppSettings& settings, const LanguageTable& language, QWidget* parent = nullptr);
  ~CMsgDlg() override;

  // Loads "Msg.ini" of the skin folder with its images: Ok or BadData.
  [[nodiscard]] Result LoadSkin();

  // Shows the message and waits for the answer (a modal loop; user-interface thread only). The
  // skin is loaded first if no load has succeeded yet. Returns kIdCancel at once, changing
  // nothing, while a message is already showing. `titleColour` is a COLORREF.
  int ShowMessage(const QString& information, const QString& title, std::uint32_t flags,
                  std::uint32_t titleColour);

  // A message is showing.
  bool IsShowing() const { return isVisible(); }

  // Test seam: the next ShowMessage returns `answer` without showing anything (but records its
  // texts and flags). Answers queue up in order.
  void SetNextAnswer(int answer);

  // What the last ShowMessage was asked to show.
  const QString& Information() const { return information_; }
  const QString& Title() const { return title_; }
  std::uint32_t Flags() const { return flags_; }

 protected:
  void OnInitDialog() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const AppSettings& settings_;
  const LanguageTable& language_;
  DialogSkin skin_;
  std::deque<int> nextAnswers_;
  QString information_ = QStringLiteral("Info");
  QString title_ = QStringLiteral("Message");
  std::uint32_t flags_ = 0;
  std::uint32_t titleColour_ = 0;
  CColorStatic* titleLabel_;
  CImageBtn* informationArea_;
  CImageBtn* cancelButton_;
  CImageBtn* okButton_;
};

}  // namespace vexlo
