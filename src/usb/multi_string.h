#pragma once
// Packing items into a caller's multi-string under the enumerators' fit rule: an item goes in
// only when it, its terminator and the list's closing zero all fit in what is left, so a buffer
// that received items is always well ended. Capacities and totals count bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

class NarrowItemWriter {
 public:
  // A null buffer takes nothing, whatever capacity comes with it.
  NarrowItemWriter(char* buffer, std::uint32_t capacity);
  void Add(std::string_view item);
  std::int32_t count() const { return count_; }
  std::int32_t total() const { return total_; }

 private:
  char* out_;
  std::uint32_t capacity_;
  std::int32_t count_ = 0;
  std::int32_t total_ = 0;
};

class WideItemWriter {
 public:
  WideItemWriter(char16_t* buffer, std::uint32_t capacity);
  void Add(std::u16string_view item);
  std::int32_t count() const { return count_; }
  std::int32_t total() const { return total_; }

 private:
  char16_t* out_;
  std::uint32_t capacity_;
  std::int32_t count_ = 0;
  std::int32_t total_ = 0;
};

// Calls visit(item) for each item of a multi-string of at most size units, up to the first
// empty item; an item cut by the end of the buffer is not visited.
template <class Char, class Visit>
void ForEachItem(const Char* buffer, std::size_t size, Visit visit) {
  if (!buffer) return;
  std::size_t at = 0;
  while (at < size && buffer[at] != 0) {
    std::size_t end = at;
    while (end < size && buffer[end] != 0) ++end;
    if (end == size) return;
    visit(std::basic_string_view<Char>(buffer + at, end - at));
    at = end + 1;
  }
}
