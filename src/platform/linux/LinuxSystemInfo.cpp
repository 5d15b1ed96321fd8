#include "platform/linux/LinuxSystemInfo.h"

#include <sys/utsname.h>

#include <string_view>

namespace vexlo {

int LinuxSystemInfo::NativeBitWidth() {
  utsname name{};
  if (::uname(&name) != 0) return 32;
  const std::string_view machine = name.machine;
  for (const std::string_view wide : {"x86_64", "aarch64", "arm64", "ppc64", "s390x", "riscv64",
                                       "loongarch64", "mips64", "sparc64", "alpha", "ia64"}) {
    if (machine.starts_with(wide)) return 64;
  }
  return 32;
}

}  // namespace vexlo
