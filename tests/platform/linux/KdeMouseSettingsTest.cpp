#include "platform/linux/KdeMouseSettings.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace vexlo {
namespace {

using test::ReadFile;
using test::WriteFile;

// KDE's files in a private configuration folder.
class KdeMouseSettingsTest : public testing::Test {
 protected:
  test::TempFolder config;
  std::string globals = config / "kdeglobals";
  std::string input = config / "kcminputrc";
};

TEST_F(KdeMouseSettingsTest, WithoutFilesPlasmasDefaultsAreRead) {
  KdeMouseSettings settings(config.path());
  std::uint32_t time = 0, speed = 0, lines = 0;
  ASSERT_EQ(settings.GetDoubleClickTime(time), Result::Ok);
  ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
  ASSERT_EQ(settings.GetWheelScrollLines(lines), Result::Ok);
  EXPECT_EQ(time, 400u);
  EXPECT_EQ(speed, 10u);
  EXPECT_EQ(lines, 3u);
}

TEST_F(KdeMouseSettingsTest, EveryValueComesBackAndTheOtherLinesStay) {
  WriteFile(globals, "[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\n");
  KdeMouseSettings settings(config.path());
  for (std::uint32_t speed = 1; speed <= 20; ++speed) {
    ASSERT_EQ(settings.SetPointerSpeed(speed), Result::Ok);
    std::uint32_t read = 0;
    ASSERT_EQ(settings.GetPointerSpeed(read), Result::Ok);
    EXPECT_EQ(read, speed);
  }
  for (std::uint32_t lines : {1u, 3u, 100u}) {
    ASSERT_EQ(settings.SetWheelScrollLines(lines), Result::Ok);
    std::uint32_t read = 0;
    ASSERT_EQ(settings.GetWheelScrollLines(read), Result::Ok);
    EXPECT_EQ(read, lines);
  }
  ASSERT_EQ(settings.SetDoubleClickTime(830), Result::Ok);
  EXPECT_EQ(ReadFile(globals),
            "[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\n"
            "WheelScrollLines=100\nDoubleClickInterval=830\n");
  EXPECT_EQ(ReadFile(input), "[Mouse]\nXLbInptPointerAcceleration=1.000\n");
}

TEST_F(KdeMouseSettingsTest, PlasmaHasNoScreenPerNotch) {
  KdeMouseSettings settings(config.path());
  EXPECT_EQ(settings.SetWheelScrollLines(SystemMouseSettings::kWheelScrollsPage),
            Result::NotSupported);
}

TEST_F(KdeMouseSettingsTest, TheEndPutsBackWhatWasChangedAsItWasBefore) {
  const std::string before = "[KDE]\nDoubleClickInterval=420\n";
  WriteFile(globals, before);
  WriteFile(input, "[Mouse]\nXLbInptPointerAcceleration=0.37\n");
  {
    KdeMouseSettings settings(config.path());
    std::uint32_t speed = 0;
    ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
    EXPECT_EQ(speed, 14u);
    ASSERT_EQ(settings.SetDoubleClickTime(550), Result::Ok);
    ASSERT_EQ(settings.SetPointerSpeed(10), Result::Ok);
  }
  EXPECT_EQ(ReadFile(globals), before);  // the wheel lines were never changed
  EXPECT_EQ(ReadFile(input), "[Mouse]\nXLbInptPointerAcceleration=0.37\n");
}

TEST_F(KdeMouseSettingsTest, AKeyThatWasAbsentIsRemovedAgainWithAGroupItLeavesEmpty) {
  WriteFile(globals, "[General]\nColorScheme=Breeze\n");
  {
    KdeMouseSettings settings(config.path());
    ASSERT_EQ(settings.SetWheelScrollLines(9), Result::Ok);
    EXPECT_EQ(ReadFile(globals), "[General]\nColorScheme=Breeze\n\n[KDE]\nWheelScrollLines=9\n");
  }
  EXPECT_EQ(ReadFile(globals), "[General]\nColorScheme=Breeze\n");
}

// KDE programs read the mouse settings again when KGlobalSettings says so on the session bus.
TEST_F(KdeMouseSettingsTest, EveryChangeIsAnnouncedOnTheSessionBus) {
  if (!std::filesystem::exists("/usr/bin/dbus-daemon")) {
    GTEST_SKIP() << "needs dbus-daemon (Debian package dbus)";
  }
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  test::ChildProcess daemon("/usr/bin/dbus-daemon",
                            {"--session", "--nofork", "--nopidfile", "--print-address=1"}, {},
                            fds[1]);
  ::close(fds[1]);
  std::string address;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') address += c;
  ::close(fds[0]);
  ASSERT_FALSE(address.empty());
  ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);

