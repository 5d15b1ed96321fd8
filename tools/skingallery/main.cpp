#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GalleryWindow.h"
#include "app/panels/MacroRecorder.h"
#include "app/panels/ProfileMenus.h"
#include "common/IniFile.h"
#include "grid/CGridListCtrlEx.h"
#include "skin/SkinFile.h"

// Writes a PNG of every skinned window with its controls placed, for review:
//   vexlo-skin-gallery PROGRAM_FOLDER OUTPUT_FOLDER      all pictures
//   vexlo-skin-gallery PROGRAM_FOLDER --show NAME        one window on the screen
namespace vexlo::gallery {
namespace {

namespace fs = std::filesystem;

struct Context {
  fs::path program;
  LanguageTable language;
};

fs::path Skin(const Context& context, const char* name) {
  return context.program / "Skins" / name;
}

QImage Composed(const SkinImage& base, const SkinImage& overlay) {
  QImage picture = base.Pixels().copy();
  QPainter painter(&picture);
  painter.drawImage(0, 0, overlay.Pixels());
  return picture;
}

void Hover(QWidget* widget) {
  if (!widget) return;
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
  QCoreApplication::sendEvent(widget, &enter);
}

void Check(GalleryWindow& window, const std::string& key) {
  if (CImageBtn* button = window.Button(key)) button->SetCheck(1);
}

// Which of Main.ini's controls a page shows.
bool OnPage(const std::string& key, int page) {
  const bool keys = key.rfind("BTN_MOUSE_KEY", 0) == 0 && key.size() == 14;
  if (keys || key == "BTN_RESTORE") return page == 0;
  if (key == "BTN_MOUSE_PIC0" || key == "BTN_MOUSE_PIC0B") return page == 0 || page == 2;
  const bool profile = key.find("PROFILE") != std::string::npos || key == "BTN_APPLY";
  if (profile) return page == 0 || page == 1 || page == 3;
  return true;
}

enum Page { kButtons = 0, kPerformance = 1, kLighting = 2, kLineCorrection = 3, kMacros = 4 };

const char* const kModels[] = {"Kobal.ini", "Pirul.ini", "Sorna.ini", "Zefta.ini"};
const char* const kPageSkins[] = {"Main.ini", "Adv.ini", "Light.ini", "LineCor.ini", "Macro.ini"};
const char* const kPageTabs[] = {"BTN_MOUSE_KEY", "BTN_MOUSE_ADV", "BTN_MOUSE_LIGHT", "", ""};

void SetPageTexts(GalleryWindow& window, const Context& context) {
  const char* assignments[] = {"INFO_KEY_SET_LEFT",    "INFO_KEY_SET_RIGHT", "INFO_KEY_SET_MIDDLE",
                               "INFO_KEY_SET_FORWARD", "INFO_KEY_SET_BACK",  "INFO_KEY_SET_DPI_UP",
                               "INFO_KEY_SET_DPI_DOWN"};
  for (int i = 0; i < 7; ++i) {
    window.SetText("BTN_MOUSE_KEY" + std::to_string(i + 1),
                   QString::fromStdString(context.language.LookupText(assignments[i])));
  }
  window.SetText("BTN_MOUSE_KEY4",
                 QString::fromStdString(context.language.LookupText("PREFIX_KEY_SET_MACRO")) +
                     QStringLiteral("Reload combo"));
  for (int i = 1; i <= 4; ++i) {
    const std::string key = "RAD_DEV" + std::to_string(i);
    window.SetText(key, QString::fromStdString(context.language.LookupText(key + "_LINE1") + "\n" +
                                               context.language.LookupText(key + "_LINE2")));
  }
  window.SetText("BTN_PROFILE_LIST", QStringLiteral("Profile001"));
  window.SetText("EDIT_PROFILE_NAME", QStringLiteral("Profile001"));
  window.SetText("CHK_PROFILE_LINK",
                 QString::fromStdString(context.language.LookupText("STA_PROFILE_LINK")));
  window.SetText("SLD_DBL_CLK_TIME", QStringLiteral("5/10"));
  window.SetText("SLD_MOUSE_SPEED", QStringLiteral("6/10"));
  window.SetText("BTN_MOUSE_REPORT_RATE", QStringLiteral("1000"));
  window.SetText("EDIT_MOUSE_WHEEL_LINES", QStringLiteral("3"));
  const int levels[] = {800, 1000, 1600, 3200};
  const char* colours[] = {"#FF0000", "#0000FF", "#00FF00", "#FFFF00"};
  for (int i = 0; i < 4; ++i) {
    const std::string n = std::to_string(i + 1);
    window.SetText("STA_MOUSE_CPI_VALUE" + n, QString::number(levels[i]));
    window.SetText("SLD_MOUSE_CPI" + n, QStringLiteral("%1/20").arg((levels[i] - 200) / 200));
    window.SetText("BTN_MOUSE_CPI_COLOR" + n, QString::fromLatin1(colours[i]));
  }
  window.SetText("BTN_LIGHT_MODE", QString::fromStdString(
                                       context.language.LookupText("INFO_LIGHT_MODE_CPI_BREATHE")));
  window.SetText("BTN_MACRO_LIST", QStringLiteral("Reload combo"));
  window.SetText("EDIT_MACRO_NAME", QStringLiteral("Reload combo"));
  window.SetText("EDIT_MACRO_ACTION_DELAY", QStringLiteral("10"));
  window.SetText("CHK_MACRO_ACTION_RECORD",
                 QString::fromStdString(context.language.LookupText("CHK_MACRO_ACTION_RECORD0")));
  const QString press =
      QString::fromStdString(context.language.LookupText("INFO_MACRO_ACTION_DOWN"));
  const QString release =
      QString::fromStdString(context.language.LookupText("INFO_MACRO_ACTION_UP"));
  const QString delay =
      QString::fromStdString(context.language.LookupText("INFO_MACRO_ACTION_DELAY_UNIT"));
  const QString left =
      QString::fromStdString(context.language.LookupText("INFO_KEY_MOU_TYPE_LEFT"));
  window.SetText("LIST_MACRO_ACTION",
                 QStringLiteral("Shift|%1|k;R|%1|k;10|%3|d;R|%2|k;Shift|%2|k;25|%3|d;%4|%1|m;"
                                "40|%3|d;%4|%2|m;F5|%1|k;10|%3|d;F5|%2|k")
                     .arg(press, release, delay, left));
}

std::unique_ptr<GalleryWindow> MainWindow(const Context& context, int page, int model,
                                          int hoveredKey) {
  auto window = std::make_unique<GalleryWindow>(context.program, context.language);
  SetPageTexts(*window, context);
  const fs::path mainIni = Skin(context, "Main.ini");
  DibImage& main = window->KeepImage();
  DibImage& highlight = window->KeepImage();
  (void)LoadSkinImage(mainIni, "Main", main);
  (void)LoadSkinImage(mainIni, "Status2", highlight);
  const fs::path modelIni = Skin(context, kModels[model]);
  DibImage& modelMain = window->KeepImage();
  DibImage& modelHighlight = window->KeepImage();
  (void)LoadSkinImage(modelIni, "Main", modelMain);
  (void)LoadSkinImage(modelIni, "Status2", modelHighlight);
  // The model's mouse is drawn into the main images and the lighting page's.
  main.Assign(Composed(main, modelMain));
  highlight.Assign(Composed(highlight, modelHighlight));

  const fs::path pageIni = Skin(context, kPageSkins[page]);
  DibImage& pageMain = window->KeepImage();
  DibImage& pageHighlight = window->KeepImage();
  if (page != kButtons) {
    (void)LoadSkinImage(pageIni, "Main", pageMain);
    (void)LoadSkinImage(pageIni, "Status2", pageHighlight);
  }
  if (page == kLighting) {
    pageMain.Assign(Composed(pageMain, modelMain));
    pageHighlight.Assign(Composed(pageHighlight, modelHighlight));
  }
  window->Background().Assign(page == kButtons ? main.Pixels() : pageMain.Pixels());
  window->InitDialog();

  window->AddControls(mainIni, main, highlight);
  for (CImageBtn* button : window->findChildren<CImageBtn*>()) {
    button->setVisible(OnPage(button->objectName().toStdString(), page));
  }
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->objectName().isEmpty()) {
      child->setVisible(OnPage(child->objectName().toStdString(), page));
    }
  }
  if (page == kButtons) {
    window->AddControls(modelIni, highlight, highlight);
    for (int i = 1; i <= 7; ++i) {
      CImageBtn* picture = window->Button("BTN_MOUSE_PIC" + std::to_string(i));
      picture->SetImages(modelIni, "BTN_MOUSE_PIC" + std::to_string(i), &highlight, &highlight,
                         &highlight, &main, &highlight);
      picture->setEnabled(false);
      // The key picture lights up while its assignment button is pointed at.
      window->Button("BTN_MOUSE_KEY" + std::to_string(i))
          ->SetAfterDraw([picture](CImageBtn&, int state) {
            picture->setEnabled(state == CImageBtn::kHover || state == CImageBtn::kPressed ||
                                state == CImageBtn::kChecked);
          });
    }
  } else {
    window->AddControls(pageIni, pageMain, pageHighlight);
  }
  Check(*window, page == kMacros ? "BTN_MACRO" : "BTN_MOUSE");
  if (kPageTabs[page][0] != '\0') Check(*window, kPageTabs[page]);
  Check(*window, "RAD_DEV" + std::to_string(model + 1));
  Check(*window, "RAD_MOUSE_WHEEL_LINES");
  Check(*window, "RAD_MACRO_ACTION_DELAY_FIXED");
  Check(*window, "CHK_PROFILE_LINK");
  Check(*window, "CHK_LINE_COR");
  if (CImageBtn* apply = window->Button("BTN_APPLY")) apply->setEnabled(false);
  if (CImageBtn* apply = window->Button("BTN_MACRO_APPLY")) apply->setEnabled(false);
  if (hoveredKey > 0) Hover(window->Button("BTN_MOUSE_KEY" + std::to_string(hoveredKey)));
  return window;
}

