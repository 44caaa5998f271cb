#include "app/relabel.h"

#include "resources/resource_ids.h"

// Serial and parallel choices have no control on the shipped connection-type page; labelling
// them is then a no-op, kept so that a page offering them is labelled too.
const std::array<RelabelStep, 14> kRelabelSteps = {{
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
}};
