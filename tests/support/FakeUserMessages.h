#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports/UserMessages.h"

namespace vexlo::test {

// The message dialog without a window: a test queues the answers of the next questions before
// they are asked, and reads back every message shown. A message asked without a queued answer is
// answered kCancel, as a closed dialog would be.
class FakeUserMessages final : public UserMessages {
 public:
  struct Shown {
    std::string textKey;
    std::string titleKey;
    std::uint32_t flags;
    std::uint32_t titleColour;
    bool operator==(const Shown&) const = default;
  };

  void SetNextAnswer(int answer) { answers_.push_back(answer); }

  int ShowMessage(std::string_view textKey, std::string_view titleKey, std::uint32_t flags,
                  std::uint32_t titleColour) override {
    shown.push_back({std::string(textKey), std::string(titleKey), flags, titleColour});
    if (whileOpen) whileOpen();
    if (answers_.empty()) return kCancel;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }

  int ShowMessageWith(std::string_view textKey, std::string_view titleKey, std::uint32_t flags,
                      std::uint32_t titleColour, std::string_view detail) override {
    details.emplace_back(detail);
    return ShowMessage(textKey, titleKey, flags, titleColour);
  }

  void ShowPlainMessage(std::string_view text) override { plain.emplace_back(text); }

  std::vector<Shown> shown;
  std::vector<std::string> plain;
  std::vector<std::string> details;  // of the messages shown with ShowMessageWith, in order
  // Runs while a message is open, before it is answered (what the user does meanwhile).
  std::function<void()> whileOpen;

 private:
  std::deque<int> answers_;
};

}  // namespace vexlo::test
