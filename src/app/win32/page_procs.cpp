// The wizard's six pages: their creation inside the page area, their one procedure, and what each
// page does at its creation and on its commands.
#include "app/win32/wizard.h"

#include <commctrl.h>

#include "config/ipv4_text.h"
#include "app/port_combo.h"
#include "resources/resource_ids.h"
#include "usb/usb_choices.h"
#include "usb/win32/combo_box_win.h"

namespace {

// The templates' radio groups have no tab stop; the first button of each gets one so that Tab
// reaches the group (the dialog manager then lands on its checked button, and the arrow keys
// move within it).
void AddTabStop(HWND page, int id) {
  if (HWND button = GetDlgItem(page, id)) {
    SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | WS_TABSTOP);
  }
}

void AddControlParentStyle(HWND window) {
  if (!window) return;
  SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

}  // namespace

void Wizard::CreatePages() {
  windows_.pageArea = GetDlgItem(windows_.mainWindow, IDC_PAGE_AREA);
  RECT client{};
  GetClientRect(windows_.pageArea, &client);
  struct PageTemplate {
    int id;
    WizardPage page;
  };
  const PageTemplate pages[] = {
      {IDD_LANGUAGE, WizardPage::Language}, {IDD_CONNECTION_TYPE, WizardPage::ConnectionType},
      {IDD_NETWORK, WizardPage::Network},   {IDD_USB, WizardPage::Usb},
      {IDD_SERIAL, WizardPage::Serial},     {IDD_PARALLEL, WizardPage::Parallel},
  };
  // The page area and the pages hold controls of their own: Tab walks into the visible page.
  AddControlParentStyle(windows_.pageArea);
  for (const PageTemplate& page : pages) {
    PageCreation creation{this, page.page};
    HWND created = CreateDialogParamW(windows_.instance, MAKEINTRESOURCEW(page.id), windows_.pageArea, PageProc,
                                      reinterpret_cast<LPARAM>(&creation));
    if (!created) continue;
    AddControlParentStyle(created);
    MoveWindow(created, 0, 0, client.right - client.left, client.bottom - client.top, FALSE);
  }
  ::ShowPage(windows_, windows_.languagePage);
}

INT_PTR CALLBACK Wizard::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const PageCreation& creation = *reinterpret_cast<const PageCreation*>(lParam);
    Attach(window, creation.wizard);
    creation.wizard->InitialisePage(creation.page, window);
    return 1;
  }
  Wizard* wizard = Of(window);
  if (!wizard) return 0;
  switch (message) {
    case WM_COMMAND: return wizard->OnPageCommand(window, LOWORD(wParam)) ? 1 : 0;
    case WM_DESTROY: Attach(window, nullptr); return 0;
    default: return 0;
  }
}

void Wizard::InitialisePage(WizardPage page, HWND window) {
  PageSlot(windows_, page) = window;
  switch (page) {
    case WizardPage::Language:
      CheckDlgButton(window, IDC_CHINESE, BST_CHECKED);
      AddTabStop(window, IDC_CHINESE);
      break;
    case WizardPage::ConnectionType:
      // The automatic radio buttons keep their own states; Next reads them.
      CheckDlgButton(window, IDC_TYPE_USB, BST_CHECKED);
      AddTabStop(window, IDC_TYPE_USB);
      break;
    case WizardPage::Network: {
      // The address control's own message: its fields then show the address on every platform.
      // config.ini may name the address; an invalid one is refused when Next is pressed.
      const std::optional<std::uint32_t> configured = ParsePrinterAddress(context_.printerAddress);
      const std::uint32_t address = configured ? *configured : kDefaultPrinterAddress;
      SendDlgItemMessageW(window, IDC_IP_ADDRESS, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
      break;
    }
    case WizardPage::Usb: RefreshUsbChoices(window); break;
    case WizardPage::Serial: FillPortCombo(window, IDC_SERIAL_COMBO, u"COM"); break;
    case WizardPage::Parallel: FillPortCombo(window, IDC_PARALLEL_COMBO, u"LPT"); break;
  }
}

bool Wizard::OnPageCommand(HWND page, int command) {
  if (page == windows_.languagePage) {
    switch (command) {
      case IDC_CHINESE: ::ApplyLanguage(windows_, context_, u"CHN"); return true;
      case IDC_ENGLISH: ::ApplyLanguage(windows_, context_, u"ENG"); return true;
      default: return false;
    }
  }
  if (page == windows_.usbPage && command == IDC_USB_SEARCH) {
    RefreshUsbChoices(page);
    return true;
  }
  return false;
}

// The pages made at start share one read of the spooler's ports; a later refresh reads anew.
PortSnapshot& Wizard::Ports(std::unique_ptr<PortSnapshot>& fresh) {
  if (startPorts_) return *startPorts_;
  PrintPlatform& print = services_.Print();
  fresh = std::make_unique<PortSnapshot>(print.spooler);
  return *fresh;
}

void Wizard::FillPortCombo(HWND page, int comboId, const char16_t* fragment) {
  Win32ComboBox combo(GetDlgItem(page, comboId));
  std::unique_ptr<PortSnapshot> fresh;
  ::FillPortCombo(Ports(fresh), combo, fragment);
}

void Wizard::RefreshUsbChoices(HWND page) {
  HWND comboWindow = GetDlgItem(page, IDC_USB_COMBO);
  SendMessageW(comboWindow, CB_RESETCONTENT, 0, 0);
  Win32ComboBox combo(comboWindow);
  if (context_.portMonitorName.empty()) {
    std::unique_ptr<PortSnapshot> fresh;
    FillUsbPortsFromSpooler(services_.Usb(), Ports(fresh), combo);
  } else {
    FillUsbDevicesForMonitor(services_.Usb(), context_, combo);
  }
}
