#pragma once
// An unsorted drop-down combo box in memory: its list, its edit text, its selection, and the calls.
#include <string>
#include <vector>

#include "usb/combo_box.h"

class FakeComboBox : public ComboBox {
 public:
  std::vector<std::u16string> items;
  std::u16string editText;
  std::intptr_t selected = -1;
  std::vector<std::string> calls;

  std::intptr_t AddString(const std::u16string& text) override {
    calls.push_back("CB_ADDSTRING");
    items.push_back(text);
    return static_cast<std::intptr_t>(items.size()) - 1;
  }
  std::intptr_t GetCount() override {
    calls.push_back("CB_GETCOUNT");
    return static_cast<std::intptr_t>(items.size());
  }
  std::intptr_t SetCurSel(std::intptr_t index) override {
    calls.push_back("CB_SETCURSEL " + std::to_string(index));
    if (index < 0 || index >= static_cast<std::intptr_t>(items.size())) {
      selected = -1;
      return -1;  // CB_ERR
    }
    selected = index;
    editText = items[static_cast<std::size_t>(index)];
    return index;
  }
  bool SetWindowTextA(const std::string& text) override {
    calls.push_back("SetWindowTextA");
    editText.clear();
    for (char c : text) editText.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return true;
  }
  bool SetWindowTextW(const std::u16string& text) override {
    calls.push_back("SetWindowTextW");
    editText = text;
    return true;
  }
};
