// Profile files: every value read is inside its range, and what is read and written again reads
// back the same.
#include "FuzzSupport.h"
#include "profiles/ProfileData.h"
#include "profiles/ProfileFile.h"

using namespace vexlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& folder = fuzz::FreshScratchFolder();
  const std::string contents(reinterpret_cast<const char*>(data), size);
  fuzz::WriteBytes(folder / "Profile001.ini", contents);

  ProfileData read;
  FillDefaults(read);
  const ProfileData before = read;
  if (ReadProfile(folder / "Profile001.ini", read) != Result::Ok) {
    FUZZ_CHECK(read == before);
    return 0;
  }
  DeviceSettings clamped = read.device;
  ClampToValidRanges(clamped);
  FUZZ_CHECK(clamped == read.device);
  FUZZ_CHECK(read.windows.uMouseSpeed == ClampPointerSpeed(read.windows.uMouseSpeed));
  FUZZ_CHECK(read.windows.uWheelScrollLines ==
             ClampWheelScrollLines(read.windows.uWheelScrollLines));

  if (WriteProfile(folder / "Profile002.ini", read) != Result::Ok) return 0;
  ProfileData reread;
  FillDefaults(reread);
  FUZZ_CHECK(ReadProfile(folder / "Profile002.ini", reread) == Result::Ok);
  // The path of a profile that is not linked stays in memory but is not written.
  if (read.link.bLinkProgram == 0) read.link.szLinkPath.clear();
  FUZZ_CHECK(reread == read);
  FUZZ_CHECK(fuzz::ReadBytes(folder / "Profile001.ini") == contents);
  return 0;
}
