#include <QApplication>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/LanguageTable.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CFireKeyDlg.h"
#include "dialogs/CMacroKeyDlg.h"
#include "dialogs/CMsgDlg.h"
#include "dialogs/CSngKbdDlg.h"
#include "engine/ExtensionNumber.h"
#include "platform/ports/UserMessages.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroFile.h"
#include "profiles/MacroStore.h"
#include "skin/CColorButton.h"
#include "skin/CColorEdit.h"
#include "skin/CColorStatic.h"
#include "skin/CImageBtn.h"
#include "skin/CImageColorPicker.h"
#include "skin/CImageDlg.h"
#include "skin/CMenuEx.h"
#include "skin/ColorRef.h"
#include "skin/DrawText.h"
#include "skin/LanguageText.h"
#include "skin/MenuBorder.h"
#include "skin/MenuHook.h"
#include "skin/SkinFile.h"

// Shows one of the secondary windows as the program shows it, from the built skin and language
// files, with the pointer resting where a user's would:
//   vexlo-dialog-demo PROGRAM_FOLDER VIEW
// VIEW: message, question, warning, access, singlekey, firekey, macrokey, macromenu, about, menu,
// swatches or picker.
namespace vexlo::demo {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kGrey = 0xC8C8C8;
constexpr CImageBtn::StateColours kCaption = {0xC8C8C8, 0xFFFFFF, 0xFFFFFF, 0x606060, 0xFFFFFF};
constexpr std::uint32_t kDropdownFormat =
    dt::kLeft | dt::kVCenter | dt::kSingleLine | dt::kEndEllipsis | dt::kNoPrefix;

struct Context {
  AppSettings settings;
  LanguageTable language;
  QString Text(const char* key) const { return LanguageText(language, key); }
  QString Face() const { return QString::fromStdString(settings.CommonFontName); }
};

void Hover(QWidget* widget) {
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
  QCoreApplication::sendEvent(widget, &enter);
}

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

// A host window that shows a page of the main window's skin.
class SkinPage final : public CImageDlg {
 public:
  explicit SkinPage(const fs::path& ini) : skin_(ini) {
    (void)skin_.Load();  // a missing picture shows as the button face
    SetImages(ImageMode::Opaque, &skin_.Main(), nullptr);
  }
  const SkinFile<DibImage>& Skin() const { return skin_; }

