#include "app/relabel.h"

#include "resources/resource_ids.h"

// Serial and parallel choices have no control on the shipped connection-type page; labelling
// them is then a no-op, kept so that a page offering them is labelled too. The radio buttons of
// the connection types are too narrow to show their texts, and the network and USB labels are
// hidden, so the labels seen beside them get the same texts.
const std::array<RelabelStep, 18> kRelabelSteps = {{
    {WizardWindow::Main, IDC_PREV, u"Prev"},
    {WizardWindow::Main, IDC_NEXT, u"Next"},
    {WizardWindow::Language, IDC_CHINESE, u"Chinese"},
    {WizardWindow::Language, IDC_ENGLISH, u"English"},
    {WizardWindow::ConnectionType, IDC_TYPE_NETWORK, u"EthDesc"},
    {WizardWindow::ConnectionType, IDC_TYPE_USB, u"UsbDesc"},
    {WizardWindow::ConnectionType, IDC_TYPE_SERIAL, u"ComDesc"},
    {WizardWindow::ConnectionType, IDC_TYPE_PARALLEL, u"LptDesc"},
    {WizardWindow::Serial, IDC_SERIAL_LABEL, u"ComPort"},
    {WizardWindow::Network, IDC_NETWORK_LABEL, u"InputIP"},
    {WizardWindow::Parallel, IDC_PARALLEL_LABEL, u"LptPort"},
    {WizardWindow::Usb, IDC_USB_LABEL, u"UsbPort"},
    {WizardWindow::Usb, IDC_USB_INFO, u"UsbEditInfo"},
    {WizardWindow::Usb, IDC_USB_SEARCH, u"SearchUSB"},
    // The connection-type page's visible labels: 11009 stands beside the network button, 11008
    // beside the USB button.
    {WizardWindow::ConnectionType, IDC_LABEL_B, u"EthDesc", true},
    {WizardWindow::ConnectionType, IDC_LABEL_A, u"UsbDesc", true},
    {WizardWindow::Network, IDC_LABEL_A, u"InputIP"},
    {WizardWindow::Usb, IDC_LABEL_A, u"UsbPort"},
}};

std::u16string RelabelText(const RelabelStep& step, const char16_t* text) {
  std::u16string label = text ? text : u"";
  if (step.withoutLeadingBlanks) {
    const std::size_t first = label.find_first_not_of(u' ');
    label.erase(0, first == std::u16string::npos ? label.size() : first);
  }
  return label;
}
