#include "app/win32/main_dialog.h"

#include <commctrl.h>

#include "app/install_road.h"
#include "app/ipv4_text.h"
#include "app/navigation.h"
#include "app/road_controls.h"
#include "app/win32/app_services.h"
#include "app/win32/wizard_windows.h"
#include "config/texts.h"
#include "config/win32/install_context_win.h"
#include "config/win32/system_info_win.h"
#include "diag/diagnostics.h"
#include "diag/win32/wide.h"
#include "resources/resource_ids.h"

namespace {

constexpr std::uint32_t kErrorNotSupported = 50;  // ERROR_NOT_SUPPORTED

bool g_roadRan = false;
RoadEnd g_roadEnd = RoadEnd::Stay;
// While a road runs (its boxes and tools have loops of their own) and once it has ended, Next,
// Prev and close are ignored: a second road would install a second printer, and a close would
// report the run as not installed.
bool g_roadBusy = false;

void Quit() { PostQuitMessage(ExitCodeFor(g_roadRan, g_roadEnd)); }

ConnectionChecks ReadConnectionChecks() {
  // A button the page does not offer reads as unchecked.
  HWND page = Windows().connectionTypePage;
  ConnectionChecks checks;
  checks.network = IsDlgButtonChecked(page, IDC_TYPE_NETWORK) == BST_CHECKED;
  checks.usb = IsDlgButtonChecked(page, IDC_TYPE_USB) == BST_CHECKED;
  checks.serial = IsDlgButtonChecked(page, IDC_TYPE_SERIAL) == BST_CHECKED;
  checks.parallel = IsDlgButtonChecked(page, IDC_TYPE_PARALLEL) == BST_CHECKED;
  return checks;
}

std::u16string ReadRoadText(WizardPage page) {
  HWND pageWindow = PageWindow(page);
  if (page == WizardPage::Network) {
    // Read from the fields themselves: not every address control keeps its window text current.
    DWORD address = 0;
    LRESULT filled = SendDlgItemMessageW(pageWindow, IDC_IP_ADDRESS, IPM_GETADDRESS, 0,
                                         reinterpret_cast<LPARAM>(&address));
    return Ipv4Text(address, static_cast<int>(filled));
  }
  wchar_t text[kFieldCapacity] = {};
  GetDlgItemTextW(pageWindow, RoadControlId(page), text, static_cast<int>(kFieldCapacity));
  return U16(text);
}

void RunRoad(WizardPage page) {
  HWND main = Windows().mainWindow;
  g_roadBusy = true;
  RoadEnd end = RoadEnd::Failed;
  if (IsArm64System()) {
    // Windows on ARM reports x64 to this process, but the x64 driver package and monitor cannot
    // serve its spooler: refuse before anything is changed.
    const char16_t* text = LookupText(Context(), u"Arm64NotSupported");
    ShowError(FromHwnd(main), kErrorNotSupported, text ? text : u"");
  } else {
    end = RunInstallRoad(page, ReadRoadText(page), FromHwnd(main), Context(), Services().Print());
  }
  if (end == RoadEnd::Stay) {
    g_roadBusy = false;
    return;
  }
  g_roadRan = true;
  g_roadEnd = end;
  Quit();
}

// Carries out the navigation's actions: "now" commands are sent (handled inside this one),
// the queued Next is posted (handled by the loop once everything in progress has returned).
void CarryOut(const NavActions& actions) {
  HWND main = Windows().mainWindow;
  for (const NavAction& action : actions) {
    switch (action.kind) {
      case NavActionKind::ShowPage:
        ShowPage(PageWindow(action.page));
        KeepFocusUsable(main);
        break;
      case NavActionKind::SetPrevEnabled:
        SetNavButtons(main, action.enabled);
        KeepFocusUsable(main);
        break;
      case NavActionKind::SetCheck: {
        HWND button = GetDlgItem(PageWindow(action.page), action.buttonId);
        if (button) SendMessageW(button, BM_SETCHECK, action.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      }
      case NavActionKind::ApplyLanguage:
        SendMessageW(Windows().languagePage, WM_COMMAND, static_cast<WPARAM>(action.buttonId), 0);
        break;
      case NavActionKind::NextNow: SendMessageW(main, WM_COMMAND, IDC_NEXT, 0); break;
      case NavActionKind::PrevNow: SendMessageW(main, WM_COMMAND, IDC_PREV, 0); break;
      case NavActionKind::QueueNext: PostMessageW(main, WM_COMMAND, IDC_NEXT, 0); break;
      case NavActionKind::RunInstallRoad: RunRoad(action.page); break;
      case NavActionKind::Quit: Quit(); break;
    }
  }
}

BOOL Initialise(HWND window) {
  Windows().mainWindow = window;
  CenterWindow(window);
  LoadInstallContext();
  SetWindowTextW(window, W(Context().caption));
  StartServices(GetOsBitness());
  CreatePages(window);
  CarryOut(StartNavigation(Navigation(), Context(), GetUserDefaultUILanguage()));
  return TRUE;
}

}  // namespace

int WizardExitCode() { return ExitCodeFor(g_roadRan, g_roadEnd); }

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return Initialise(window);
  if (message != WM_COMMAND) return 0;
  const int command = LOWORD(wParam);
  const bool navigation = command == IDOK || command == IDCANCEL || command == IDC_PREV || command == IDC_NEXT;
  if (navigation && g_roadBusy) return 1;
  switch (command) {
    // Enter arrives as IDOK where the dialog manager finds no default button: it presses Next,
    // and never closes the wizard.
    case IDOK: CarryOut(OnNext(Navigation(), Context(), ReadConnectionChecks())); return 1;
    case IDCANCEL: CarryOut(OnClose()); return 1;
    case IDC_PREV: CarryOut(OnPrev(Navigation(), Context())); return 1;
    case IDC_NEXT: CarryOut(OnNext(Navigation(), Context(), ReadConnectionChecks())); return 1;
    default: return 0;
  }
}