// The macro page with a full 60-step macro, a row chosen and the pause editor open on a delay.
std::unique_ptr<GalleryWindow> MacroEditing(const Context& context) {
  auto window = MainWindow(context, kMacros, 3, 0);
  auto* list = window->findChild<CGridListCtrlEx*>(QStringLiteral("LIST_MACRO_ACTION"));
  const int shown = list->GetItemCount();
  for (int row = shown; row < 60; ++row) {
    const int from = row % shown;
    list->InsertItem(row);
    for (int column = 1; column <= 2; ++column) {
      list->SetItemText(row, column, list->GetItemText(from, column));
      list->SetCellImage(row, column, list->GetCellImage(from, column));
    }
  }
  list->SelectRow(4);
  window->show();
  list->EditCell(2, 1);
  return window;
}

std::unique_ptr<GalleryWindow> Dialog(const Context& context, const char* ini, const char* mainFile,
                                      const char* highlightFile,
                                      const std::function<void(GalleryWindow&)>& texts) {
  auto window = std::make_unique<GalleryWindow>(context.program, context.language);
  texts(*window);
  const fs::path skin = Skin(context, ini);
  DibImage& highlight = window->KeepImage();
  if (mainFile) {
    (void)LoadImageFile(Skin(context, mainFile), window->Background());
    (void)LoadImageFile(Skin(context, highlightFile ? highlightFile : mainFile), highlight);
  } else {
    (void)LoadSkinImage(skin, "Main", window->Background());
    (void)LoadSkinImage(skin, "Status2", highlight);
  }
  window->InitDialog();
  window->AddControls(skin, window->Background(), highlight);
  return window;
}

