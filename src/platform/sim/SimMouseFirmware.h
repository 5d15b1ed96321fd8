#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/Result.h"
#include "platform/sim/SimState.h"

// What the simulated mouse itself does: its answers to vendor control transfers, and what a press
// of one of its registered buttons (3..6) means.
namespace vexlo {

// Answers one vendor control transfer, given by its 8 setup bytes. Reads and writes of the
// configuration registers need the session open (key 0x5A in session register 0x09 of page 0);
// anything the mouse does not know stalls (GeneralFailure). `output` receives a read's answer;
// `returned` is its length.
[[nodiscard]] Result AnswerControlTransfer(SimMouse& mouse, std::span<const std::uint8_t, 8> setup,
                                           std::span<std::uint8_t> output, std::size_t& returned);

// The register that holds the function of button 3..6 on the mouse's circuit board.
std::uint8_t ButtonRegister(int model, int button);

// The hardware function in the register of button 3..6 (bits 4..0).
std::uint8_t ButtonFunction(const SimMouse& mouse, int button);

// What the mouse does when button 3..6 goes down with its register's function.
struct SimButtonAction {
  std::uint16_t reportCode = 0;  // event code to report to the host; 0 when it acts on its own
  int levelChange = 0;           // +1 up, -1 down
  bool cycleLevel = false;
};
SimButtonAction ButtonAction(std::uint8_t function);

// The sensitivity level after the action, 0..3.
int NextLevel(int level, const SimButtonAction& action);

// What the registers tell the mouse: the counts per inch and the colour index of level 0..3, and
// the light effect code (0 steady, 1 breathing, 3 and 4 colour cycles when idle, 5 colour cycle,
// 7 off).
int LevelSensitivity(const SimRegisters& registers, int level);
int LevelColour(const SimRegisters& registers, int level);
int LightEffect(const SimRegisters& registers);

}  // namespace vexlo
