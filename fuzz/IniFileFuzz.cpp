// One-key reads and writes of an INI file on disk: a value written reads back as written, other
// keys keep their values, and a refused write leaves the file byte for byte.
#include <string>

#include "FuzzSupport.h"
#include "common/IniFile.h"

using namespace vexlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Choices choices(data, size);
  const std::string section = choices.Text(16);
  const std::string key = choices.Text(16);
  const std::string value = choices.Text(32);
  const std::uint32_t number = choices.Number();
  const std::string contents = choices.Rest();

  const std::filesystem::path file = fuzz::FreshScratchFolder() / "Setting.ini";
  fuzz::WriteBytes(file, contents);
  const std::string otherKey = key + "2";
  const std::string other = ReadIniString(section, otherKey, "\x01", file);

  if (WriteIniString(section, key, value, file) != Result::Ok) {
    FUZZ_CHECK(fuzz::ReadBytes(file) == contents);
    return 0;
  }
  FUZZ_CHECK(ReadIniString(section, key, "\x01", file) == value);
  FUZZ_CHECK(ReadIniString(section, otherKey, "\x01", file) == other);
  FUZZ_CHECK(WriteIniUnsigned(section, key, number, file) == Result::Ok);
  FUZZ_CHECK(ReadIniUnsigned(section, key, ~number, file) == number);
  return 0;
}
