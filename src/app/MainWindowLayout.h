#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// What the main window is made of: its pages, the frame controls with their control IDs and
// skin keys, which controls each page shows, and the four mouse models.
namespace vexlo {

enum Page : int {
  kPageKeys = 0,
  kPagePerformance = 1,
  kPageLighting = 2,
  kPageLineCorrection = 3,  // its page button is never shown, so it is never reached
  kPageMacro = 4,
  kNoPage = 5,
};
inline constexpr int kPageCount = 5;

// Bit set of pages.
constexpr std::uint8_t PageBit(int page) { return static_cast<std::uint8_t>(1u << page); }

enum class FrameKind { Push, PageButton, ModelRadio, Picture, KeyPicture };

struct FrameControl {
  int id;
  std::string_view key;      // skin key in Main.ini (key pictures: in the model's skin) and,
                             // where a caption shows, its language key
  FrameKind kind;
  std::string_view toolTip;  // language key of the tool tip, or empty
};

// Control IDs of the frame.
inline constexpr int kIdRestore = 1001;
inline constexpr int kIdAbout = 1002;
inline constexpr int kIdMinimize = 1003;
inline constexpr int kIdClose = 1004;
inline constexpr int kIdApply = 1005;
inline constexpr int kIdPageMouse = 1006;
inline constexpr int kIdPageMacro = 1007;
inline constexpr int kIdPageKeys = 1008;
inline constexpr int kIdPagePerformance = 1009;
inline constexpr int kIdPageLighting = 1010;
inline constexpr int kIdPageLineCorrection = 1011;
inline constexpr int kIdFirstKeyPicture = 1028;  // BTN_MOUSE_PIC1 .. 7: 1028 .. 1034
inline constexpr int kIdMousePicture = 1037;
inline constexpr int kIdMousePictureBottom = 1038;
inline constexpr int kIdFirstModelRadio = 1146;  // RAD_DEV1 .. 4: 1146 .. 1149

const std::vector<FrameControl>& FrameControls();

// Which pages show a control; 0 for a control that no page-membership row names.
std::uint8_t PagesOf(int controlId);

// The pages on which a page button is checked.
std::uint8_t CheckedPagesOf(int pageButtonId);

// The page a page button leads to (BTN_MOUSE and BTN_MACRO excluded), or kNoPage.
int PageOfButton(int pageButtonId);

struct DeviceModel {
  std::string_view skinFile;  // in the skin folder
  int deviceKind;             // the kind of mouse (1 or 2) that admits this model
};
inline constexpr int kModelCount = 4;
const std::array<DeviceModel, kModelCount>& DeviceModels();

// The page skins of pages 1 to 4, in page order.
inline constexpr std::array<std::string_view, 4> kPageSkinFiles = {"Adv.ini", "Light.ini",
                                                                   "LineCor.ini", "Macro.ini"};

}  // namespace vexlo
