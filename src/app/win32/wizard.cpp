#include "app/win32/wizard.h"

#include <commctrl.h>

#include "app/config_checks.h"
#include "app/preflight.h"
#include "config/ipv4_text.h"
#include "app/road_controls.h"
#include "config/texts.h"
#include "diag/diagnostics.h"
#include "diag/win32/system_library.h"
#include "diag/win32/wide.h"
#include "resources/resource_ids.h"

namespace {
constexpr std::uint32_t kErrorNotSupported = 50;  // ERROR_NOT_SUPPORTED

// comctl32 is not a KnownDLL: it is loaded from the system directory and stays for the run. Only
// a run with a window needs it.
void InitialiseCommonControls() {
  static SystemLibrary comctl32(L"comctl32.dll");
  using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = comctl32.Get<InitEx>("InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES | ICC_TAB_CLASSES};
    init(&controls);
  } else if (auto initOld = comctl32.Get<void(WINAPI*)()>("InitCommonControls")) {
    initOld();
  }
}
}  // namespace

Wizard::Wizard(HINSTANCE instance, RunStart& start, AppServices& services)
    : start_(start), context_(start.context), services_(services) {
  windows_.instance = instance;
}

Wizard* Wizard::Of(HWND dialog) { return reinterpret_cast<Wizard*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void Wizard::Attach(HWND dialog, Wizard* wizard) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(wizard));
}