 private:
  SkinFile<DibImage> skin_;
};

// The button assignment menu of the first key, opened, with its media sub-menu open.
int ShowAssignmentMenu(const Context& context) {
  SkinPage page(fs::path(context.settings.SkinFolder) / "Main.ini");
  const char* assignments[] = {"INFO_KEY_SET_LEFT",    "INFO_KEY_SET_RIGHT", "INFO_KEY_SET_MIDDLE",
                               "INFO_KEY_SET_FORWARD", "INFO_KEY_SET_BACK",  "INFO_KEY_SET_DPI_UP",
                               "INFO_KEY_SET_DPI_DOWN"};
  CImageBtn* first = nullptr;
  for (int i = 0; i < 7; ++i) {
    auto* key = new CImageBtn(CImageBtn::Kind::Push, &page);
    key->SetImages(page.Skin().Path(), "BTN_MOUSE_KEY" + std::to_string(i + 1), &page.Skin().Main(),
                   &page.Skin().Highlight(), &page.Skin().Highlight(), &page.Skin().Main(),
                   &page.Skin().Highlight());
    key->SetTextStyle(-14, 400, context.Face(), kCaption, kDropdownFormat);
    key->SetTextMargins(14, 0, -44, 0);
    key->setText(context.Text(assignments[i]));
    if (!first) first = key;
  }
  first->SetCheck(1);
  page.show();

  CMenuEx menu(first);
  const char* items[] = {"INFO_KEY_SET_LEFT",    "INFO_KEY_SET_RIGHT", "INFO_KEY_SET_MIDDLE",
                         "INFO_KEY_SET_FORWARD", "INFO_KEY_SET_BACK",  "INFO_KEY_SET_CLOSE"};
  int id = 32800;
  for (const char* item : items) menu.AppendItem(++id, context.Text(item));
  menu.AppendSeparator();
  CMenuEx* media = menu.AppendSubMenu(context.Text("INFO_KEY_SET_MEDIA"));
  for (const char* item : {"INFO_KEY_SET_MEDIA_OPEN_PLAYER", "INFO_KEY_SET_MEDIA_PLAY_PAUSE",
                           "INFO_KEY_SET_MEDIA_STOP", "INFO_KEY_SET_MEDIA_NEXT_TRACK",
                           "INFO_KEY_SET_MEDIA_PREV_TRACK", "INFO_KEY_SET_MEDIA_VOLUME_UP",
                           "INFO_KEY_SET_MEDIA_VOLUME_DOWN", "INFO_KEY_SET_MEDIA_MUTE"}) {
    media->AppendItem(++id, context.Text(item));
  }
  menu.AppendSubMenu(context.Text("INFO_KEY_SET_WINDOWS"))
      ->AppendItem(++id, context.Text("INFO_KEY_SET_WINDOWS_CALC"));
  menu.AppendSubMenu(context.Text("INFO_KEY_SET_COMBO"))
      ->AppendItem(++id, context.Text("INFO_KEY_SET_COMBO_COPY"));
  menu.AppendSeparator();
  menu.AppendItem(++id, context.Text("INFO_KEY_SET_SNG_KBD") + QStringLiteral("..."));
  menu.AppendItem(++id, context.Text("INFO_KEY_SET_START_PROGRAM") + QStringLiteral("..."));
  menu.AppendItem(++id, context.Text("INFO_KEY_SET_FIRE") + QStringLiteral("..."));
  menu.AppendItem(++id, context.Text("INFO_KEY_SET_MACRO") + QStringLiteral("..."), false);
  menu.Convert();
  MenuStyle style = menu.Style();
  style.itemBackground = style.iconColumnBackground = 0x4B2D0F;
  style.textColour = kGrey;
  style.greyTextColour = 0x606060;
  style.separatorColour = kGrey;
  style.selectionBorder = style.selectionFill = 0xBA6908;
  style.iconWidth = style.iconHeight = style.iconMarginX = style.iconMarginY = 0;
  menu.SetStyle(style);
  menu.SetFixedItemWidth(first->width() - 23);
  SetMenuBorderColours(0xDC7C0A, 0x4B2D0F);
  // Open the media sub-menu and point at its second item, as a user browsing would.
  QTimer::singleShot(300, &menu, [&menu, media] {
    for (int i = 0; i < 7; ++i) PressKey(&menu, Qt::Key_Down);
    PressKey(&menu, Qt::Key_Right);
    PressKey(media, Qt::Key_Down);
  });
  return menu.Track(first->mapToGlobal(QPoint(15, first->height())));
}

// The colour menu of the first sensitivity level's colour button.
int ShowColourMenu(const Context& context) {
  SkinPage page(fs::path(context.settings.SkinFolder) / "Light.ini");
  const std::uint32_t levels[] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF};
  CColorButton* first = nullptr;
  for (int i = 0; i < 4; ++i) {
    auto* button = new CColorButton(&page);
    SetupColorButton(page.Skin().Path(), "BTN_MOUSE_CPI_COLOR" + std::to_string(i + 1), *button,
                     levels[i], {0x000000, 0xFFFFFF, 0xBA6908, 0x606060}, 0,
                     context.Text("BTN_MOUSE_CPI_COLOR_TIP"), CColorButton::MarkMode::InverseFill,
                     0);
    if (!first) first = button;
  }
  page.show();

  CMenuEx menu(first);
  const char* palette[] = {"#RGB(255,0,0)",   "#RGB(255,128,0)",  "#RGB(255,255,0)",
                           "#RGB(128,255,0)", "#RGB(0,255,0)",    "#RGB(0,255,255)",
                           "#RGB(0,128,255)", "#RGB(128,0,255)",  "#RGB(0,0,255)",
                           "#RGB(255,0,255)", "#RGB(255,255,255)"};
  int id = 33000;
  for (const char* colour : palette) menu.AppendItem(++id, QString::fromLatin1(colour));
  menu.Convert();
  MenuStyle style = menu.Style();
  style.itemBackground = style.iconColumnBackground = 0x4B2D0F;
  style.textColour = style.separatorColour = kGrey;
  style.greyTextColour = 0x606060;
  style.selectionBorder = style.selectionFill = 0xBA6908;
  style.iconWidth = style.iconHeight = style.iconMarginX = style.iconMarginY = 0;
  menu.SetStyle(style);
  menu.SetFixedItemWidth(first->width());
  SetMenuBorderColours(0xC8C8C8, 0xC86E3C);
  QTimer::singleShot(300, &menu, [&menu] {
    for (int i = 0; i < 3; ++i) PressKey(&menu, Qt::Key_Down);
  });
  return menu.Track(first->mapToGlobal(QPoint(0, first->height())));
}

