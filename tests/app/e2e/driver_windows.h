#pragma once
// What the wizard driver knows of the wizard's windows from outside its process: the main dialog
// (found by caption), its six pages (children of the page area, told apart by the controls they
// hold) and its message boxes ("#32770" windows of the same process without a page area).
#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace e2e {

constexpr int kMessageBoxTextId = 0xFFFF;
// A cross-process send gives up after this long, so a busy or stuck wizard fails a command
// instead of hanging the test run.
constexpr UINT kSendTimeoutMs = 5000;

// The pages by the name tests use; "main" stands for the main dialog itself.
const std::vector<std::string>& PageNames();
bool IsPageName(const std::string& name);

struct Wizard {
  HWND main = nullptr;
  DWORD processId = 0;
};

// The visible wizard main window whose caption is `caption` (any caption when `anyCaption`).
HWND FindWizardWindow(const std::wstring& caption, bool anyCaption);

// The page window of that name ("main" gives the main dialog); null when there is none.
HWND FindPage(const Wizard& wizard, const std::string& name);
// The name of the page a window is, by the control identifiers it holds; empty when none fits.
std::string PageNameOf(HWND page);
// The names of the visible pages (one, when the wizard is consistent).
std::vector<std::string> VisiblePages(const Wizard& wizard);

// The first message box of the wizard's process, or null; with `visibleOnly` false, also one not
// shown yet (a dialog box is shown when its loop first finds the queue empty).
HWND FindMessageBox(const Wizard& wizard, bool visibleOnly = true);

// Text of any window through WM_GETTEXT (what GetDlgItemTextW in the wizard would read).
bool ReadText(HWND window, std::wstring& text);
std::wstring ClassOf(HWND window);
// The four field windows of an IPv4 address control, left to right.
std::vector<HWND> AddressFields(HWND control);
// The four fields of an IPv4 address control in their left-to-right order, joined by dots.
std::wstring ReadAddressFields(HWND control);

// A message sent with kSendTimeoutMs; false when the wizard did not answer in time.
bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The child controls of a page or of the main dialog (not the pages themselves), in z-order.
std::vector<HWND> ControlsOf(HWND page);

// UTF-8 for the output lines, with CR, LF and tab written as \r, \n and \t to keep one line each.
std::string Printable(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace e2e
