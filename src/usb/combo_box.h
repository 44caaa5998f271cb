#pragma once
// The few combo-box operations the USB choices use, one method per message or call.
#include <cstdint>
#include <string>

class ComboBox {
 public:
  virtual ~ComboBox() = default;
  // CB_ADDSTRING: the new item's index, or a negative CB_ERR/CB_ERRSPACE.
  virtual std::intptr_t AddString(const std::u16string& text) = 0;
  // CB_GETCOUNT
  virtual std::intptr_t GetCount() = 0;
  // CB_SETCURSEL: selects the item and shows its text in the edit field.
  virtual std::intptr_t SetCurSel(std::intptr_t index) = 0;
  // The edit field's text; the list is not changed.
  virtual bool SetWindowTextA(const std::string& text) = 0;
  virtual bool SetWindowTextW(const std::u16string& text) = 0;
};
