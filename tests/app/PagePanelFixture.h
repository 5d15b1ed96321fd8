#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "AssignmentMenuDriver.h"
#include "ChildProcess.h"
#include "FakeUserMessages.h"
#include "PanelObjects.h"
#include "TempFolder.h"
#include "common/IniFile.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimProtocol.h"
#include "skin/CImageSlider.h"
#include "skin/CMenuEx.h"

namespace vexlo::test {

// A vexlo-sim of the test's own, in the runtime folder `runtime` (which the test process takes as
// its own too, so that it reaches this one), stopped when the object goes.
class VexloSimRun {
 public:
  explicit VexloSimRun(const std::string& runtime) : environment_{{"XDG_RUNTIME_DIR", runtime}} {
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    running_ = Run({"start"}) == 0;
  }
  ~VexloSimRun() {
    if (running_) (void)Run({"stop"});
  }
  VexloSimRun(const VexloSimRun&) = delete;
  VexloSimRun& operator=(const VexloSimRun&) = delete;

  bool Running() const { return running_; }
  std::optional<int> Run(const std::vector<std::string>& words) {
    return ChildProcess(kProgram, words, environment_).WaitForExit(std::chrono::seconds(20));
  }
  std::string Output(const std::vector<std::string>& words) {
    return RunForOutput(kProgram, words, environment_, std::chrono::seconds(20)).value_or("");
  }

  // What vexlo-sim shows of the machine: the registers, the transfers, the report rate and the
  // desktop's pointer settings.
  SimState State() {
    SimState state;
    std::istringstream registers(Output({"registers"}));
    std::string line;
    std::getline(registers, line);  // the column heads
    while (std::getline(registers, line)) {
      const auto colon = line.find(':');
      if (colon == std::string::npos) continue;
      std::size_t reg = std::stoul(line.substr(0, colon), nullptr, 16);
      std::istringstream bytes(line.substr(colon + 1));
      for (unsigned value = 0; bytes >> std::hex >> value && reg < state.mouse.registers.size();) {
        state.mouse.registers[reg++] = static_cast<std::uint8_t>(value);
      }
    }
    std::istringstream status(Output({"status"}));
    while (std::getline(status, line)) {
      const std::string text = line.size() > 14 ? line.substr(14) : std::string();
      if (line.starts_with("transfers")) state.hidFilter.transfers = std::stoull(text);
      if (line.starts_with("report rate") && text != "not set") {
        state.mouseFilter.reportRateFactor = std::stoi(text) / 1000.0;
      }
      if (line.starts_with("desktop")) {
        SimPointerSettings& pointer = state.desktop.pointer;
        unsigned lines = 0;
        std::sscanf(text.c_str(), "double-click %u ms, pointer speed %u, wheel %u",
                    &pointer.doubleClickTime, &pointer.pointerSpeed, &lines);
        pointer.wheelScrollLines = text.ends_with("a page") ? 0xFFFFFFFF : lines;
      }
    }
    return state;
  }

 private:
  static constexpr const char* kProgram = VEXLO_SIM_PROGRAM;
  std::map<std::string, std::string> environment_;
  bool running_ = false;
};

// The test's own folder and machine: the simulated machine in-process, or a vexlo-sim of the
// test's own whose runtime folder lies in the test's folder.
class PagePanelMachine {
 protected:
  explicit PagePanelMachine(bool throughVexloSim) : vexloSim(StartVexloSim(throughVexloSim)) {}

  TempFolder root;
  std::optional<VexloSimRun> vexloSim;
  std::shared_ptr<SimEnvironment> sim = std::make_shared<SimEnvironment>();

  std::optional<VexloSimRun> StartVexloSim(bool throughVexloSim) {
    if (!throughVexloSim) return std::nullopt;
    return std::make_optional<VexloSimRun>(root / "run");
  }
  Platform Ports() {
    Platform made;
    if (vexloSim) {
      AddSimPorts(made, std::make_shared<SimClient>(SimSocketPath()));
    } else {
      AddSimPorts(made, sim);
    }
    return made;
  }
};

// A page panel's world: the simulated machine (in-process, or in a vexlo-sim of the test's own)
// with the mouse plugged in and connected, the objects the panels work with, the shipped skins
// and language file, a private data folder with a new current profile, messages answered by the
// test, and the window the panel's controls live on.
class PagePanelFixture : public testing::Test,
                         protected PagePanelMachine,
                         protected PanelObjects<FakeUserMessages> {
 protected:
  explicit PagePanelFixture(bool throughVexloSim = false)
      : PagePanelMachine(throughVexloSim),
        PanelObjects(Ports(), std::string(VEXLO_BINARY_DIR) + "/vexlo", root / "data/") {}

  void SetUp() override {
    if (vexloSim) {
      ASSERT_TRUE(vexloSim->Running()) << "vexlo-sim did not start";
    }
    ASSERT_EQ(Open(), Result::Ok);
    window.resize(1080, 680);
  }

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

  // Clicks `button` and, once its menu is open, runs `whileOpen` on it.
  void WhileMenuOpen(QWidget& button, const std::function<void(QMenu&)>& whileOpen) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      opened = true;
      whileOpen(*menu);
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(opened);
  }
  // Clicks `button` and, in the menu it opens, chooses the item of `commandId` with the keys.
  void ChooseInMenu(QWidget& button, int commandId) {
    WhileMenuOpen(button, [commandId](QMenu& menu) { ChooseItem(menu, commandId); });
    Settle();
  }

  std::string Saved(const std::string& key) {
    return ReadIniString("Setting", key, "?", profiles.CurrentPath());
  }
  // The machine as the test sees it: all of it in-process, what vexlo-sim shows otherwise.
  SimState Machine() { return vexloSim ? vexloSim->State() : sim->State(); }
  std::uint8_t Register(int reg) {
    return Machine().mouse.registers[static_cast<std::size_t>(reg)];
  }
  std::uint64_t Transfers() { return Machine().hidFilter.transfers; }
  // The text keys of the messages shown, in order.
  std::vector<std::string> Shown() const {
    std::vector<std::string> textKeys;
    for (const auto& shown : messages.shown) textKeys.push_back(shown.textKey);
    return textKeys;
  }
};

// Names the machine of a test that runs on both: "InProcess" or "VexloSim".
inline std::string MachineName(const testing::TestParamInfo<bool>& machine) {
  return machine.param ? "VexloSim" : "InProcess";
}

}  // namespace vexlo::test
