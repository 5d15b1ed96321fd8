// INI documents in memory: a parse keeps the bytes, and every change that is accepted reads back
// as it was made and leaves every other key as it was.
#include <string>

#include "FuzzSupport.h"
#include "common/IniDocument.h"

using namespace vexlo;

namespace {

bool IsUtf16(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Choices choices(data, size);
  const std::string section = choices.Text(16);
  const std::string key = choices.Text(16);
  const std::string value = choices.Text(32);
  const std::uint32_t number = choices.Number();
  const std::string file = choices.Rest();

  IniDocument doc = IniDocument::Parse(file);
  const std::string serialized = doc.Serialize();
  if (!IsUtf16(file)) FUZZ_CHECK(serialized == file);
  FUZZ_CHECK(IniDocument::Parse(serialized).Serialize() == serialized);

  const std::string otherKey = key + "2";
  const std::optional<std::string> other = doc.Find(section, otherKey);
  if (doc.Set(section, key, value) == Result::Ok) {
    FUZZ_CHECK(doc.GetString(section, key, "\x01") == value);
    const IniDocument reread = IniDocument::Parse(doc.Serialize());
    FUZZ_CHECK(reread.GetString(section, key, "\x01") == value);
    FUZZ_CHECK(reread.Find(section, otherKey) == other);
    FUZZ_CHECK(doc.Set(section, key, std::to_string(number)) == Result::Ok);
    FUZZ_CHECK(IniDocument::Parse(doc.Serialize()).GetUnsigned(section, key, ~number) == number);
  } else {
    FUZZ_CHECK(doc.Serialize() == serialized);
  }
  return 0;
}