QString Text(const Context& context, const char* key) {
  return QString::fromStdString(context.language.LookupText(key));
}

// A menu of a window, open where the program opens it.
using OpenMenu = std::function<std::unique_ptr<CMenuEx>(GalleryWindow&, const Context&)>;

struct Shot {
  const char* name;
  std::function<std::unique_ptr<GalleryWindow>(const Context&)> build;
  OpenMenu menu = nullptr;  // none: the window alone
};

// Many profiles, some of them with long names, so that the list is taller than the screen.
std::vector<std::string> ManyProfileNames() {
  std::vector<std::string> names = {
      "Apex Legends", "Counter-Strike 2 competitive",
      "Desktop work", "Photo editing with a steady hand at 400 counts per inch",
      "Racing",       "\xC3\x89t\xC3\xA9 \xE2\x80\x94 casual"};
  for (int i = 1; names.size() < 60; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Profile%03d", i);
    names.emplace_back(name);
  }
  return names;
}

std::unique_ptr<CMenuEx> ProfileListMenu(GalleryWindow& window, const Context&) {
  CImageBtn& button = *window.Button("BTN_PROFILE_LIST");
  auto menu = MakeProfileListMenu(button, ManyProfileNames());
  menu->popup(ProfileListMenuPosition(button));
  menu->setActiveAction(menu->actions().at(2));
  return menu;
}

// Over a current profile whose name is longer than the list button.
std::unique_ptr<CMenuEx> ProfileMoreMenu(GalleryWindow& window, const Context& context) {
  const QString current = QString::fromStdString(ManyProfileNames()[3]);
  window.Button("BTN_PROFILE_LIST")->setText(current);
  if (auto* name = window.findChild<QLineEdit*>(QStringLiteral("EDIT_PROFILE_NAME"))) {
    name->setText(current);
    name->setCursorPosition(0);
  }
  CImageBtn& button = *window.Button("BTN_PROFILE_MORE");
  auto menu = MakeProfileMoreMenu(button, *window.Button("BTN_PROFILE_LIST"), context.language);
  menu->popup(ProfileMoreMenuPosition(button));
  menu->setActiveAction(menu->actions().at(1));
  return menu;
}

