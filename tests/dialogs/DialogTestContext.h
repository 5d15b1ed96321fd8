#pragma once

#include <QTimer>

#include <filesystem>
#include <functional>

#include "common/LanguageTable.h"
#include "profiles/AppSettings.h"

namespace vexlo::test {

// The skin, language file and font name of the built program, as start-up sets them.
struct DialogTestContext {
  AppSettings settings;
  LanguageTable language;

  DialogTestContext() {
    const std::filesystem::path program(VEXLO_TEST_PROGRAM_FOLDER);
    settings.SkinFolder = (program / "Skins").string() + "/";
    settings.CommonFontName = "Open Sans";
    language.Load(program / "Lang_En.ini");
  }
};

// Runs `whileOpen` as soon as the modal loop that `open` starts is running, and returns what
// `open` returns.
template <typename Open>
auto RunWhileOpen(QObject& context, const std::function<void()>& whileOpen, Open open) {
  QTimer::singleShot(0, &context, whileOpen);
  return open();
}

}  // namespace vexlo::test
