// The virtual mouse's answers to vendor control transfers, for any sequence of setup packets:
// an answer never claims more bytes than the buffer holds, the register page and sensitivity
// level stay in their ranges, and a stalled transfer changes nothing.
#include <array>

#include "FuzzSupport.h"
#include "platform/sim/SimMouseFirmware.h"
#include "platform/sim/SimState.h"

using namespace vexlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Choices choices(data, size);
  SimMouse mouse = SimMouse::FactoryNew(choices.Byte() % 4);
  while (!choices.Empty()) {
    std::array<std::uint8_t, 8> setup{};
    for (std::uint8_t& byte : setup) byte = choices.Byte();
    std::array<std::uint8_t, 16> output{};
    const std::size_t capacity = choices.Byte() % (output.size() + 1);
    std::size_t returned = 0;
    const SimRegisters registersBefore = mouse.registers;
    const Result result = AnswerControlTransfer(mouse, setup, std::span(output).first(capacity),
                                                returned);
    FUZZ_CHECK(returned <= capacity);
    if (result != Result::Ok) FUZZ_CHECK(mouse.registers == registersBefore);
    for (int button = 3; button <= 6; ++button) {
      const SimButtonAction action = ButtonAction(ButtonFunction(mouse, button));
      const int level = NextLevel(choices.Byte() % 4, action);
      FUZZ_CHECK(level >= 0 && level <= 3);
    }
    FUZZ_CHECK(LevelColour(mouse.registers, choices.Byte() % 4) >= 0);
  }
  return 0;
}
