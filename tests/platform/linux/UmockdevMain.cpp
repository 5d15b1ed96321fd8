// The entry of a test program that needs umockdev's emulation: a program started without it
// starts itself again under its preload library (as umockdev-wrapper does), so ctest and a person
// run it alike.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* preloaded = std::getenv("LD_PRELOAD");
  const std::string library = "libumockdev-preload.so.0";
  if (!preloaded || std::string(preloaded).find(library) == std::string::npos) {
    std::string preload = library;
    if (preloaded && *preloaded) preload += std::string(":") + preloaded;
    ::setenv("LD_PRELOAD", preload.c_str(), 1);
    // Under the address sanitizer its runtime is no longer the first library loaded, which is
    // sound here: the preload library allocates nothing before it.
    const char* asan = std::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS",
             (std::string(asan ? asan : "") + ":verify_asan_link_order=0").c_str(), 1);
    ::execv("/proc/self/exe", argv);
    std::perror("cannot start again under umockdev");
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
