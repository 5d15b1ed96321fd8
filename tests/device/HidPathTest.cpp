#include "device/HidPath.h"

#include <gtest/gtest.h>

namespace vexlo {
namespace {

struct PathCase {
  const char* path;
  bool isMouse;
  std::uint32_t interfaceNumber;
  std::uint32_t collectionNumber;
};

TEST(HidPathTest, ReadsTheIdentifiersInAnyCase) {
  const PathCase cases[] = {
      {R"(\\?\hid#vid_093a&pid_2533&mi_01&col02#8&1e4a9b2c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})",
       true, 1, 2},
      {R"(\\?\HID#VID_093A&PID_2533&MI_01&COL02#8&1E4A9B2C&0&0001#{4D1E55B2})", true, 1, 2},
      {R"(\\?\hid#Vid_093A&Pid_2533&Col0a#x)", true, 0, 10},
      {R"(\\?\hid#vid_093a&pid_2533#x)", true, 0, 0},
      // Vendor digits beyond 16 bits: compared on the low 16 bits.
      {R"(\\?\hid#vid_1093a&pid_2533#x)", true, 0, 0},
      {R"(\\?\hid#vid_fff093a&pid_12533#x)", true, 0, 0},
      {R"(\\?\hid#vid_093b&pid_2533#x)", false, 0, 0},
      {R"(\\?\hid#vid_093a&pid_2534#x)", false, 0, 0},
      {R"(\\?\hid#vid_&pid_2533#x)", false, 0, 0},
      {R"(\\?\hid#pid_2533#x)", false, 0, 0},
      {"", false, 0, 0},
      {R"(\\?\hid#vid_046d&pid_c31c&mi_0f#x)", false, 15, 0},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(PathNamesDevice(c.path, 0x093A, 0x2533), c.isMouse);
    EXPECT_EQ(InterfaceNumberOf(c.path), c.interfaceNumber);
    EXPECT_EQ(CollectionNumberOf(c.path), c.collectionNumber);
  }
}

TEST(HidPathTest, FirstMarkerCountsAndLongNumbersKeepTheirLow32Bits) {
  EXPECT_EQ(HexNumberAfter("a&mi_02&mi_05", "&mi_"), 2u);
  EXPECT_EQ(HexNumberAfter("vid_123456789", "vid_"), 0x23456789u);
  EXPECT_EQ(HexNumberAfter("VID_ABCDEF", "vid_"), 0xABCDEFu);
  EXPECT_EQ(HexNumberAfter("vid_", "vid_"), 0u);
}

}  // namespace
}  // namespace vexlo
