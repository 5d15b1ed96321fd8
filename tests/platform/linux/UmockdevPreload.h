#pragma once

namespace vexlo::test {

// A program that needs umockdev's emulation calls this first thing: started without umockdev's
// preload library, it starts itself again under it (as umockdev-wrapper does) and does not return
// unless that fails; under it, it returns at once. So ctest, benchmarks and a person run it alike.
void StartUnderUmockdev(char** argv);

}  // namespace vexlo::test
