#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string_view>

#include "common/Result.h"
#include "dialogs/DialogSkin.h"
#include "skin/CImageDlg.h"

namespace vexlo {

class CColorEdit;
class CColorStatic;
class LanguageTable;
struct AppSettings;

// The base of the skinned dialogs that edit the packed number of one button assignment (a fire
// key, a macro) with OK and Cancel. The caller presets the number, runs the dialog and reads the
// number back after kIdOk. OK and Enter store what the controls show; Cancel, Escape and a close
// request from outside (close(): the mouse went away, the program ends) answer kIdCancel and
// leave the number as it was preset. Controls are named after their skin keys.
class CPackedNumberDlg : public CImageDlg {
 public:
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;  // also: the dialog is showing already

  ~CPackedNumberDlg() override;

  // Loads the dialog's skin file with its pictures: Ok or BadData (the window then shows without
  // its pictures).
  [[nodiscard]] Result LoadSkin();

  void SetValue(std::uint32_t value) { value_ = value; }
  std::uint32_t Value() const { return value_; }

  // Shows the dialog for the preset number and waits for the answer (a modal loop;
  // user-interface thread only). kIdOk with the number the user chose, or kIdCancel. The skin
  // is loaded first if no load has succeeded yet.
  int Run();
  bool IsShowing() const { return isVisible(); }

  // Test seam: the next Run answers without showing anything; kIdOk takes `value` as the number
  // the user chose. Answers queue up in order.
  void SetNextAnswer(int answer, std::uint32_t value = 0);

  void accept() override;  // OK: stores the number the controls show

 protected:
  // The skin file and its two pictures, all in the skin folder.
  struct SkinFiles {
    std::string_view ini;
    std::string_view mainPicture;
    std::string_view highlightPicture;
  };
  CPackedNumberDlg(const AppSettings& settings, const LanguageTable& language, SkinFiles files,
                   QWidget* parent);

  void keyPressEvent(QKeyEvent* event) override;  // Enter: OK

  // The number that OK stores, from what the controls show.
  virtual std::uint32_t ValueShown() const = 0;

  // Parts of the derived dialogs' initialisation, which each calls in its own order.
  // OK and Cancel with their captions.
  void SetupOkCancel();
  // The title line STA_TITLE, which is also the window's title.
  void SetupTitle(std::string_view textKey);
  // A grey label, its text centred vertically beside its field.
  void SetupLabel(CColorStatic& label, std::string_view key, const QFont& font,
                  std::string_view textKey) const;
  // A number field: the skin's edit colours, the number centred in it, dim while disabled.
  void SetupNumberEdit(CColorEdit& edit, std::string_view key, const QFont& font) const;
  // The Tab order: the given controls, then OK and Cancel.
  void SetTabOrder(std::initializer_list<QWidget*> controls);

  QString Text(std::string_view key) const;
  QString Face() const;
  const DialogSkin& Skin() const { return skin_; }

 private:
  struct Answer {
    int result;
    std::uint32_t value;
  };

  const AppSettings& settings_;
  const LanguageTable& language_;
  SkinFiles files_;
  DialogSkin skin_;
  std::uint32_t value_ = 0;
  std::deque<Answer> nextAnswers_;
  CColorStatic* titleLabel_;
  CImageBtn* cancelButton_;
  CImageBtn* okButton_;
};

}  // namespace vexlo
