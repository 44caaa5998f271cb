#include "usb/number_text.h"

namespace {

template <class Char>
bool IsSpace(Char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <class Char>
int DigitValue(Char c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a') + 10;
  if (c >= 'A' && c <= 'Z') return static_cast<int>(c - 'A') + 10;
  return 99;
}

template <class Char>
std::int32_t Read(const Char* text, int base) {
  if (!text || base < 2 || base > 36) return 0;
  const Char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // "0x" counts as a prefix only when a digit follows; otherwise the reading is the 0 alone.
  if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16) p += 2;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (; DigitValue(*p) < base; ++p) {
    value = value * base + DigitValue(*p);
    if (value > limit) value = limit;  // clamp, and keep the product from growing
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::int32_t ReadLong(const char* text, int base) { return Read(text, base); }
std::int32_t ReadLong(const char16_t* text, int base) { return Read(text, base); }
std::int32_t ReadDecimal(const char* text) { return Read(text, 10); }