// The window and its open menu in one picture, each where it lies on the screen; the picture
// grows to hold a menu that reaches beyond the window.
QImage Picture(GalleryWindow& window, QMenu* menu) {
  if (!menu) return window.grab().toImage();
  const QRect windowRect = window.frameGeometry();
  const QRect menuRect = menu->geometry();
  const QRect all = windowRect.united(menuRect);
  QImage picture(all.size(), QImage::Format_RGB32);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.drawPixmap(windowRect.topLeft() - all.topLeft(), window.grab());
  painter.drawPixmap(menuRect.topLeft() - all.topLeft(), menu->grab());
  return picture;
}

// The macro page while a recording runs: the record box on, the controls that must wait disabled.
std::unique_ptr<GalleryWindow> MacroRecording(const Context& context) {
  auto window = MainWindow(context, kMacros, 3, 0);
  if (CImageBtn* record = window->Button("CHK_MACRO_ACTION_RECORD")) {
    record->SetCheck(1);
    record->setText(Text(context, "CHK_MACRO_ACTION_RECORD1"));
  }
  for (const std::string_view key : MacroRecorder::kLockedControls) {
    const QString name = QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
    if (auto* control = window->findChild<QWidget*>(name)) control->setEnabled(false);
  }
  return window;
}

std::vector<Shot> Shots() {
  return {
      {"Main-Buttons-Kobal", [](const Context& c) { return MainWindow(c, kButtons, 0, 1); }},
      {"Main-Buttons-Pirul", [](const Context& c) { return MainWindow(c, kButtons, 1, 3); }},
      {"Main-Buttons-Sorna", [](const Context& c) { return MainWindow(c, kButtons, 2, 4); }},
      {"Main-Buttons-Zefta", [](const Context& c) { return MainWindow(c, kButtons, 3, 6); }},
      {"Main-Performance", [](const Context& c) { return MainWindow(c, kPerformance, 3, 0); }},
      {"Main-Lighting", [](const Context& c) { return MainWindow(c, kLighting, 1, 0); }},
      {"Main-LineCorrection",
       [](const Context& c) { return MainWindow(c, kLineCorrection, 3, 0); }},
      {"Main-Profiles-List", [](const Context& c) { return MainWindow(c, kButtons, 1, 0); },
       ProfileListMenu},
      {"Main-Profiles-More", [](const Context& c) { return MainWindow(c, kPerformance, 3, 0); },
       ProfileMoreMenu},
      {"Main-Macros", [](const Context& c) { return MainWindow(c, kMacros, 3, 0); }},
      {"Main-Macros-Editing", MacroEditing},
      {"Main-Macros-Recording", MacroRecording},
      {"Msg",
       [](const Context& c) {
         return Dialog(c, "Msg.ini", nullptr, nullptr, [&c](GalleryWindow& w) {
           w.SetText("STA_TITLE", Text(c, "STA_MSG_TITLE_RESTORE"));
           w.SetText("BTN_INFO", Text(c, "STA_MSG_INFO_RESTORE"));
           w.SetText("BTN_OK", Text(c, "BTN_MSG_YES"));
           w.SetText("BTN_CANCEL", Text(c, "BTN_MSG_NO"));
         });
       }},
      {"Msg-Notice",
       [](const Context& c) {
         return Dialog(c, "Msg.ini", nullptr, nullptr, [&c](GalleryWindow& w) {
           w.SetText("STA_TITLE", Text(c, "STA_MSG_TITLE_INFO"));
           w.SetText("BTN_INFO", Text(c, "STA_MSG_INFO_PROFILE_APPLY"));
           w.SetText("BTN_OK", Text(c, "BTN_MSG_OK"));
           w.SetText("BTN_CANCEL", Text(c, "BTN_MSG_CANCEL"));
         });
       }},
      {"SngKbd",
       [](const Context& c) {
         return Dialog(c, "SngKbd.ini", nullptr, nullptr, [&c](GalleryWindow& w) {
           w.SetText("STA_TITLE", Text(c, "STA_SNG_KBD_TITLE"));
           w.SetText("BTN_SUBTITLE", Text(c, "STA_SNG_KBD_SUBTITLE"));
           w.SetText("STA_KEY", QStringLiteral("Right Ctrl"));
           w.SetText("BTN_APPLY", Text(c, "BTN_MSG_APPLY"));
         });
       }},
      {"FireKey",
       [](const Context& c) {
         return Dialog(c, "FireKey.ini", "FireKey.png", "FireKey2.png", [&c](GalleryWindow& w) {
           w.SetText("STA_TITLE", Text(c, "STA_FIRE_KEY_TITLE"));
           w.SetText("STA_INTVL", Text(c, "STA_FIRE_KEY_INTVL"));
           w.SetText("STA_COUNT", Text(c, "STA_FIRE_KEY_COUNT"));
           w.SetText("EDIT_INTVL", QStringLiteral("30"));
           w.SetText("EDIT_COUNT", QStringLiteral("0"));
           w.SetText("BTN_OK", Text(c, "BTN_MSG_OK"));
           w.SetText("BTN_CANCEL", Text(c, "BTN_MSG_CANCEL"));
         });
       }},
      {"MacroKey",
       [](const Context& c) {
         auto window =
             Dialog(c, "MacroKey.ini", "MacroKey.png", "MacroKey2.png", [&c](GalleryWindow& w) {
               w.SetText("STA_TITLE", Text(c, "STA_MACRO_KEY_TITLE"));
               w.SetText("BTN_SUBTITLE", Text(c, "STA_MACRO_KEY_SUBTITLE"));
               w.SetText("BTN_MACRO_LIST", QStringLiteral("Reload combo"));
               w.SetText("RAD_FLAG_CYCLES", Text(c, "RAD_MACRO_KEY_FLAG_CYCLES"));
               w.SetText("RAD_FLAG_RELEASE_STOP", Text(c, "RAD_MACRO_KEY_FLAG_RELEASE_STOP"));
               w.SetText("RAD_FLAG_PRESS_STOP", Text(c, "RAD_MACRO_KEY_FLAG_PRESS_STOP"));
               w.SetText("EDIT_REPEAT_COUNT", QStringLiteral("1"));
               w.SetText("BTN_OK", Text(c, "BTN_MSG_OK"));
               w.SetText("BTN_CANCEL", Text(c, "BTN_MSG_CANCEL"));
             });
         Check(*window, "RAD_FLAG_CYCLES");
         return window;
       }},
      {"About",
       [](const Context& c) {
         return Dialog(c, "About.ini", "About.png", nullptr, [&c](GalleryWindow& w) {
           w.SetText("BTN_CLOSE", Text(c, "BTN_ABOUT_CLOSE"));
           w.SetText("STA_SW_VER", Text(c, "STA_ABOUT_SW_VER") + QStringLiteral("V1.0"));
         });
       }},
  };
}

}  // namespace
}  // namespace vexlo::gallery

