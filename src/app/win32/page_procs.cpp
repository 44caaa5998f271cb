#include "app/win32/page_procs.h"

#include <commctrl.h>

#include "app/ipv4_text.h"
#include "app/port_combo.h"
#include "app/win32/wizard.h"
#include "app/win32/wizard_windows.h"
#include "resources/resource_ids.h"
#include "usb/usb_choices.h"
#include "usb/win32/combo_box_win.h"

namespace {
int CommandId(WPARAM wParam) { return LOWORD(wParam); }

// The templates' radio groups have no tab stop; the first button of each gets one so that Tab
// reaches the group (the dialog manager then lands on its checked button, and the arrow keys
// move within it).
void AddTabStop(HWND page, int id) {
  if (HWND button = GetDlgItem(page, id)) {
    SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | WS_TABSTOP);
  }
}

// The pages made at start share one read of the spooler's ports; a later refresh reads anew.
PortSnapshot& PortsFor(Wizard& wizard, std::unique_ptr<PortSnapshot>& fresh) {
  if (PortSnapshot* shared = wizard.StartPorts()) return *shared;
  PrintPlatform& print = wizard.Services().Print();
  fresh = std::make_unique<PortSnapshot>(print.spooler);
  return *fresh;
}

void FillPortCombo(Wizard& wizard, HWND page, int comboId, const char16_t* fragment) {
  Win32ComboBox combo(GetDlgItem(page, comboId));
  std::unique_ptr<PortSnapshot> fresh;
  ::FillPortCombo(PortsFor(wizard, fresh), combo, fragment);
}

void RefreshUsbChoices(Wizard& wizard, HWND page) {
  HWND comboWindow = GetDlgItem(page, IDC_USB_COMBO);
  SendMessageW(comboWindow, CB_RESETCONTENT, 0, 0);
  Win32ComboBox combo(comboWindow);
  if (wizard.Context().portMonitorName.empty()) {
    std::unique_ptr<PortSnapshot> fresh;
    FillUsbPortsFromSpooler(wizard.Services().Usb(), PortsFor(wizard, fresh), combo);
  } else {
    FillUsbDevicesForMonitor(wizard.Services().Usb(), wizard.Context(), combo);
  }
}
}  // namespace

INT_PTR CALLBACK LanguagePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Wizard::Attach(window, lParam)->Windows().languagePage = window;
    CheckDlgButton(window, IDC_CHINESE, BST_CHECKED);
    AddTabStop(window, IDC_CHINESE);
    return 1;
  }
  Wizard* wizard = Wizard::Of(window);
  if (message != WM_COMMAND || !wizard) return 0;
  switch (CommandId(wParam)) {
    case IDC_CHINESE: ApplyLanguage(wizard->Windows(), wizard->Context(), u"CHN"); return 1;
    case IDC_ENGLISH: ApplyLanguage(wizard->Windows(), wizard->Context(), u"ENG"); return 1;
    default: return 0;
  }
}

INT_PTR CALLBACK ConnectionTypePageProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Wizard::Attach(window, lParam)->Windows().connectionTypePage = window;
    CheckDlgButton(window, IDC_TYPE_USB, BST_CHECKED);
    AddTabStop(window, IDC_TYPE_USB);
    return 1;
  }
  // The automatic radio buttons keep their own states; Next reads them.
  return 0;
}

INT_PTR CALLBACK NetworkPageProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Wizard* wizard = Wizard::Attach(window, lParam);
    wizard->Windows().networkPage = window;
    // The address control's own message: its fields then show the address on every platform.
    // config.ini may name the address; an invalid one is refused when Next is pressed.
    const std::optional<std::uint32_t> configured = ParseIpv4Address(wizard->Context().printerAddress);
    const std::uint32_t address = configured ? *configured : kDefaultPrinterAddress;
    SendDlgItemMessageW(window, IDC_IP_ADDRESS, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
    return 1;
  }
  return 0;
}

INT_PTR CALLBACK UsbPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Wizard* wizard = Wizard::Attach(window, lParam);
    wizard->Windows().usbPage = window;
    RefreshUsbChoices(*wizard, window);
    return 1;
  }
  Wizard* wizard = Wizard::Of(window);
  if (message == WM_COMMAND && CommandId(wParam) == IDC_USB_SEARCH && wizard) {
    RefreshUsbChoices(*wizard, window);
    return 1;
  }
  return 0;
}

INT_PTR CALLBACK SerialPageProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Wizard* wizard = Wizard::Attach(window, lParam);
    wizard->Windows().serialPage = window;
    FillPortCombo(*wizard, window, IDC_SERIAL_COMBO, u"COM");
    return 1;
  }
  return 0;
}

INT_PTR CALLBACK ParallelPageProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Wizard* wizard = Wizard::Attach(window, lParam);
    wizard->Windows().parallelPage = window;
    FillPortCombo(*wizard, window, IDC_PARALLEL_COMBO, u"LPT");
    return 1;
  }
  return 0;
}
