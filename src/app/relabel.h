#pragma once
// The controls that follow the language, in the order they are relabelled.
#include <array>
#include <string>

enum class WizardWindow { Main, Language, ConnectionType, Network, Usb, Serial, Parallel };

struct RelabelStep {
  WizardWindow window;
  int controlId;
  const char16_t* key;
  // The descriptions start with two blanks that line them up behind their radio buttons; a label
  // of its own beside the button shows the text without them.
  bool withoutLeadingBlanks = false;
};

extern const std::array<RelabelStep, 18> kRelabelSteps;

// The text a step puts into its control, given the language's text for its key.
std::u16string RelabelText(const RelabelStep& step, const char16_t* text);
