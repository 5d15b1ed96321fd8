#pragma once

#include "platform/ports/UserMessages.h"

namespace vexlo::bench {

// The message dialog for benchmarks: nothing is shown, every question is answered no.
class SilentMessages final : public UserMessages {
 public:
  int ShowMessage(std::string_view, std::string_view, std::uint32_t, std::uint32_t) override {
    return kCancel;
  }
  void ShowPlainMessage(std::string_view) override {}
};

}  // namespace vexlo::bench
