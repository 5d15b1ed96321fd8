// The entry of the test programs that need umockdev's emulation.
#include <gtest/gtest.h>

#include "UmockdevPreload.h"

int main(int argc, char** argv) {
  vexlo::test::StartUnderUmockdev(argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
