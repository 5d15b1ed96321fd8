#pragma once

#include <cstdint>
#include <string>

#include "common/Result.h"

namespace vexlo {

// Starts other programs the way the desktop does.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // Opens `file` as the desktop's "open" does: a program file is started with `parameter` as its
  // one argument (none when empty); any other file goes to the program the desktop associates
  // with it. `workingFolder` is the started program's current folder. Returns without waiting
  // for the program, which belongs to nobody (it never becomes a zombie of the caller). Ok,
  // FileNotFound when the file does not exist, or the error that kept the program from starting.
  // Blocks only while the program is being started; any thread.
  [[nodiscard]] virtual Result Open(const std::string& file, const std::string& parameter,
                                    const std::string& workingFolder) = 0;

  // Starts the companion program `program` with `parameter` as its one argument, as Open starts a
  // program file, and gives the started process's id, by which its messages are known. Ok, or as
  // Open. Blocks only while the program is being started; any thread.
  [[nodiscard]] virtual Result StartCompanion(const std::string& program,
                                              const std::string& parameter,
                                              const std::string& workingFolder,
                                              std::uint32_t& processId) = 0;
};

}  // namespace vexlo
