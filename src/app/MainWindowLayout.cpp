#include "app/MainWindowLayout.h"

#include <algorithm>

namespace vexlo {
namespace {

struct PageRow {
  std::uint8_t pages;
  std::vector<int> ids;
};

const std::vector<PageRow>& PageMembership() {
  static const std::vector<PageRow> rows = {
      // Apply and the profile panel.
      {PageBit(kPageKeys) | PageBit(kPagePerformance) | PageBit(kPageLineCorrection),
       {1005, 1075, 1013, 1014, 1015, 1016, 1078, 1103, 1102, 1018}},
      // Restore, the key buttons and the key pictures.
      {PageBit(kPageKeys),
       {1001, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1028, 1029, 1030, 1031, 1032, 1033, 1034}},
      // The mouse pictures.
      {PageBit(kPageKeys) | PageBit(kPageLighting), {1037, 1038}},
      // The performance controls.
      {PageBit(kPagePerformance),
       {1126, 1127, 1132, 1133, 1134, 1049, 1050, 1080, 1047, 1048, 1081, 1051, 1104, 1105, 1106,
        1107, 1052}},
      // The line-correction controls.
      {PageBit(kPageLineCorrection), {1071, 1128, 1076, 1129, 1077}},
      // The macro controls.
      {PageBit(kPageMacro),
       {1112, 1017, 1113, 1114, 1115, 1116, 1117, 1012, 1118, 1119, 1120, 1121, 1108, 1123, 1124,
        1110, 1111, 1125, 1109, 1122}},
  };
  return rows;
}

}  // namespace

const std::vector<FrameControl>& FrameControls() {
  static const std::vector<FrameControl> controls = {
      {kIdAbout, "BTN_ABOUT", FrameKind::Push, "BTN_ABOUT_TIP"},
      {kIdMinimize, "BTN_MINIMIZE", FrameKind::Push, "BTN_MIN_TIP"},
      {kIdClose, "BTN_CLOSE", FrameKind::Push, "BTN_CLOSE_TIP"},
      {kIdApply, "BTN_APPLY", FrameKind::Push, ""},
      {kIdRestore, "BTN_RESTORE", FrameKind::Push, ""},
      {1146, "RAD_DEV1", FrameKind::ModelRadio, ""},
      {1147, "RAD_DEV2", FrameKind::ModelRadio, ""},
      {1148, "RAD_DEV3", FrameKind::ModelRadio, ""},
      {1149, "RAD_DEV4", FrameKind::ModelRadio, ""},
      {kIdPageMouse, "BTN_MOUSE", FrameKind::PageButton, ""},
      {kIdPageMacro, "BTN_MACRO", FrameKind::PageButton, ""},
      {kIdPageKeys, "BTN_MOUSE_KEY", FrameKind::PageButton, ""},
      {kIdPagePerformance, "BTN_MOUSE_ADV", FrameKind::PageButton, ""},
      {kIdPageLighting, "BTN_MOUSE_LIGHT", FrameKind::PageButton, ""},
      {kIdPageLineCorrection, "BTN_MOUSE_LINE_COR", FrameKind::PageButton, ""},
      {kIdMousePicture, "BTN_MOUSE_PIC0", FrameKind::Picture, ""},
      {kIdMousePictureBottom, "BTN_MOUSE_PIC0B", FrameKind::Picture, ""},
      {1028, "BTN_MOUSE_PIC1", FrameKind::KeyPicture, ""},
      {1029, "BTN_MOUSE_PIC2", FrameKind::KeyPicture, ""},
      {1030, "BTN_MOUSE_PIC3", FrameKind::KeyPicture, ""},
      {1031, "BTN_MOUSE_PIC4", FrameKind::KeyPicture, ""},
      {1032, "BTN_MOUSE_PIC5", FrameKind::KeyPicture, ""},
      {1033, "BTN_MOUSE_PIC6", FrameKind::KeyPicture, ""},
      {1034, "BTN_MOUSE_PIC7", FrameKind::KeyPicture, ""},
  };
  return controls;
}

std::uint8_t PagesOf(int controlId) {
  for (const PageRow& row : PageMembership()) {
    if (std::find(row.ids.begin(), row.ids.end(), controlId) != row.ids.end()) return row.pages;
  }
  return 0;
}

std::uint8_t CheckedPagesOf(int pageButtonId) {
  switch (pageButtonId) {
    case kIdPageMouse:
      return PageBit(kPageKeys) | PageBit(kPagePerformance) | PageBit(kPageLighting) |
             PageBit(kPageLineCorrection);
    case kIdPageMacro: return PageBit(kPageMacro);
    default: {
      const int page = PageOfButton(pageButtonId);
      return page == kNoPage ? 0 : PageBit(page);
    }
  }
}

int PageOfButton(int pageButtonId) {
  switch (pageButtonId) {
    case kIdPageKeys: return kPageKeys;
    case kIdPagePerformance: return kPagePerformance;
    case kIdPageLighting: return kPageLighting;
    case kIdPageLineCorrection: return kPageLineCorrection;
    default: return kNoPage;
  }
}

const std::array<DeviceModel, kModelCount>& DeviceModels() {
  static const std::array<DeviceModel, kModelCount> models = {{
      {"Kobal.ini", 1},
      {"Pirul.ini", 2},
      {"Sorna.ini", 2},
      {"Zefta.ini", 1},
  }};
  return models;
}

}  // namespace vexlo
