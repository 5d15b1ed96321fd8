// The simulated machine behind vexlo-sim's socket: the server and the client of the program.

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstring>
#include <filesystem>
#include <thread>

#include "Inbox.h"
#include "SimTestSupport.h"
#include "TempFolder.h"
#include "device/DeviceLink.h"
#include "device/DriverInterface.h"
#include "platform/linux/UnixSocket.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimServer.h"

namespace vexlo {
namespace {

using test::Inbox;
using ButtonEvent = std::pair<int, std::uint16_t>;

class SimSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartServer(SimState{});
    AddSimPorts(platform_, client_);
  }

  void StartServer(SimState state) {
    sim_ = std::make_shared<SimEnvironment>(std::move(state));
    server_ = std::make_unique<SimServer>(sim_, socket_);
    ASSERT_EQ(server_->Start(), Result::Ok);
  }

  void StopServer() {
    server_->RequestStop();
    server_->WaitUntilStopped();
  }

  test::TempFolder folder_;
  std::string socket_ = folder_ / "vexlo-sim.sock";
  std::shared_ptr<SimEnvironment> sim_;
  std::unique_ptr<SimServer> server_;
  std::shared_ptr<SimClient> client_ = std::make_shared<SimClient>(socket_);
  Platform platform_;
  Inbox<ButtonEvent> events_;  // outlives the link
};

TEST_F(SimSocketTest, TheLinkWorksThroughTheSocket) {
  DeviceLink link(*platform_.devices, *platform_.hid);
  link.SetEventCallback([this](int pressed, std::uint16_t code) { events_.Add({pressed, code}); });
  ASSERT_EQ(link.Open(), Result::Ok);
  EXPECT_EQ(link.ModelVariant(), 2);
  EXPECT_EQ(link.RegisterCache()[0x17], 0xB7);
  EXPECT_EQ(link.Collection().DriverKey(), test::kMouseDriverKey);
  SimState state = sim_->State();
  EXPECT_EQ(state.mouse.sessionKey, 0x5A);
  EXPECT_EQ(state.hidFilter.translationTable.size(), 640u);
  EXPECT_EQ(state.open.hidFilter + state.open.mouseFilter + state.open.hidCollections, 3);

  // A host-reported button and an intercepted one.
  const std::uint8_t reg = link.ButtonRegisters()[6];
  ASSERT_EQ(link.WriteRegister(reg, (link.RegisterCache()[reg] & 0xE0) | 0x13), Result::Ok);
  std::vector<std::uint8_t> table(144, 0x00);
  table[4 * 24] = 0x01;  // middle down
  const auto value = static_cast<std::uint64_t>(link.EventDriverValue(4));
  for (std::size_t i = 0; i < 8; ++i)
    table[4 * 24 + 16 + i] = static_cast<std::uint8_t>(value >> (8 * i));
  ASSERT_EQ(link.MouseFilterControl(kIoctlButtonInterception, table), Result::Ok);
  ASSERT_EQ(sim_->Press(6), Result::Ok);
  EXPECT_EQ(events_.WaitFor(1).back(), (ButtonEvent{1, 0x17}));
  ASSERT_EQ(sim_->Press(2), Result::Ok);
  EXPECT_EQ(events_.WaitFor(2).back(), (ButtonEvent{1, 0x13}));

  // Pulled out: the reader ends, the probe says gone.
  ASSERT_EQ(sim_->Unplug(), Result::Ok);
  EXPECT_EQ(events_.WaitFor(3).back(), (ButtonEvent{0, 0x00}));
  EXPECT_FALSE(link.IsMousePresent());
  ASSERT_EQ(sim_->Plug(), Result::Ok);
  EXPECT_EQ(link.Open(), Result::Ok);

  (void)link.Close();
  EXPECT_EQ(sim_->State().mouse.sessionKey, 0x00);
}

