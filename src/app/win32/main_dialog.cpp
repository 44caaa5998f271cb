#include "app/win32/main_dialog.h"

#include <commctrl.h>

#include "app/install_road.h"
#include "app/ipv4_text.h"
#include "app/navigation.h"
#include "app/road_controls.h"
#include "app/win32/app_services.h"
#include "app/win32/wizard_windows.h"
#include "config/win32/install_context_win.h"
#include "diag/win32/wide.h"
#include "resources/resource_ids.h"

namespace {

bool g_roadRan = false;
RoadEnd g_roadEnd = RoadEnd::Stay;

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
  RoadEnd end = RunInstallRoad(page, ReadRoadText(page), FromHwnd(main), Context(), Services().Print());
  if (end == RoadEnd::Stay) return;
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
      case NavActionKind::ShowPage: ShowPage(PageWindow(action.page)); break;
      case NavActionKind::SetPrevEnabled: SetNavButtons(main, action.enabled); break;
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
  switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL: CarryOut(OnClose()); return 1;
    case IDC_PREV: CarryOut(OnPrev(Navigation(), Context())); return 1;
    case IDC_NEXT: CarryOut(OnNext(Navigation(), Context(), ReadConnectionChecks())); return 1;
    default: return 0;
  }
}
