#pragma once
// A combo box window (an unsorted CBS_DROPDOWN, like control 1013 of the USB page).
#include <windows.h>

#include "usb/combo_box.h"

class Win32ComboBox : public ComboBox {
 public:
  explicit Win32ComboBox(HWND combo) : combo_(combo) {}
  std::intptr_t AddString(const std::u16string& text) override;
  std::intptr_t GetCount() override;
  std::intptr_t SetCurSel(std::intptr_t index) override;
  bool SetWindowTextA(const std::string& text) override;
  bool SetWindowTextW(const std::u16string& text) override;

 private:
  HWND combo_;
};
