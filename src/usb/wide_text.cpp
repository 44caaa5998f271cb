#include "usb/wide_text.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "usb/allocation.h"

namespace {

std::size_t WideLength(const char16_t* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// Where wchar_t holds code points (UTF-32), rewrites them as UTF-16 into at most capacity - 1
// units plus a terminator. A pair that would not fit whole is dropped.
void CodePointsToUtf16(const wchar_t* points, char16_t* out, std::size_t capacity) {
  std::size_t used = 0;
  for (; *points != 0; ++points) {
    auto point = static_cast<std::uint32_t>(*points);
    if (point >= 0x10000 && point <= 0x10FFFF) {
      if (used + 2 >= capacity) break;
      point -= 0x10000;
      out[used++] = static_cast<char16_t>(0xD800 + (point >> 10));
      out[used++] = static_cast<char16_t>(0xDC00 + (point & 0x3FF));
    } else {
      if (used + 1 >= capacity) break;
      out[used++] = point > 0x10FFFF ? char16_t(0xFFFD) : static_cast<char16_t>(point);
    }
  }
  out[used] = 0;
}

}  // namespace

char16_t* DuplicateWideText(const char16_t* text) {
  if (!text) return nullptr;
  std::size_t m = WideLength(text);
  auto* copy = static_cast<char16_t*>(AllocateZeroedBytes((m + 1) * sizeof(char16_t)));
  if (!copy) return nullptr;
  std::memcpy(copy, text, m * sizeof(char16_t));
  return copy;
}

char16_t* NarrowToWideText(const char* text) {
  if (!text) return nullptr;
  const std::size_t n = std::strlen(text);
  // n bytes never give more than n characters, nor (in any multibyte code) more than n UTF-16 units.
  HeapBlock<char16_t> temporary = AllocateZeroedBlock<char16_t>((n + 1) * sizeof(char16_t));
  if (!temporary) return nullptr;
  std::setlocale(LC_ALL, "");
  if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
    std::mbstowcs(reinterpret_cast<wchar_t*>(temporary.get()), text, n + 1);
  } else {
    HeapBlock<wchar_t> points = AllocateZeroedBlock<wchar_t>((n + 1) * sizeof(wchar_t));
    if (!points) return nullptr;
    std::mbstowcs(points.get(), text, n + 1);
    CodePointsToUtf16(points.get(), temporary.get(), n + 1);
  }
  // A conversion that stops early leaves what it converted, ended by the zeroed remainder.
  temporary[n] = 0;
  return DuplicateWideText(temporary.get());
}
