#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <string_view>

#include "common/Result.h"
#include "dialogs/DialogSkin.h"
#include "skin/CImageDlg.h"

namespace vexlo {

class CColorStatic;
class LanguageTable;
struct AppSettings;

// The about picture of the skin with the program's version ("V" and major.minor) and a close
// button. Only the close button and a close request (close()) end it; Enter and Escape do not.
class CAboutDlg final : public CImageDlg {
 public:
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;

  // `version` is the program's version as the build gives it ("1.2.3.4"); the window shows its
  // first two numbers.
  CAboutDlg(const AppSettings& settings, const LanguageTable& language, std::string_view version,
            QWidget* parent = nullptr);
  ~CAboutDlg() override;

  // Loads "About.ini" of the skin folder and its picture "About.png": Ok, or BadData when the
  // picture is missing or unreadable.
  [[nodiscard]] Result LoadSkin();

  // Shows the window and waits until it is closed (a modal loop; user-interface thread only):
  // kIdCancel, also at once when it is showing already. The skin is loaded first if no load has
  // succeeded yet, so constructing the window and calling Run is all an owner does.
  int Run();
  bool IsShowing() const { return isVisible(); }

  // Test seam: the next Run answers `answer` without showing anything. Answers queue up.
  void SetNextAnswer(int answer);

  // Only a close request ends the window this way.
  void accept() override;
  void reject() override;

 protected:
  void OnInitDialog() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  const AppSettings& settings_;
  const LanguageTable& language_;
  QString version_;  // major.minor
  DialogSkin skin_;
  std::deque<int> nextAnswers_;
  bool closeRequested_ = false;
  CImageBtn* closeButton_;
  CColorStatic* versionLabel_;
};

// "major.minor" of a version "major.minor.patch.build": the first two numbers, a missing one 0.
QString MajorMinorVersion(std::string_view version);

}  // namespace vexlo
