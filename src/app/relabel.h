#pragma once
// The controls that follow the language, in the order they are relabelled.
#include <array>

enum class WizardWindow { Main, Language, ConnectionType, Network, Usb, Serial, Parallel };

struct RelabelStep {
  WizardWindow window;
  int controlId;
  const char16_t* key;
};

extern const std::array<RelabelStep, 14> kRelabelSteps;
