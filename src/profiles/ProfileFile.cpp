#include "profiles/ProfileFile.h"

#include <string>

#include "common/IniDocument.h"
#include "common/IniFile.h"
#include "common/Text.h"

namespace vexlo {
namespace {

constexpr std::string_view kSection = "Setting";

std::string Indexed(std::string_view key, int index) {
  return std::string(key) + std::to_string(index);
}

// Collects the keys of one write and stores them in a single atomic replacement of the file.
class ProfileWriter {
 public:
  // Keys are written into what the file holds unless `whole` replaces it with them alone.
  explicit ProfileWriter(const std::filesystem::path& file, bool whole = false) : file_(file) {
    result_ = whole ? Result::Ok : LoadIniForUpdate(file, doc_);
  }

  void Number(std::string_view key, std::uint32_t value) { Text(key, std::to_string(value)); }
  void Text(std::string_view key, std::string_view value) {
    if (result_ == Result::Ok) result_ = doc_.Set(kSection, key, value);
  }
  [[nodiscard]] Result Commit() { return result_ == Result::Ok ? doc_.Save(file_) : result_; }

 private:
  const std::filesystem::path& file_;
  IniDocument doc_;
  Result result_;
};

void WriteButton(ProfileWriter& writer, int button, std::uint8_t code, std::uint32_t parameter,
                 std::string_view extension) {
  writer.Number(Indexed("pbyKeySet", button), code);
  writer.Number(Indexed("pdwKeyParameter", button), parameter);
  writer.Text(Indexed("ppszKeyExt", button),
              CodeUsesExtension(code) ? TruncateToBuffer(extension) : std::string());
}

void WriteLightingKeys(ProfileWriter& writer, std::uint32_t colour, std::uint8_t brightness,
                       std::uint8_t speed, std::uint8_t mode, std::uint8_t parameter,
                       const std::array<std::uint8_t, kDpiLevelCount>& colourIndexes) {
  writer.Number("crLight", colour);
  writer.Number("byLightBrightness", brightness);
  writer.Number("byLightSpeed", speed);
  writer.Number("byLightMode", mode);
  writer.Number("byLightParameter", parameter);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    writer.Number(Indexed("pbyCpiColorIdx", level), colourIndexes[static_cast<std::size_t>(level)]);
  }
}

Result WriteOneNumber(const std::filesystem::path& file, std::string_view key,
                      std::uint32_t value) {
  return WriteIniUnsigned(kSection, key, value, file);
}

void ReadDevice(const IniDocument& doc, DeviceSettings& device) {
  const auto u8 = [&](std::string_view key, std::uint8_t fallback) {
    return static_cast<std::uint8_t>(doc.GetUnsigned(kSection, key, fallback));
  };
  DeviceSettings defaults;
  FillDefaults(defaults);
  DeviceSettings read = defaults;
  for (int i = 0; i < kButtonCount; ++i) {
    const auto b = static_cast<std::size_t>(i);
    read.pbyKeySet[b] = u8(Indexed("pbyKeySet", i), defaults.pbyKeySet[b]);
    read.pdwKeyParameter[b] =
        doc.GetUnsigned(kSection, Indexed("pdwKeyParameter", i), defaults.pdwKeyParameter[b]);
    read.ppszKeyExt[b] =
        CodeUsesExtension(read.pbyKeySet[b])
            ? TruncateToBuffer(doc.GetString(kSection, Indexed("ppszKeyExt", i), ""))
            : std::string();
  }
  for (int level = 0; level < kDpiLevelCount; ++level) {
    const auto l = static_cast<std::size_t>(level);
    read.pwDpi[l] = static_cast<std::uint16_t>(
        doc.GetUnsigned(kSection, Indexed("pwDpi", level), defaults.pwDpi[l]));
  }
  read.byCurDpiLevel = u8("byCurDpiLevel", defaults.byCurDpiLevel);
  read.byReportRateIndex = u8("byReportRateIndex", defaults.byReportRateIndex);
  read.crLight = doc.GetUnsigned(kSection, "crLight", defaults.crLight);
  read.byLightBrightness = u8("byLightBrightness", defaults.byLightBrightness);
  read.byLightSpeed = u8("byLightSpeed", defaults.byLightSpeed);
  read.byLightMode = u8("byLightMode", defaults.byLightMode);
  read.byLightParameter = u8("byLightParameter", defaults.byLightParameter);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    const auto l = static_cast<std::size_t>(level);
    read.pbyCpiColorIdx[l] = u8(Indexed("pbyCpiColorIdx", level), defaults.pbyCpiColorIdx[l]);
  }
  read.byLineCor = u8("byLineCor", defaults.byLineCor);
  ClampToValidRanges(read);
  device = std::move(read);
}

}  // namespace

