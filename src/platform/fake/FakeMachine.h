#pragma once
// The in-memory Windows that the fake seam answers from. Tests reset it,
// arrange its state, run the code under test and inspect what changed.

#include <deque>
#include <string>
#include <vector>

#include "platform/fake/FakeRegistry.h"

namespace fake {

struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

struct FakeMachine {
  FakeRegistry registry;
  std::vector<MessageBoxCall> messageBoxes;
  // Answers for the next message boxes, in order; once used up, each box is
  // answered with its first button (OK or Yes).
  std::deque<int> messageBoxAnswers;
  std::string programName = "hushgate";
};

FakeMachine& Machine();
void ResetMachine();

}  // namespace fake