int main(int argc, char** argv) {
  using namespace vexlo::gallery;
  QApplication app(argc, argv);
  if (argc != 3 && !(argc == 4 && std::string(argv[2]) == "--show")) {
    std::fprintf(stderr,
                 "usage: vexlo-skin-gallery PROGRAM_FOLDER OUTPUT_FOLDER\n"
                 "       vexlo-skin-gallery PROGRAM_FOLDER --show NAME\n");
    return 2;
  }
  Context context;
  context.program = argv[1];
  QFontDatabase::addApplicationFont(
      QString::fromStdString((context.program / "OpenSans-Regular.ttf").string()));
  const std::string languageFile =
      vexlo::ReadIniString("LANG", "LANG_FILE", "Lang_En.ini", context.program / "Lang.ini");
  context.language.Load(context.program / languageFile);

  if (argc == 4) {
    for (const Shot& shot : Shots()) {
      if (argv[3] != std::string(shot.name)) continue;
      auto window = shot.build(context);
      window->show();
      const auto menu = shot.menu ? shot.menu(*window, context) : nullptr;
      return app.exec();
    }
    std::fprintf(stderr, "vexlo-skin-gallery: no window named %s\n", argv[3]);
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[2]));
  if (!output.mkpath(QStringLiteral("."))) return 1;
  for (const Shot& shot : Shots()) {
    auto window = shot.build(context);
    std::unique_ptr<vexlo::CMenuEx> menu;
    if (shot.menu) {
      window->show();
      menu = shot.menu(*window, context);
    }
    const QString file = output.filePath(QString::fromLatin1(shot.name) + QStringLiteral(".png"));
    if (!Picture(*window, menu.get()).save(file)) {
      std::fprintf(stderr, "vexlo-skin-gallery: cannot write %s\n", qPrintable(file));
      return 1;
    }
    std::printf("%s\n", qPrintable(file));
  }
  return 0;
}
