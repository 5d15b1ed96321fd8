#include "common/IniFile.h"

namespace vexlo {

std::string ReadIniString(std::string_view section, std::string_view key,
                          std::string_view fallback, const std::filesystem::path& file) {
  IniDocument doc;
  (void)doc.Load(file);  // an unreadable file reads as a missing one: every key takes its default
  return doc.GetString(section, key, fallback);
}

std::uint32_t ReadIniUnsigned(std::string_view section, std::string_view key,
                              std::uint32_t fallback, const std::filesystem::path& file) {
  IniDocument doc;
  (void)doc.Load(file);  // as above
  return doc.GetUnsigned(section, key, fallback);
}

Result LoadIniForUpdate(const std::filesystem::path& file, IniDocument& doc) {
  const Result loaded = doc.Load(file);
  return loaded == Result::FileNotFound ? Result::Ok : loaded;
}

Result WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                      const std::filesystem::path& file) {
  IniDocument doc;
  if (const Result r = LoadIniForUpdate(file, doc); r != Result::Ok) return r;
  if (const Result r = doc.Set(section, key, value); r != Result::Ok) return r;
  return doc.Save(file);
}

Result WriteIniUnsigned(std::string_view section, std::string_view key, std::uint32_t value,
                        const std::filesystem::path& file) {
  return WriteIniString(section, key, std::to_string(value), file);
}

}  // namespace vexlo