// A hue and brightness field of the size of the skin's picker.
QImage ColourField(QSize size) {
  QImage field(size, QImage::Format_ARGB32);
  QPainter painter(&field);
  QLinearGradient hues(0, 0, size.width(), 0);
  for (int i = 0; i <= 6; ++i) hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, 255));
  painter.fillRect(field.rect(), hues);
  QLinearGradient light(0, 0, 0, size.height());
  light.setColorAt(0, QColor(255, 255, 255, 230));
  light.setColorAt(0.45, QColor(255, 255, 255, 0));
  light.setColorAt(0.55, QColor(0, 0, 0, 0));
  light.setColorAt(1, QColor(0, 0, 0, 240));
  painter.fillRect(field.rect(), light);
  return field;
}

// The light colour controls: a colour field to pick from, the picked colour on a swatch button
// and its red, green and blue values in edits.
class PickerWindow final : public CImageDlg {
 public:
  explicit PickerWindow(const Context& context) {
    const QRect field(24, 60, 300, 160);
    QImage picture(QSize(480, 250), QImage::Format_ARGB32);
    picture.fill(QColor(0x0F, 0x1C, 0x2B));
    QPainter painter(&picture);
    painter.fillRect(QRect(1, 1, 478, 3), QColor(0x2F, 0x86, 0xE8));
    painter.drawImage(field.topLeft(), ColourField(field.size()));
    painter.setPen(QColor(0x25, 0x3C, 0x55));
    painter.drawRect(field.adjusted(-1, -1, 0, 0));
    painter.end();
    background_.Assign(picture);
    SetImages(ImageMode::Opaque, &background_, nullptr);

    const QFont title = CreateSkinFont(-16, 700, context.Face());
    const QFont text = CreateSkinFont(-14, 400, context.Face());
    auto* heading = new CColorStatic(this);
    heading->setGeometry(24, 18, 300, 28);
    heading->SetTextColour(0xC86E3C);
    heading->SetTransparent(true);
    heading->setFont(title);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading->setText(context.Text("STA_LIGHT_COLOR"));

    swatch_ = new CColorButton(this);
    swatch_->setGeometry(348, 60, 108, 32);
    swatch_->SetBorder({0x553C25, 0xE8862F, 0xBA6908, 0x606060}, 2);
    swatch_->SetMark(CColorButton::MarkMode::InverseFill, 0);
    const char* channels[] = {"STA_LIGHT_COLOR_RED", "STA_LIGHT_COLOR_GREEN",
                              "STA_LIGHT_COLOR_BLUE"};
    for (int i = 0; i < 3; ++i) {
      auto* label = new CColorStatic(this);
      label->setGeometry(348, 108 + i * 40, 26, 32);
      label->SetTextColour(kGrey);
      label->SetTransparent(true);
      label->setFont(text);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      label->setText(context.Text(channels[i]));
      edits_[i] = new CColorEdit(this);
      edits_[i]->setGeometry(376, 108 + i * 40, 80, 32);
      edits_[i]->SetColours(kSkinEditBackground, kSkinEditBackground, kGrey);
      edits_[i]->setFont(text);
      edits_[i]->setTextMargins(8, 0, 0, 0);
      CenterEditText(*edits_[i]);
    }

    auto* picker = new CImageColorPicker(this);
    picker->setGeometry(field);
    picker->SetImage(ImageMode::Opaque, &background_, field.topLeft());
    picker->SetPickCallback([this](bool, std::uint32_t colour) { Show(colour); });
    // A pick in the orange part of the field, as a user's click would make it.
    QTimer::singleShot(200, picker, [picker] {
      for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, QPointF(38, 62), picker->mapToGlobal(QPointF(38, 62)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picker, &click);
      }
    });
  }

 private:
  void Show(std::uint32_t colour) {
    swatch_->SetFillColour(colour);
    for (int i = 0; i < 3; ++i) edits_[i]->setText(QString::number((colour >> (8 * i)) & 0xFF));
  }

  DibImage background_;
  CColorButton* swatch_;
  CColorEdit* edits_[3];
};