TEST_F(SimSocketTest, WhenVexloSimEndsTheMouseIsGoneAndTheDriversWithIt) {
  DeviceLink link(*platform_.devices, *platform_.hid);
  link.SetEventCallback([this](int pressed, std::uint16_t code) { events_.Add({pressed, code}); });
  ASSERT_EQ(link.Open(), Result::Ok);
  StopServer();
  EXPECT_EQ(events_.WaitFor(1), (std::vector<ButtonEvent>{{0, 0x00}}));
  EXPECT_FALSE(link.IsMousePresent());
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadRegister(0x00, value), Result::DeviceNotConnected);
  EXPECT_EQ(link.Open(), Result::DriverUnavailable);
  EXPECT_FALSE(std::filesystem::exists(socket_));

  // Started again, it is found again.
  StartServer(SimState{});
  EXPECT_EQ(link.Open(), Result::Ok);
  EXPECT_TRUE(link.IsMousePresent());
}

TEST_F(SimSocketTest, TheDesktopComesFromVexloSim) {
  sim_->SetForeground("/usr/games/arena");
  EXPECT_EQ(platform_.foreground->ForegroundImagePath(), "/usr/games/arena");
  ASSERT_EQ(platform_.mouseSettings->SetPointerSpeed(17), Result::Ok);
  EXPECT_EQ(platform_.mouseSettings->SetPointerSpeed(0), Result::InvalidParameter);
  EXPECT_EQ(sim_->State().desktop.pointer.pointerSpeed, 17u);
  std::uint32_t lines = 0;
  ASSERT_EQ(platform_.mouseSettings->GetWheelScrollLines(lines), Result::Ok);
  EXPECT_EQ(lines, 3u);
}

TEST_F(SimSocketTest, CommandsFollowingAndStopping) {
  std::string output;
  const std::vector<std::string> press = {"press", "4"};
  ASSERT_EQ(client_->RunCommand(press, output), Result::Ok);
  EXPECT_EQ(output, "buttons held: 4 (back)");
  const std::vector<std::string> unknown = {"juggle"};
  EXPECT_EQ(client_->RunCommand(unknown, output), Result::InvalidParameter);

  // Something is typed before and after the follower starts: it hears both.
  std::unique_ptr<HidDevice> injection;
  ASSERT_EQ(platform_.devices->OpenHid(test::kInjectionDevice, {.write = true}, injection),
            Result::Ok);
  ASSERT_EQ(injection->WriteOutputReport(test::InjectionReport({0x06, 0x04, 0x04})), Result::Ok);
  SimClient follower(socket_);
  Inbox<std::string> lines;
  ASSERT_EQ(follower.Follow([&lines](std::string_view line) { lines.Add(std::string(line)); }),
            Result::Ok);
  ASSERT_EQ(injection->WriteOutputReport(test::InjectionReport({0x06, 0x05, 0xE9, 0x00})),
            Result::Ok);
  EXPECT_EQ(lines.WaitFor(2), (std::vector<std::string>{"key down A", "consumer down Volume Up (0x00E9)"}));

  ASSERT_EQ(client_->RequestStop(), Result::Ok);
  server_->WaitUntilStopped();
  follower.WaitUntilDisconnected();
  EXPECT_FALSE(std::filesystem::exists(socket_));
}

TEST_F(SimSocketTest, EndpointsCloseWithTheirConnection) {
  {
    test::RecordingListener listener;
    SimClient other(socket_);
    SimEndpointId id = 0;
    SimHidInfo info;
    ASSERT_EQ(other.OpenDriver("hidfiltr_QN5K8W", listener, id), Result::Ok);
    ASSERT_EQ(other.OpenHid(test::kButtonCollection, {}, listener, id, info), Result::Ok);
    EXPECT_EQ(sim_->State().open.hidCollections, 1);
  }  // gone without closing them, as a program that ends
  // The server reads the end of that connection before this client's request.
  std::string output;
  const std::vector<std::string> status = {"status"};
  ASSERT_EQ(client_->RunCommand(status, output), Result::Ok);
  EXPECT_EQ(sim_->State().open.hidFilter, 0);
  EXPECT_EQ(sim_->State().open.hidCollections, 0);
}

