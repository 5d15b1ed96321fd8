#pragma once

#include "BenchApplication.h"
#include "PanelObjects.h"
#include "ScratchFolder.h"
#include "SilentMessages.h"

namespace vexlo::bench {

// The application and the scratch folder, made before the objects that use them.
struct PanelWorldGround {
  bool application = EnsureApplication();  // before any widget
  ScratchFolder scratch;
};

// What a page panel works with, over the given machine, with the shipped skins, a scratch data
// folder holding a new current profile, the mouse connected when the machine has one, and a
// shown window for the panel's controls.
struct PanelWorld : PanelWorldGround, test::PanelObjects<SilentMessages> {
  explicit PanelWorld(Platform ports)
      : PanelObjects(std::move(ports), VEXLO_BENCH_PROGRAM_FOLDER "/vexlo",
                     scratch.path() + "data/") {
    (void)Open();  // without a file nothing is written, and the counters show it
    window.resize(1080, 680);
    window.show();
  }
};

}  // namespace vexlo::bench
