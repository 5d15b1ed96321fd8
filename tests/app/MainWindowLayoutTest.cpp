#include "app/MainWindowLayout.h"
#include "engine/DeviceEventService.h"

#include <gtest/gtest.h>

#include <set>

namespace vexlo {
namespace {

TEST(MainWindowLayoutTest, PagesShowTheirOwnControls) {
  EXPECT_EQ(PagesOf(1005), PageBit(0) | PageBit(1) | PageBit(3));  // Apply
  EXPECT_EQ(PagesOf(1018), PageBit(0) | PageBit(1) | PageBit(3));  // profile link button
  EXPECT_EQ(PagesOf(1001), PageBit(0));                            // Restore
  EXPECT_EQ(PagesOf(1022), PageBit(0));                            // key button 4
  EXPECT_EQ(PagesOf(1034), PageBit(0));                            // key picture 7
  EXPECT_EQ(PagesOf(1037), PageBit(0) | PageBit(2));               // mouse picture
  EXPECT_EQ(PagesOf(1038), PageBit(0) | PageBit(2));
  EXPECT_EQ(PagesOf(1081), PageBit(1));                            // report rate
  EXPECT_EQ(PagesOf(1129), PageBit(3));                            // line correction
  EXPECT_EQ(PagesOf(1017), PageBit(4));                            // macro list
  EXPECT_EQ(PagesOf(1122), PageBit(4));
  EXPECT_EQ(PagesOf(1002), 0);  // about: on every page
  EXPECT_EQ(PagesOf(1146), 0);  // model choice: on every page
}

TEST(MainWindowLayoutTest, PageButtonsAreCheckedOnTheirPages) {
  EXPECT_EQ(CheckedPagesOf(kIdPageMouse), PageBit(0) | PageBit(1) | PageBit(2) | PageBit(3));
  EXPECT_EQ(CheckedPagesOf(kIdPageMacro), PageBit(4));
  EXPECT_EQ(CheckedPagesOf(kIdPageKeys), PageBit(0));
  EXPECT_EQ(CheckedPagesOf(kIdPagePerformance), PageBit(1));
  EXPECT_EQ(CheckedPagesOf(kIdPageLighting), PageBit(2));
  EXPECT_EQ(CheckedPagesOf(kIdPageLineCorrection), PageBit(3));
  EXPECT_EQ(PageOfButton(kIdPageMouse), kNoPage);
  EXPECT_EQ(PageOfButton(kIdPageMacro), kNoPage);
}

TEST(MainWindowLayoutTest, FrameControlsHaveUniqueIdsAndKeys) {
  std::set<int> ids;
  std::set<std::string_view> keys;
  for (const FrameControl& control : FrameControls()) {
    EXPECT_TRUE(ids.insert(control.id).second) << control.id;
    EXPECT_TRUE(keys.insert(control.key).second) << control.key;
  }
  EXPECT_EQ(FrameControls().size(), 24u);
}

struct NarrowCase {
  std::uint32_t model;
  int kind;
  std::uint32_t narrowed;
};

class NarrowModelTest : public testing::TestWithParam<NarrowCase> {};

TEST_P(NarrowModelTest, AMouseAdmitsTwoModels) {
  EXPECT_EQ(NarrowModel(GetParam().model, GetParam().kind), GetParam().narrowed);
  EXPECT_EQ(DeviceModels()[GetParam().narrowed].deviceKind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Models, NarrowModelTest,
    testing::Values(NarrowCase{0, 1, 0}, NarrowCase{1, 1, 3}, NarrowCase{2, 1, 3},
                    NarrowCase{3, 1, 3}, NarrowCase{7, 1, 3}, NarrowCase{0, 2, 1},
                    NarrowCase{1, 2, 1}, NarrowCase{2, 2, 2}, NarrowCase{3, 2, 1},
                    NarrowCase{4294967295u, 2, 1}));

}  // namespace
}  // namespace vexlo
