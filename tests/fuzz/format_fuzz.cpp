// The bounded formatter with any format text and capacity: never past its capacity, always
// within its own buffer.
#include <cstdlib>

#include "diag/format.h"
#include "diag/install_log.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t capacity = data[0];
  const std::u16string format = fuzz::Units(data + 1, size - 1);
  const std::u16string wide = FormatWide(capacity, format, u"text", 42, 7u, "narrow", -3);
  if (capacity > 0 && wide.size() > capacity - 1) std::abort();
  const std::string narrow = FormatNarrow(capacity, std::string(format.begin(), format.end()), "a", 1, u"w");
  if (capacity > 0 && narrow.size() > capacity - 1) std::abort();
  Utf8FromUtf16(format);
  EscapeLineBreaks(format);
  return 0;
}