int Wizard::Run() {
  InitialiseCommonControls();
  HWND main = CreateDialogParamW(windows_.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainProc,
                                 reinterpret_cast<LPARAM>(this));
  // Without a window there is nothing to wait for: the run failed.
  if (!main) return kExitInstallFailed;
  // Enter presses Next wherever the focus is in the pages; Tab and Esc get their dialog meaning.
  SendMessageW(main, DM_SETDEFID, IDC_NEXT, 0);
  ShowWindow(main, SW_SHOW);
  UpdateWindow(main);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(main, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The windows go before the wizard they point to does.
  DestroyWindow(main);
  return static_cast<int>(message.wParam);
}

void Wizard::Initialise(HWND mainWindow) {
  windows_.mainWindow = mainWindow;
  CenterWindow(mainWindow);
  SetWindowTextW(mainWindow, W(context_.caption));
  PrintPlatform& print = services_.Print();
  startPorts_ = std::make_unique<PortSnapshot>(print.spooler);
  CreatePages();
  startPorts_.reset();
  CarryOut(StartNavigation(navigation_, context_, start_.languageButton));
  DebugTrace(u"Language %s", context_.languageCode);
}

bool Wizard::OnCommand(int command) {
  const bool navigation = command == IDOK || command == IDCANCEL || command == IDC_PREV || command == IDC_NEXT;
  if (navigation && roadBusy_) return true;
  switch (command) {
    // Enter arrives as IDOK where the dialog manager finds no default button: it presses Next,
    // and never closes the wizard.
    case IDOK:
    case IDC_NEXT: CarryOut(OnNext(navigation_, context_, ReadConnectionChecks())); return true;
    case IDCANCEL: CarryOut(OnClose()); return true;
    case IDC_PREV: CarryOut(OnPrev(navigation_, context_)); return true;
    default: return false;
  }
}

void Wizard::CarryOut(const NavActions& actions) { RunNavigationActions(navigation_, context_, actions, *this); }

void Wizard::ShowPage(WizardPage page) {
  ::ShowPage(windows_, PageWindow(windows_, page));
  KeepFocusUsable(windows_.mainWindow);
}

void Wizard::SetPrevEnabled(bool enabled) {
  SetNavButtons(windows_.mainWindow, enabled);
  KeepFocusUsable(windows_.mainWindow);
}

void Wizard::SetCheck(WizardPage page, int buttonId, bool checked) {
  // A button the page does not offer is left alone.
  if (HWND button = GetDlgItem(PageWindow(windows_, page), buttonId)) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void Wizard::ApplyLanguage(int, const std::u16string& code) { ::ApplyLanguage(windows_, context_, code); }

ConnectionChecks Wizard::ReadConnectionChecks() {
  // A button the page does not offer reads as unchecked.
  HWND page = windows_.connectionTypePage;
  ConnectionChecks checks;
  checks.network = IsDlgButtonChecked(page, IDC_TYPE_NETWORK) == BST_CHECKED;
  checks.usb = IsDlgButtonChecked(page, IDC_TYPE_USB) == BST_CHECKED;
  checks.serial = IsDlgButtonChecked(page, IDC_TYPE_SERIAL) == BST_CHECKED;
  checks.parallel = IsDlgButtonChecked(page, IDC_TYPE_PARALLEL) == BST_CHECKED;
  return checks;
}

// Handled by the loop once everything in progress has returned.
void Wizard::QueueNext() { PostMessageW(windows_.mainWindow, WM_COMMAND, IDC_NEXT, 0); }

std::u16string Wizard::ReadRoadText(WizardPage page) {
  HWND pageWindow = PageWindow(windows_, page);
  if (page == WizardPage::Network) {
    // Read from the fields themselves: not every address control keeps its window text current.
    DWORD address = 0;
    LRESULT filled = SendDlgItemMessageW(pageWindow, IDC_IP_ADDRESS, IPM_GETADDRESS, 0,
                                         reinterpret_cast<LPARAM>(&address));
    return Ipv4Text(address, static_cast<int>(filled));
  }
  wchar_t text[kPathCapacity] = {};
  GetDlgItemTextW(pageWindow, RoadControlId(page), text, static_cast<int>(kPathCapacity));
  return U16(text);
}

void Wizard::RunInstallRoad(WizardPage page) {
  const WindowHandle owner = FromHwnd(windows_.mainWindow);
  roadBusy_ = true;
  RoadEnd end = RoadEnd::Failed;
  if (start_.arm64) {
    // Windows on ARM reports x64 to this process, but the x64 driver package and monitor cannot
    // serve its spooler: refuse before anything is changed.
    const char16_t* text = LookupText(context_, u"Arm64NotSupported");
    ShowError(owner, kErrorNotSupported, text ? text : u"");
    arm64Refused_ = true;
  } else {
    const std::u16string text = ReadRoadText(page);
    // An address no printer can have: the user corrects it on the page.
    const Outcome address = CheckTypedAddress(context_, page, text);
    if (!address.ok()) {
      ShowOutcome(owner, address);
      end = RoadEnd::Stay;
    } else {
      RoadOptions options;
      options.onInstalled = services_.MarkInstalled(context_);
      end = ::RunInstallRoad(page, text, owner, context_, services_.Print(), std::move(options));
    }
  }
  if (end == RoadEnd::Stay) {
    roadBusy_ = false;
    return;
  }
  roadRan_ = true;
  roadEnd_ = end;
  Quit();
}

void Wizard::Quit() {
  quitPosted_ = true;
  PostQuitMessage(arm64Refused_ ? kExitPlatformUnsupported : ExitCodeFor(roadRan_, roadEnd_));
}

void Wizard::OnDestroy() {
  // Nothing reaches the wizard through a window that is going; a window destroyed while the run
  // goes on ends it as a close would, so that the loop does not wait for ever.
  Attach(windows_.mainWindow, nullptr);
  windows_ = WizardWindows{windows_.instance};
  if (!quitPosted_) Quit();
}

INT_PTR CALLBACK Wizard::MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Wizard* wizard = reinterpret_cast<Wizard*>(lParam);
    Attach(window, wizard);
    wizard->Initialise(window);
    return TRUE;
  }
  Wizard* wizard = Of(window);
  if (!wizard) return 0;
  switch (message) {
    case WM_COMMAND: return wizard->OnCommand(LOWORD(wParam)) ? 1 : 0;
    case WM_DESTROY: wizard->OnDestroy(); return 0;
    default: return 0;
  }
}
