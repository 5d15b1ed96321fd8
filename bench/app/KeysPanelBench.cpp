// The button assignment page: what building and showing the assignment menu costs, and the time
// from a choice to the button's register written in a running vexlo-sim (the profile file
// written too).
#include <QWidget>

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchApplication.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"
#include "app/AppContext.h"
#include "app/panels/AssignmentMenu.h"
#include "app/panels/KeysPanel.h"
#include "common/LanguageTable.h"
#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "engine/AssignmentCodes.h"
#include "engine/ForegroundMonitor.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"
#include "engine/WheelLinesWorker.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimProtocol.h"
#include "profiles/AppSettings.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileStore.h"
#include "skin/CImageBtn.h"

namespace vexlo {
namespace {

const std::string kBinaries = VEXLO_BINARY_DIR "/";

// A running vexlo-sim in a private runtime folder, stopped again at the end.
class RunningSim {
 public:
  RunningSim() {
    const std::string run = scratch_.path() + "run";
    std::filesystem::create_directories(run);
    std::filesystem::permissions(run, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    running_ = std::system((kBinaries + "vexlo-sim start >/dev/null").c_str()) == 0;
  }
  ~RunningSim() {
    if (running_) (void)std::system((kBinaries + "vexlo-sim stop >/dev/null").c_str());
  }
  bool running() const { return running_; }
  const std::string& folder() const { return scratch_.path(); }

 private:
  bench::ScratchFolder scratch_;
  bool running_ = false;
};

// The objects the page works with, over the running vexlo-sim, with the shipped skin and
// language file and a private data folder.
struct Page {
  explicit Page(const std::string& folder) : data(folder + "data/") {}

  bool Open() {
    language.Load(settings.LanguageFile);
    return profiles.NewProfile() == Result::Ok && mainSkin.Load() == Result::Ok &&
           device.Connect() == Result::Ok;
  }

  static Platform MakePlatform() {
    Platform made;
    AddSimPorts(made, std::make_shared<SimClient>(SimSocketPath()));
    return made;
  }
  AppSettings MakeSettings() const {
    AppSettings made;
    FillProgramPaths(made, kBinaries + "vexlo");
    made.DataFolder = data;
    made.CommonFontName = "Open Sans";
    return made;
  }

  bool application = EnsureApplication();
  std::string data;
  Platform platform = MakePlatform();
  AppSettings settings = MakeSettings();
  LanguageTable language;
  bench::SilentMessages messages;
  ProfileStore profiles{settings.DataFolder, language, messages};
  MacroStore macros{settings.DataFolder, language, messages};
  DeviceLink link{*platform.devices, *platform.hid};
  DeviceSession device{link, messages};
  ForegroundMonitor monitor{*platform.foreground};
  WheelLinesWorker wheelLines{*platform.mouseSettings};
  SteadyPauseClock pauseClock;
  InputInjector injector{*platform.devices, *platform.hid};
  MacroPlayer player{injector, pauseClock};
  AppContext context{platform, settings, language,   messages, nullptr, profiles,   macros,
                     device,   monitor,  wheelLines, injector, player,  pauseClock, false};
  QWidget window;
  SkinFile<DibImage> mainSkin{settings.SkinFolder + "Main.ini"};
};

// The menu of a side button (all 44 codes) made, laid out and painted, then closed.
void BM_BuildAndShowAssignmentMenu(benchmark::State& state) {
  EnsureApplication();
  LanguageTable language;
  language.Load(kBinaries + "Lang_En.ini");
  QWidget window;
  CImageBtn key(CImageBtn::Kind::Push, &window);
  key.setGeometry(72, 100, 252, 40);
  window.show();
  for (auto _ : state) {
    std::unique_ptr<CMenuEx> menu = MakeAssignmentMenu(key, 3, language);
    menu->popup(key.mapToGlobal(QPoint(15, key.height())));
    benchmark::DoNotOptimize(menu->grab());
    menu->close();
  }
}
BENCHMARK(BM_BuildAndShowAssignmentMenu)->Unit(benchmark::kMillisecond);

// A choice for the first sensitivity button, alternating between cycling the sensitivity (the
// mouse's own function) and a media key (reporting to the host): the register write through
// vexlo-sim's socket and the profile file's atomic replacement.
void BM_ChoiceToRegisterWritten(benchmark::State& state) {
  RunningSim sim;
  if (!sim.running()) {
    state.SkipWithError("vexlo-sim did not start");
    return;
  }
  Page page(sim.folder());
  if (!page.Open()) {
    state.SkipWithError("the virtual mouse did not connect");
    return;
  }
  KeysPanel panel(page.window, page.context, page.mainSkin);
  bool media = false;
  for (auto _ : state) {
    media = !media;
    panel.AssignKey(5, media ? 12 : kCodeSensitivityCycle);
  }
}
BENCHMARK(BM_ChoiceToRegisterWritten)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexlo
