#pragma once
// A combo box without a window: the list and edit text the pages' fills would leave, for a run
// that shows no window. Sorted like a CBS_SORT list when asked (without regard to case).
#include <string>
#include <vector>

#include "usb/combo_box.h"

class ChoiceList : public ComboBox {
 public:
  explicit ChoiceList(bool sorted = false) : sorted_(sorted) {}

  std::intptr_t AddString(const std::u16string& text) override;
  std::intptr_t GetCount() override;
  std::intptr_t SetCurSel(std::intptr_t index) override;
  bool SetWindowTextA(const std::string& text) override;
  bool SetWindowTextW(const std::u16string& text) override;

  const std::vector<std::u16string>& Items() const { return items_; }
  // What the edit field would show: the road reads this.
  const std::u16string& Text() const { return text_; }

 private:
  bool sorted_;
  std::vector<std::u16string> items_;
  std::u16string text_;
};
