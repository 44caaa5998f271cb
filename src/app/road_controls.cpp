#include "app/road_controls.h"

#include "resources/resource_ids.h"

int RoadControlId(WizardPage page) {
  switch (page) {
    case WizardPage::Network: return IDC_IP_ADDRESS;
    case WizardPage::Usb: return IDC_USB_COMBO;
    case WizardPage::Serial: return IDC_SERIAL_COMBO;
    case WizardPage::Parallel: return IDC_PARALLEL_COMBO;
    default: return 0;
  }
}
