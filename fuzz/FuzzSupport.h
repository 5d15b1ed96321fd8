#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

// What every fuzz target shares: reading the fuzzer's bytes as a sequence of choices, a scratch
// folder that each run starts empty, and the check that turns a broken property into a crash the
// fuzzer reports.
namespace vexlo::fuzz {

// Stops the run with the property that does not hold; the fuzzer keeps the input.
[[noreturn]] inline void Fail(const char* property, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
  std::abort();
}

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::vexlo::fuzz::Fail(#condition, __FILE__, __LINE__))

// The input read front to back; past its end every choice is 0 and every text empty.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  bool Empty() const { return rest_.empty(); }

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto value = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return value;
  }

  std::uint32_t Number() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return value;
  }

  // A text of up to `limit` bytes: its length comes first.
  std::string Text(std::size_t limit = 64) {
    const std::size_t wanted = Byte();
    const std::size_t length = std::min({wanted, limit, rest_.size()});
    std::string text(rest_.substr(0, length));
    rest_.remove_prefix(length);
    return text;
  }

  // Whatever is left.
  std::string Rest() {
    std::string text(rest_);
    rest_ = {};
    return text;
  }

 private:
  std::string_view rest_;
};

// A folder of this process, emptied before every run.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexlo-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return std::filesystem::path(pattern);
  }();
  return folder;
}

inline const std::filesystem::path& FreshScratchFolder() {
  const std::filesystem::path& folder = ScratchFolder();
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::filesystem::remove_all(entry.path());
  }
  return folder;
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);

}  // namespace vexlo::fuzz
