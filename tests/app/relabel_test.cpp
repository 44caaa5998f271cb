#include <gtest/gtest.h>

#include <string_view>

#include "app/relabel.h"
#include "config/texts.h"
#include "resources/resource_ids.h"

namespace {
const RelabelStep* Step(WizardWindow window, int id) {
  for (const RelabelStep& step : kRelabelSteps) {
    if (step.window == window && step.controlId == id) return &step;
  }
  return nullptr;
}
}  // namespace

// The labels a user sees carry the chosen language: each visible label shows what its radio
// button or hidden label carries, and the descriptions lose the blanks that align them.
TEST(Relabel, VisibleLabelsSpeakTheChosenLanguage) {
  struct Case {
    WizardWindow window;
    int label;
    int twin;  // the control that carries the same key
    bool trimmed;
  };
  const Case cases[] = {
      {WizardWindow::ConnectionType, IDC_LABEL_B, IDC_TYPE_NETWORK, true},
      {WizardWindow::ConnectionType, IDC_LABEL_A, IDC_TYPE_USB, true},
      {WizardWindow::Network, IDC_LABEL_A, IDC_NETWORK_LABEL, false},
      {WizardWindow::Usb, IDC_LABEL_A, IDC_USB_LABEL, false},
  };
  for (const Case& c : cases) {
    const RelabelStep* label = Step(c.window, c.label);
    const RelabelStep* twin = Step(c.window, c.twin);
    ASSERT_NE(nullptr, label);
    ASSERT_NE(nullptr, twin);
    EXPECT_EQ(std::u16string_view(twin->key), label->key);
    for (std::int32_t table : {0, 1}) {
      const char16_t* text = LookupTextIn(table, label->key);
      ASSERT_NE(nullptr, text);
      const std::u16string shown = RelabelText(*label, text);
      EXPECT_NE(u' ', shown.front());
      EXPECT_EQ(c.trimmed, shown != text);
      EXPECT_EQ(std::u16string(text).substr(std::u16string(text).size() - shown.size()), shown);
      EXPECT_EQ(text, RelabelText(*twin, text));  // the radio buttons keep their blanks
    }
  }
  EXPECT_EQ(u"", RelabelText(*Step(WizardWindow::ConnectionType, IDC_LABEL_B), u"  "));
  EXPECT_EQ(u"", RelabelText(*Step(WizardWindow::ConnectionType, IDC_LABEL_B), nullptr));
}
