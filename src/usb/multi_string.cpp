#include "usb/multi_string.h"

#include <cstring>

NarrowItemWriter::NarrowItemWriter(char* buffer, std::uint32_t capacity)
    : out_(buffer), capacity_(buffer ? capacity : 0) {}

void NarrowItemWriter::Add(std::string_view item) {
  const std::uint64_t need = static_cast<std::uint64_t>(item.size()) + 2;
  total_ += static_cast<std::int32_t>(need);
  if (capacity_ < need) return;
  std::memcpy(out_, item.data(), item.size());
  out_[item.size()] = 0;
  out_[item.size() + 1] = 0;
  // The closing zero is overwritten by the next item, so only the item and its terminator are used.
  out_ += item.size() + 1;
  capacity_ -= static_cast<std::uint32_t>(item.size() + 1);
  ++count_;
}

WideItemWriter::WideItemWriter(char16_t* buffer, std::uint32_t capacity)
    : out_(buffer), capacity_(buffer ? capacity : 0) {}

void WideItemWriter::Add(std::u16string_view item) {
  const std::uint64_t need = (static_cast<std::uint64_t>(item.size()) + 2) * sizeof(char16_t);
  total_ += static_cast<std::int32_t>(need);
  if (capacity_ < need) return;
  std::memcpy(out_, item.data(), item.size() * sizeof(char16_t));
  out_[item.size()] = 0;
  out_[item.size() + 1] = 0;
  out_ += item.size() + 1;
  capacity_ -= static_cast<std::uint32_t>((item.size() + 1) * sizeof(char16_t));
  ++count_;
}