// The macro-key dialog over a few stored macros in a scratch data folder; with `menuOpen` its
// macro menu is open with the pointer on the second name.
int ShowMacroKey(const Context& context, bool menuOpen) {
  struct NoMessages final : UserMessages {
    int ShowMessage(std::string_view, std::string_view, std::uint32_t, std::uint32_t) override {
      return kCancel;
    }
    void ShowPlainMessage(std::string_view) override {}
  } messages;
  const QTemporaryDir data;
  const std::string folder = data.path().toStdString() + "/";
  const char* names[] = {"Reload combo", "Build order", "sprint", "Quick scope", "Heal"};
  for (int slot = 0; slot < 5; ++slot) {
    MacroData macro;
    macro.byFlag = kMacroSlotUsed;
    macro.szName = names[slot];
    char file[16];
    std::snprintf(file, sizeof file, "Macro%03d.ini", slot);
    fs::create_directories(folder + "Macro");
    (void)WriteMacroFile(folder + "Macro/" + file,
                         macro);  // a macro missing only shortens the menu
  }
  MacroStore macros(folder, context.language, messages);
  CMacroKeyDlg dialog(context.settings, context.language, macros);
  (void)dialog.LoadSkin();
  dialog.SetValue(PackMacro({3, MacroLoopMode::RepeatCount, 5}));
  QTimer::singleShot(300, &dialog, [&dialog, menuOpen] {
    auto* list = dialog.findChild<CImageBtn*>("BTN_MACRO_LIST");
    if (!menuOpen) {
      Hover(dialog.findChild<CImageBtn*>("RAD_FLAG_RELEASE_STOP"));
      return;
    }
    QTimer::singleShot(300, &dialog, [] {
      if (QWidget* menu = QApplication::activePopupWidget()) {
        PressKey(menu, Qt::Key_Down);
        PressKey(menu, Qt::Key_Down);
      }
    });
    list->click();
  });
  return dialog.Run();
}

int Run(const Context& context, const std::string& view) {
  if (view == "message" || view == "question" || view == "warning" || view == "access") {
    CMsgDlg dialog(context.settings, context.language);
    (void)dialog.LoadSkin();  // shown whatever it returned, as in the program
    if (view == "message") {
      return dialog.ShowMessage(context.Text("STA_MSG_INFO_NO_DEV"),
                                context.Text("STA_MSG_TITLE_INFO"), CMsgDlg::kKeepOnTop, 0xC86E3C);
    }
    if (view == "access") {
      QString text = context.Text("STA_MSG_INFO_DEV_ACCESS");
      text.replace(QStringLiteral("%s"), QStringLiteral("/dev/bus/usb/001/004, /dev/hidraw1, /dev/hidraw2, /dev/input/event5, /dev/uinput"));
      return dialog.ShowMessage(text, context.Text("STA_MSG_TITLE_WARN"), CMsgDlg::kKeepOnTop,
                                0xC0);
    }
    if (view == "warning") {
      return dialog.ShowMessage(context.Text("STA_MSG_INFO_DRV_MODULE"),
                                context.Text("STA_MSG_TITLE_WARN"), CMsgDlg::kKeepOnTop, 0xC0);
    }
    QTimer::singleShot(300, &dialog, [&dialog] { Hover(dialog.findChild<CImageBtn*>("BTN_OK")); });
    return dialog.ShowMessage(context.Text("STA_MSG_INFO_RESTORE"),
                              context.Text("STA_MSG_TITLE_RESTORE"), CMsgDlg::kQuestion, 0xC86E3C);
  }
  if (view == "singlekey") {
    CSngKbdDlg dialog(context.settings, context.language);
    (void)dialog.LoadSkin();
    dialog.SetKey(0x9D);  // right Ctrl
    return dialog.exec();
  }
  if (view == "firekey") {
    CFireKeyDlg dialog(context.settings, context.language);
    (void)dialog.LoadSkin();
    dialog.SetValue(PackFireKey({30, 0}));
    QTimer::singleShot(300, &dialog, [&dialog] { Hover(dialog.findChild<CImageBtn*>("BTN_OK")); });
    return dialog.Run();
  }
  if (view == "macrokey" || view == "macromenu") return ShowMacroKey(context, view == "macromenu");
  if (view == "about") {
    CAboutDlg dialog(context.settings, context.language, VEXLO_VERSION);
    return dialog.Run();
  }
  if (view == "menu") return ShowAssignmentMenu(context);
  if (view == "swatches") return ShowColourMenu(context);
  if (view == "picker") {
    PickerWindow window(context);
    window.show();
    return QApplication::exec();
  }
  std::fprintf(stderr, "unknown view: %s\n", view.c_str());
  return 2;
}

}  // namespace
}  // namespace vexlo::demo

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: vexlo-dialog-demo PROGRAM_FOLDER VIEW\n"
                 "VIEW: message, question, warning, access, singlekey, firekey, macrokey, "
                 "macromenu, about, menu, swatches, picker\n");
    return 2;
  }
  vexlo::demo::Context context;
  const std::filesystem::path program = std::filesystem::absolute(argv[1]);
  vexlo::FillProgramPaths(context.settings, (program / "vexlo").string());
  context.language.Load(context.settings.LanguageFile);
  context.settings.CommonFontName = context.language.LookupText("COMMON_FONT_NAME");
  QFontDatabase::addApplicationFont(QString::fromStdString(context.settings.FontPath));
  vexlo::InstallMenuHook();
  const int result = vexlo::demo::Run(context, argv[2]);
  vexlo::RemoveMenuHook();
  return result;
}
