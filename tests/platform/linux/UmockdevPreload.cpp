#include "UmockdevPreload.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vexlo::test {

void StartUnderUmockdev(char** argv) {
  const char* preloaded = std::getenv("LD_PRELOAD");
  const std::string library = "libumockdev-preload.so.0";
  if (preloaded && std::string(preloaded).find(library) != std::string::npos) return;
  std::string preload = library;
  if (preloaded && *preloaded) preload += std::string(":") + preloaded;
  ::setenv("LD_PRELOAD", preload.c_str(), 1);
  // Under the address sanitizer its runtime is no longer the first library loaded, which is
  // sound here: the preload library allocates nothing before it.
  const char* asan = std::getenv("ASAN_OPTIONS");
  ::setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":verify_asan_link_order=0").c_str(),
           1);
  // umockdev's own threads share data the thread sanitizer cannot see into.
  const char* tsan = std::getenv("TSAN_OPTIONS");
  ::setenv("TSAN_OPTIONS",
           (std::string(tsan ? tsan : "") + ":suppressions=" VEXLO_TSAN_SUPPRESSIONS).c_str(), 1);
  ::execv("/proc/self/exe", argv);
  std::perror("cannot start again under umockdev");
  std::exit(1);
}

}  // namespace vexlo::test
