#pragma once
// Turning a fuzzer's bytes into the texts the parsers take.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// The bytes as UTF-16 units, two a unit (an odd last byte dropped).
inline std::u16string Units(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  return text;
}

// The units split at NUL: several texts from one input.
inline std::vector<std::u16string> Pieces(const std::u16string& text) {
  std::vector<std::u16string> pieces(1);
  for (char16_t c : text) {
    if (c == u'\0') {
      pieces.emplace_back();
    } else {
      pieces.back().push_back(c);
    }
  }
  return pieces;
}

}  // namespace fuzz