  GDBusConnection* listener = g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, nullptr);
  ASSERT_NE(listener, nullptr);
  std::vector<std::pair<int, int>> heard;
  const guint subscription = g_dbus_connection_signal_subscribe(
      listener, nullptr, "org.kde.KGlobalSettings", "notifyChange", "/KGlobalSettings", nullptr,
      G_DBUS_SIGNAL_FLAGS_NONE,
      [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
         GVariant* parameters, gpointer data) {
        int type = 0, category = 0;
        g_variant_get(parameters, "(ii)", &type, &category);
        static_cast<std::vector<std::pair<int, int>>*>(data)->emplace_back(type, category);
      },
      &heard, nullptr);
  // A call answered after the subscription means the bus has it.
  GVariant* id = g_dbus_connection_call_sync(
      listener, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId",
      nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
  ASSERT_NE(id, nullptr);
  g_variant_unref(id);

  {
    KdeMouseSettings settings(config.path());
    ASSERT_EQ(settings.SetDoubleClickTime(600), Result::Ok);
    ASSERT_EQ(settings.SetDoubleClickTime(600), Result::Ok);  // no change, nothing to tell
  }                                                           // and the value put back
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        return heard.size() >= 2;
      },
      std::chrono::seconds(20)));
  EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{3, 0}, {3, 0}}));
  g_dbus_connection_signal_unsubscribe(listener, subscription);
  g_object_unref(listener);
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

// Plasma's Wayland session: KWin's own group per input device, its defaults for the others.
class KdeWaylandTest : public KdeMouseSettingsTest {
 protected:
  std::vector<InputPointer> mice{{0x093A, 0x2533, "PixArt [Gaming] Mouse"},
                                 {0x046D, 0xC077, "Logitech USB Optical Mouse"}};
  KdeMouseSettings::PointerLister lister = [this] { return mice; };
};

TEST_F(KdeWaylandTest, EverySpeedGoesToEachMouseAndTheDefaultsAndComesBack) {
  KdeMouseSettings settings(config.path(), lister);
  std::uint32_t speed = 0;
  ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
  EXPECT_EQ(speed, 10u);  // libinput's neutral acceleration where nothing is written
  for (std::uint32_t s = 1; s <= 20; ++s) {
    ASSERT_EQ(settings.SetPointerSpeed(s), Result::Ok);
    ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
    EXPECT_EQ(speed, s);
  }
  ASSERT_EQ(settings.SetPointerSpeed(5), Result::Ok);
  // IDs in decimal; a bracket in a device name is escaped as KDE escapes it.
  EXPECT_EQ(ReadFile(input),
            "[Libinput][2362][9523][PixArt \\x5bGaming\\x5d Mouse]\nPointerAcceleration=-0.556\n"
            "\n[Libinput][1133][49271][Logitech USB Optical Mouse]\nPointerAcceleration=-0.556\n"
            "\n[Libinput][Defaults][Pointer]\nPointerAcceleration=-0.556\n");
}

TEST_F(KdeWaylandTest, TheFirstMouseTellsTheSpeedAndTheEndPutsEveryGroupBack) {
  const std::string before =
      "[Libinput][2362][9523][PixArt \\x5bGaming\\x5d Mouse]\nNaturalScroll=true\n\n"
      "[Libinput][1133][49271][Logitech USB Optical Mouse]\nPointerAcceleration=0.37\n\n"
      "[Libinput][Defaults][Pointer]\nPointerAcceleration=-0.2\n";
  WriteFile(input, before);
  {
    KdeMouseSettings settings(config.path(), lister);
    std::uint32_t speed = 0;
    ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
    EXPECT_EQ(speed, 8u);  // the first mouse has no value of its own: the defaults' -0.2
    mice.erase(mice.begin());
    ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
    EXPECT_EQ(speed, 14u);
    // Written back, a value that reads as the speed stays as it was.
    ASSERT_EQ(settings.SetPointerSpeed(14), Result::Ok);
    EXPECT_NE(ReadFile(input).find("PointerAcceleration=0.37\n"), std::string::npos);
    mice.insert(mice.begin(), {0x093A, 0x2533, "PixArt [Gaming] Mouse"});
    ASSERT_EQ(settings.SetPointerSpeed(20), Result::Ok);
    ASSERT_EQ(settings.GetPointerSpeed(speed), Result::Ok);
    EXPECT_EQ(speed, 20u);
  }
  EXPECT_EQ(ReadFile(input), before);
}

}  // namespace
}  // namespace vexlo
