#pragma once

namespace vexlo {

// Facts about the machine the program runs on.
class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // 64 when the operating system runs on a 64-bit processor architecture, else 32; whatever the
  // width of this program's own build. Never fails; any thread.
  virtual int NativeBitWidth() = 0;
};

}  // namespace vexlo
