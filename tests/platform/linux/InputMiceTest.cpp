// The mice that the desktop's input stack drives, as udev lists them, with the mouse emulated by
// umockdev.
#include <gtest/gtest.h>

#include "EmulatedMouse.h"
#include "platform/linux/UdevDevices.h"

namespace vexlo {
namespace {

TEST(InputMiceTest, TheMouseIsListedByTheIdsAndNameOfItsInputDevice) {
  test::EmulatedMouse mouse;
  const std::vector<InputPointer> mice{{0x093A, 0x2533, test::EmulatedMouse::kPointerName}};
  EXPECT_EQ(ListMice(), mice);
  mouse.Unplug();
  EXPECT_TRUE(ListMice().empty());
}

}  // namespace
}  // namespace vexlo
