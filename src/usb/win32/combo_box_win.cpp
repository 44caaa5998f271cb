#include "usb/win32/combo_box_win.h"

#include "diag/win32/wide.h"

std::intptr_t Win32ComboBox::AddString(const std::u16string& text) {
  return SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text)));
}

std::intptr_t Win32ComboBox::GetCount() { return SendMessageW(combo_, CB_GETCOUNT, 0, 0); }

std::intptr_t Win32ComboBox::SetCurSel(std::intptr_t index) {
  return SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Win32ComboBox::SetWindowTextA(const std::string& text) { return ::SetWindowTextA(combo_, text.c_str()) != FALSE; }

bool Win32ComboBox::SetWindowTextW(const std::u16string& text) { return ::SetWindowTextW(combo_, W(text)) != FALSE; }
