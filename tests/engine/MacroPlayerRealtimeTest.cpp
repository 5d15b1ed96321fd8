#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "../device/DeviceTestSupport.h"
#include "HostTestSupport.h"
#include "common/RealtimeThread.h"
#include "engine/InputInjector.h"
#include "engine/MacroPlayer.h"
#include "engine/SteadyPauseClock.h"

namespace vexlo {
namespace {

// In a child of the test: plays a loop of keys without pauses for a while, then exits with 0.
[[noreturn]] void PlayKeysAloneThenExit() {
  // As RealtimeKit has it, only shorter: a real-time thread that runs this long without sleeping
  // ends the process.
  const rlimit limit{100'000, 100'000};
  if (::setrlimit(RLIMIT_RTTIME, &limit) != 0) std::_Exit(2);
  test::SimMachine machine;
  InputInjector injector(*machine.platform.devices, *machine.platform.hid);
  SteadyPauseClock clock;
  MacroPlayer player(injector, clock);
  if (injector.OpenInjectionDevice() != Result::Ok) std::_Exit(3);
  const MacroData keys =
      test::Macro({test::Press(kMacroKey, 0x04), test::Release(kMacroKey, 0x04)});
  if (player.StartRun(0, PackMacro({0, MacroLoopMode::StopOnRelease, 1}), keys) != Result::Ok) {
    std::_Exit(4);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  player.StopRequest(0);
  std::exit(player.StopNow() == Result::Ok ? 0 : 1);
}

TEST(MacroPlayerRealtimeTest, ALoopOfKeysAloneLetsTheProcessLive) {
  RealtimeGrant grant = RealtimeGrant::Refused;
  std::jthread([&] { grant = EnterRealtime("test"); }).join();
  if (grant == RealtimeGrant::Refused) GTEST_SKIP() << "this process may not use real-time";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(PlayKeysAloneThenExit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vexlo
