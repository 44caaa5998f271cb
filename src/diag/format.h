#pragma once
// Bounded formatting in the wsprintf dialect (%s %c %d %i %u %x %X, flags '-' and '0', a width,
// and the length letters h/l, which are accepted and ignored). The result never exceeds its
// capacity: capacity counts units including the terminator, so at most capacity - 1 are kept.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class FormatArg {
 public:
  enum class Kind { Wide, Narrow, Signed, Unsigned };

  FormatArg(const char16_t* text) : kind_(Kind::Wide), wide_(text ? text : u"") {}
  FormatArg(const std::u16string& text) : kind_(Kind::Wide), wide_(text) {}
  FormatArg(std::u16string_view text) : kind_(Kind::Wide), wide_(text) {}
  FormatArg(const char* text) : kind_(Kind::Narrow), narrow_(text ? text : "") {}
  FormatArg(const std::string& text) : kind_(Kind::Narrow), narrow_(text) {}
  FormatArg(std::string_view text) : kind_(Kind::Narrow), narrow_(text) {}
  FormatArg(int value) : kind_(Kind::Signed), number_(static_cast<std::int64_t>(value)) {}
  FormatArg(long value) : kind_(Kind::Signed), number_(static_cast<std::int64_t>(value)) {}
  FormatArg(unsigned value) : kind_(Kind::Unsigned), number_(static_cast<std::int64_t>(value)) {}
  FormatArg(unsigned long value) : kind_(Kind::Unsigned), number_(static_cast<std::int64_t>(value)) {}

  Kind kind() const { return kind_; }
  std::u16string_view wide() const { return wide_; }
  std::string_view narrow() const { return narrow_; }
  std::int64_t number() const { return number_; }

 private:
  Kind kind_;
  std::u16string_view wide_;
  std::string_view narrow_;
  std::int64_t number_ = 0;
};

std::u16string FormatWideList(std::size_t capacity, std::u16string_view format,
                              std::initializer_list<FormatArg> args);
std::string FormatNarrowList(std::size_t capacity, std::string_view format,
                             std::initializer_list<FormatArg> args);

template <class... Args>
std::u16string FormatWide(std::size_t capacity, std::u16string_view format, const Args&... args) {
  return FormatWideList(capacity, format, {FormatArg(args)...});
}

template <class... Args>
std::string FormatNarrow(std::size_t capacity, std::string_view format, const Args&... args) {
  return FormatNarrowList(capacity, format, {FormatArg(args)...});
}

// Copies text into a capacity-unit field the way a fixed, terminated buffer would hold it.
std::u16string CutToCapacity(std::u16string_view text, std::size_t capacity);
