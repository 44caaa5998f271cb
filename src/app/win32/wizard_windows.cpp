#include "app/win32/wizard_windows.h"

#include "config/texts.h"
#include "diag/win32/wide.h"
#include "resources/resource_ids.h"

HWND& PageSlot(WizardWindows& w, WizardPage page) {
  switch (page) {
    case WizardPage::Language: return w.languagePage;
    case WizardPage::ConnectionType: return w.connectionTypePage;
    case WizardPage::Network: return w.networkPage;
    case WizardPage::Usb: return w.usbPage;
    case WizardPage::Serial: return w.serialPage;
    case WizardPage::Parallel: break;
  }
  return w.parallelPage;
}

HWND PageWindow(const WizardWindows& w, WizardPage page) { return PageSlot(const_cast<WizardWindows&>(w), page); }

HWND WindowFor(const WizardWindows& windows, WizardWindow window) {
  switch (window) {
    case WizardWindow::Main: return windows.mainWindow;
    case WizardWindow::Language: return PageWindow(windows, WizardPage::Language);
    case WizardWindow::ConnectionType: return PageWindow(windows, WizardPage::ConnectionType);
    case WizardWindow::Network: return PageWindow(windows, WizardPage::Network);
    case WizardWindow::Usb: return PageWindow(windows, WizardPage::Usb);
    case WizardWindow::Serial: return PageWindow(windows, WizardPage::Serial);
    case WizardWindow::Parallel: return PageWindow(windows, WizardPage::Parallel);
  }
  return nullptr;
}

void CenterWindow(HWND window) {
  HWND reference = GetParent(window);
  if (!reference) reference = GetDesktopWindow();
  RECT r{};
  RECT w{};
  GetWindowRect(reference, &r);
  GetWindowRect(window, &w);
  const int dx = ((r.right - r.left) - (w.right - w.left)) / 2;
  const int dy = ((r.bottom - r.top) - (w.bottom - w.top)) / 2;
  SetWindowPos(window, HWND_TOP, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE);
}

void ShowPage(const WizardWindows& w, HWND page) {
  for (HWND each : {w.languagePage, w.connectionTypePage, w.networkPage, w.usbPage, w.serialPage, w.parallelPage}) {
    if (each) ShowWindow(each, SW_HIDE);
  }
  ShowWindow(page, SW_SHOW);
}

void SetNavButtons(HWND mainWindow, bool prevEnabled) {
  EnableWindow(GetDlgItem(mainWindow, IDC_PREV), prevEnabled ? TRUE : FALSE);
  EnableWindow(GetDlgItem(mainWindow, IDC_NEXT), TRUE);
}

void KeepFocusUsable(HWND mainWindow) {
  HWND focus = GetFocus();
  // Before the window is first shown nothing is visible yet: the dialog manager picks the focus.
  if (!IsWindowVisible(mainWindow)) return;
  if (focus && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
  SendMessageW(mainWindow, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(mainWindow, IDC_NEXT)), TRUE);
}

void ApplyLanguage(const WizardWindows& windows, InstallContext& context, const std::u16string& code) {
  SelectLanguage(context, code);
  for (const RelabelStep& step : kRelabelSteps) {
    // A control the page's template lacks yields no window, and labelling it does nothing.
    HWND window = WindowFor(windows, step.window);
    if (!window) continue;
    SetDlgItemTextW(window, step.controlId, W(RelabelText(step, LookupText(context, step.key))));
  }
}
