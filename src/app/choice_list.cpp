#include "app/choice_list.h"

#include <algorithm>

namespace {
char16_t Folded(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool Before(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Folded(x) < Folded(y); });
}
}  // namespace

std::intptr_t ChoiceList::AddString(const std::u16string& text) {
  auto at = sorted_ ? std::upper_bound(items_.begin(), items_.end(), text, Before) : items_.end();
  at = items_.insert(at, text);
  return static_cast<std::intptr_t>(at - items_.begin());
}

std::intptr_t ChoiceList::GetCount() { return static_cast<std::intptr_t>(items_.size()); }

std::intptr_t ChoiceList::SetCurSel(std::intptr_t index) {
  if (index < 0 || index >= GetCount()) return -1;  // CB_ERR
  text_ = items_[static_cast<std::size_t>(index)];
  return index;
}

bool ChoiceList::SetWindowTextA(const std::string& text) {
  // The narrow texts set here are ASCII port names; any other byte keeps its code page value.
  text_.clear();
  for (char c : text) text_.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return true;
}

bool ChoiceList::SetWindowTextW(const std::u16string& text) {
  text_ = text;
  return true;
}
