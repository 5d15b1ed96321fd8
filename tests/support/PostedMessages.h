#pragma once

#include <cstdint>
#include <vector>

#include "platform/ports/MessageTarget.h"

namespace vexlo::test {

struct PostedMessage {
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

// A window that only writes down what is posted to it, on the thread that posts.
class PostedMessages final : public MessageTarget {
 public:
  Result Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posted.push_back({message, wParam, lParam});
    return Result::Ok;
  }
  Result PostText(std::uint32_t, std::vector<std::string>) override { return Result::Ok; }

  std::vector<PostedMessage> posted;
};

}  // namespace vexlo::test
