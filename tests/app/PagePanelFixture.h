#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "FakeUserMessages.h"
#include "TempFolder.h"
#include "app/AppContext.h"
#include "common/IniFile.h"
#include "common/LanguageTable.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/ports/Platform.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "skin/CImageSlider.h"
#include "skin/CMenuEx.h"

namespace vexlo::test {

// A page panel's world: the in-process simulated machine with the mouse plugged in and connected,
// the objects the panels work with, the shipped skins and language file, a private data folder
// with a new current profile, and the window the panel's controls live on.
class PagePanelFixture : public testing::Test {
 protected:
  TempFolder root;
  std::shared_ptr<SimEnvironment> sim = std::make_shared<SimEnvironment>();
  Platform platform = MakePlatform();
  AppSettings settings = MakeSettings();
  LanguageTable language;
  FakeUserMessages messages;
  ProfileStore profiles{settings.DataFolder, language, messages};
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession device{link, messages};
  MacroStore macros{settings.DataFolder, language, messages};
  ForegroundMonitor monitor{*platform.foreground};
  WheelLinesWorker wheelLines{*platform.mouseSettings};
  SteadyPauseClock pauseClock;
  InputInjector injector{*platform.devices, *platform.hid};
  MacroPlayer player{injector, pauseClock};
  AppContext context{platform,   settings, language,   messages, nullptr, profiles, macros,
                     device,     monitor,  wheelLines, injector, player,  pauseClock,
                     /*startHidden=*/false};
  QWidget window;

  Platform MakePlatform() {
    Platform made;
    AddSimPorts(made, sim);
    return made;
  }

  AppSettings MakeSettings() {
    AppSettings made;
    FillProgramPaths(made, std::string(VEXLO_BINARY_DIR) + "/vexlo");
    made.DataFolder = root / "data/";
    made.CommonFontName = "Open Sans";
    return made;
  }

  void SetUp() override {
    language.Load(settings.LanguageFile);
    ASSERT_EQ(profiles.NewProfile(), Result::Ok);
    ASSERT_EQ(device.Connect(), Result::Ok);
    window.resize(1080, 680);
  }

  void TearDown() override { (void)player.StopNow(); }

  template <typename T>
  T& Find(const std::string& key) {
    auto* control = window.findChild<T*>(QString::fromStdString(key));
    if (!control) throw std::runtime_error(key);
    return *control;
  }

  static void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::sendPostedEvents();
  }

  // Where the thumb sits at `position` (for the last position, the track's last pixel: the
  // thumb's centre there lies just beyond the track).
  static QPoint SliderPoint(const CImageSlider& slider, int position) {
    const SliderGeometry geometry = slider.Geometry();
    return {std::min(geometry.CentreX(position), geometry.track.right()),
            geometry.ThumbRect(position).center().y()};
  }
  // Clicks the slider's track at `position`, as a user does.
  void ClickSliderAt(CImageSlider& slider, int position) {
    QTest::mouseClick(&slider, Qt::LeftButton, {}, SliderPoint(slider, position));
    Settle();
  }

  // Clicks `button` and, in the menu it opens, chooses the item of `commandId` with the keys.
  void ChooseInMenu(QWidget& button, int commandId) {
    bool chosen = false;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* action : menu->actions()) {
        if (CMenuEx::CommandId(*action) != commandId) continue;
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        chosen = true;
        return;
      }
      menu->close();
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    Settle();
    ASSERT_TRUE(chosen) << "no item " << commandId;
  }

  std::string Saved(const std::string& key) {
    return ReadIniString("Setting", key, "?", profiles.CurrentPath());
  }
  std::uint8_t Register(int reg) const {
    return sim->State().mouse.registers[static_cast<std::size_t>(reg)];
  }
  std::uint64_t Transfers() const { return sim->State().hidFilter.transfers; }
};

}  // namespace vexlo::test
