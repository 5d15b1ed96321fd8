#pragma once

#include <cstdint>

namespace vexlo {

// Every operation that can fail answers with one of these numbers: 0 for success, a Windows
// system error number passed up from a failed platform call, or one of the system's own codes.
// The numbers are part of the program's behaviour (messages depend on them), so they keep their
// values on every platform.
enum class [[nodiscard]] Result : std::uint32_t {
  Ok = 0,
  InvalidFunction = 1,         // a request the device or driver does not know
  FileNotFound = 2,
  PathNotFound = 3,
  AccessDenied = 5,
  NothingCurrent = 6,          // no current profile or macro to act on
  InvalidHandle = 6,           // a handle that is closed or was never opened
  NotEnoughMemory = 8,
  DriverUnavailable = 10,      // a filter driver cannot be opened
  NotAProfile = 11,            // the file lacks the profile marker
  HidEnumerationFailed = 12,
  BadData = 13,                // bad data, a short device answer or a missing image
  WriteProtected = 19,
  ChecksumFailed = 23,
  TooShort = 24,               // text too short, or the last profile
  WriteFault = 29,
  ReadFault = 30,
  GeneralFailure = 31,
  NotSupported = 50,           // the platform has no such setting or function
  NameConflict = 52,           // the user refused to overwrite an existing name
  NotFound = 55,               // link not open, or the mouse not found
  InvalidParameter = 87,       // an index out of range for a writer
  InsufficientBuffer = 122,
  NotConnected = 110,          // the mouse is not connected
  DiskFull = 112,
  InvalidName = 123,          // a name that no profile or macro may have
  Busy = 170,
  AlreadyExists = 183,
  FilenameTooLong = 206,
  BadFileType = 222,           // a FIFO, device or socket where a file was expected
  FileTooLarge = 223,          // a file larger than its kind may be
  Timeout = 258,
  NoSuchDevice = 433,          // the device that a request names does not exist
  OperationAborted = 995,
  IoDevice = 1117,
  DeviceNotConnected = 1167,   // the device is gone
  ConnectionRefused = 1225,
  InvalidWindowHandle = 1400,
  IndexOutOfRange = 1413,
  PreviousRunEnding = 1627,    // a previous macro run is still ending
  CantResolveFilename = 1921,  // a loop of symbolic links
  NothingToActOn = 4306,
  Full = 4314,                 // store or macro full
};

constexpr std::uint32_t ToNumber(Result r) { return static_cast<std::uint32_t>(r); }
constexpr Result FromNumber(std::uint32_t n) { return static_cast<Result>(n); }

// Maps a POSIX errno value to the Windows error number that means the same thing.
Result ResultFromErrno(int error);

}  // namespace vexlo