TEST_F(SimSocketTest, AClientThatSpeaksNonsenseIsDropped) {
  UniqueFd raw;
  ASSERT_EQ(ConnectTo(socket_, raw), Result::Ok);
  const std::string junk(64, 'z');
  ASSERT_EQ(SendAll(raw.get(), std::as_bytes(std::span(junk))), Result::Ok);
  std::array<std::byte, 1> answer{};
  EXPECT_EQ(ReceiveExactly(raw.get(), answer, test::kPatience), Result::DeviceNotConnected);
  std::string output;
  const std::vector<std::string> status = {"status"};
  EXPECT_EQ(client_->RunCommand(status, output), Result::Ok);  // the others are still served
}

TEST_F(SimSocketTest, ASecondServerOnTheSameSocketIsRefused) {
  SimServer second(std::make_shared<SimEnvironment>(), socket_);
  EXPECT_EQ(second.Start(), Result::AlreadyExists);
}

TEST(SimClientAloneTest, AnEndpointNumberTooLargeToCloseIsRefused) {
  test::TempFolder folder;
  const std::string path = folder / "odd.sock";
  UniqueFd listener;
  ASSERT_EQ(ListenAt(path, listener), Result::Ok);
  // A vexlo-sim that answers the open with a number wider than an endpoint id keeps.
  std::thread server([&listener] {
    UniqueFd connection(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
    std::array<std::byte, sizeof(SimFrameHeader)> header{};
    SimFrameHeader request;
    if (ReceiveExactly(connection.get(), header, test::kPatience) != Result::Ok) return;
    std::memcpy(&request, header.data(), sizeof request);
    std::vector<std::byte> name(request.length);
    if (ReceiveExactly(connection.get(), name, test::kPatience) != Result::Ok) return;
    SimFrame answer = MakeFrame(SimFrameType::Response, std::uint64_t{1} << 40);
    answer.header.sequence = request.sequence;
    std::vector<std::uint8_t> bytes;
    AppendFrame(answer, bytes);
    (void)SendAll(connection.get(), std::as_bytes(std::span(bytes)));
  });
  auto client = std::make_shared<SimClient>(path);
  Platform platform;
  AddSimPorts(platform, client);
  std::unique_ptr<DriverEndpoint> driver;
  EXPECT_EQ(platform.devices->OpenDriver(kHidFilterName, driver), Result::BadData);
  EXPECT_EQ(driver, nullptr);
  server.join();  // the connection ends with no listener left behind
  client->WaitUntilDisconnected();
}

TEST(SimClientAloneTest, WithoutVexloSimThereIsNoMouseButTheDesktopWorks) {
  test::TempFolder folder;
  auto client = std::make_shared<SimClient>(folder / "nobody.sock");
  Platform platform;
  AddSimPorts(platform, client);
  EXPECT_EQ(client->Connect(), Result::FileNotFound);

  DeviceLink link(*platform.devices, *platform.hid);
  EXPECT_EQ(link.Open(), Result::DriverUnavailable);
  std::vector<std::string> paths;
  ASSERT_EQ(platform.hid->ListInterfacePaths(paths), Result::Ok);
  for (const std::string& path : paths) EXPECT_EQ(path.find("pid_2533"), std::string::npos);

  std::uint32_t value = 0;
  ASSERT_EQ(platform.mouseSettings->GetDoubleClickTime(value), Result::Ok);
  EXPECT_EQ(value, 500u);
  ASSERT_EQ(platform.mouseSettings->SetDoubleClickTime(333), Result::Ok);
  ASSERT_EQ(platform.mouseSettings->GetDoubleClickTime(value), Result::Ok);
  EXPECT_EQ(value, 333u);
  EXPECT_EQ(platform.foreground->ForegroundImagePath(), std::nullopt);

  std::string output;
  const std::vector<std::string> status = {"status"};
  EXPECT_EQ(client->RunCommand(status, output), Result::DeviceNotConnected);
  client->WaitUntilDisconnected();  // returns at once
}

}  // namespace
}  // namespace vexlo