Result ReadProfile(const std::filesystem::path& file, DeviceSettings* device,
                   WindowsSettings* windows, LinkSettings* link) {
  IniDocument doc;
  (void)doc.Load(file);  // an unreadable file has no marker and is refused below
  if (doc.GetUnsigned(kSection, "nFlag", 0) != kProfileMarker) return Result::NotAProfile;
  if (device) ReadDevice(doc, *device);
  if (windows) {
    WindowsSettings defaults;
    FillDefaults(defaults);
    windows->uMouseSpeed =
        ClampPointerSpeed(doc.GetUnsigned(kSection, "uMouseSpeed", defaults.uMouseSpeed));
    windows->uWheelScrollLines = ClampWheelScrollLines(
        doc.GetUnsigned(kSection, "uWheelScrollLines", defaults.uWheelScrollLines));
  }
  if (link) {
    link->bLinkProgram = doc.GetUnsigned(kSection, "bLinkProgram", 0);
    link->szLinkPath = TruncateToBuffer(doc.GetString(kSection, "szLinkPath", ""));
  }
  return Result::Ok;
}

namespace {

Result WriteParts(ProfileWriter& writer, const DeviceSettings* device,
                  const WindowsSettings* windows, const LinkSettings* link) {
  if (device) {
    for (int i = 0; i < kButtonCount; ++i) {
      const auto b = static_cast<std::size_t>(i);
      WriteButton(writer, i, device->pbyKeySet[b], device->pdwKeyParameter[b],
                  device->ppszKeyExt[b]);
    }
    for (int level = 0; level < kDpiLevelCount; ++level) {
      writer.Number(Indexed("pwDpi", level), device->pwDpi[static_cast<std::size_t>(level)]);
    }
    writer.Number("byCurDpiLevel", device->byCurDpiLevel);
    writer.Number("byReportRateIndex", device->byReportRateIndex);
    WriteLightingKeys(writer, device->crLight, device->byLightBrightness, device->byLightSpeed,
                      device->byLightMode, device->byLightParameter, device->pbyCpiColorIdx);
    writer.Number("byLineCor", device->byLineCor);
  }
  if (windows) {
    writer.Number("uDoubleClickTime", windows->uDoubleClickTime);
    writer.Number("uMouseSpeed", windows->uMouseSpeed);
    writer.Number("uWheelScrollLines", windows->uWheelScrollLines);
  }
  if (link) {
    writer.Number("bLinkProgram", link->bLinkProgram);
    writer.Text("szLinkPath", link->bLinkProgram ? TruncateToBuffer(link->szLinkPath) : "");
  }
  if (device && windows) writer.Number("nFlag", kProfileMarker);
  return writer.Commit();
}

}  // namespace

Result WriteProfile(const std::filesystem::path& file, const DeviceSettings* device,
                    const WindowsSettings* windows, const LinkSettings* link) {
  ProfileWriter writer(file);
  return WriteParts(writer, device, windows, link);
}

Result WriteWholeProfile(const std::filesystem::path& file, const ProfileData& profile) {
  ProfileWriter writer(file, true);
  return WriteParts(writer, &profile.device, &profile.windows, &profile.link);
}

Result WriteKeyAssignment(const std::filesystem::path& file, int button, std::uint8_t code,
                          std::uint32_t parameter, std::string_view extension) {
  if (button < 0 || button >= kButtonCount) return Result::InvalidParameter;
  ProfileWriter writer(file);
  WriteButton(writer, button, code, parameter, extension);
  return writer.Commit();
}

Result WriteDpiLevel(const std::filesystem::path& file, int level, std::uint16_t value) {
  if (level < 0 || level >= kDpiLevelCount) return Result::InvalidParameter;
  return WriteOneNumber(file, Indexed("pwDpi", level), value);
}

Result WriteLighting(const std::filesystem::path& file, std::uint32_t colour,
                     std::uint8_t brightness, std::uint8_t speed, std::uint8_t mode,
                     std::uint8_t parameter,
                     const std::array<std::uint8_t, kDpiLevelCount>& colourIndexes) {
  ProfileWriter writer(file);
  WriteLightingKeys(writer, colour, brightness, speed, mode, parameter, colourIndexes);
  return writer.Commit();
}

Result WritePointerSpeed(const std::filesystem::path& file, std::uint32_t speed) {
  return WriteOneNumber(file, "uMouseSpeed", speed);
}

Result WriteLinkSettings(const std::filesystem::path& file, std::uint32_t flag,
                         std::string_view path) {
  ProfileWriter writer(file);
  writer.Number("bLinkProgram", flag);
  writer.Text("szLinkPath", flag ? TruncateToBuffer(path) : "");
  return writer.Commit();
}

Result WriteCurDpiLevel(const std::filesystem::path& file, std::uint8_t level) {
  return WriteOneNumber(file, "byCurDpiLevel", level);
}

Result WriteReportRateIndex(const std::filesystem::path& file, std::uint8_t index) {
  return WriteOneNumber(file, "byReportRateIndex", index);
}

Result WriteLineCor(const std::filesystem::path& file, std::uint8_t on) {
  return WriteOneNumber(file, "byLineCor", on);
}

Result WriteWheelScrollLines(const std::filesystem::path& file, std::uint32_t lines) {
  return WriteOneNumber(file, "uWheelScrollLines", lines);
}

Result WriteDoubleClickTime(const std::filesystem::path& file, std::uint32_t milliseconds) {
  return WriteOneNumber(file, "uDoubleClickTime", milliseconds);
}

}  // namespace vexlo
