#include "diag/format.h"


namespace {

// One conversion spec after '%': flags, width, length letters, conversion letter.
struct Spec {
  bool leftAlign = false;
  bool zeroPad = false;
  std::size_t width = 0;
  char conversion = 0;
};

template <class Char>
std::basic_string<Char> Digits(std::uint64_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::basic_string<Char> out;
  do {
    out.insert(out.begin(), static_cast<Char>(digits[value % base]));
    value /= base;
  } while (value != 0);
  return out;
}

template <class Char>
std::basic_string<Char> TextOf(const FormatArg& arg) {
  std::basic_string<Char> out;
  if (arg.kind() == FormatArg::Kind::Wide) {
    for (char16_t c : arg.wide()) out.push_back(static_cast<Char>(c));
  } else if (arg.kind() == FormatArg::Kind::Narrow) {
    // Narrow text widens byte by byte; wide text narrows only where it is one byte.
    for (char c : arg.narrow()) out.push_back(static_cast<Char>(static_cast<unsigned char>(c)));
  }
  return out;
}

template <class Char>
std::basic_string<Char> Convert(const Spec& spec, const FormatArg* arg) {
  std::basic_string<Char> body;
  bool numeric = false;
  bool negative = false;
  std::int64_t n = arg ? arg->number() : 0;
  bool isText = arg && (arg->kind() == FormatArg::Kind::Wide || arg->kind() == FormatArg::Kind::Narrow);
  switch (spec.conversion) {
    case 's':
      if (arg && isText) body = TextOf<Char>(*arg);
      break;
    case 'c':
      if (arg && !isText) body.push_back(static_cast<Char>(n));
      break;
    case 'd':
    case 'i': {
      numeric = true;
      std::int32_t v = isText ? 0 : static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
      negative = v < 0;
      std::uint64_t magnitude = negative ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(v)) : v;
      body = Digits<Char>(magnitude, 10, false);
      break;
    }
    case 'u':
      numeric = true;
      body = Digits<Char>(isText ? 0 : static_cast<std::uint32_t>(n), 10, false);
      break;
    case 'x':
    case 'X':
      numeric = true;
      body = Digits<Char>(isText ? 0 : static_cast<std::uint32_t>(n), 16, spec.conversion == 'X');
      break;
    default:
      break;
  }
  std::size_t length = body.size() + (negative ? 1 : 0);
  std::size_t pad = spec.width > length ? spec.width - length : 0;
  std::basic_string<Char> out;
  if (spec.leftAlign) {
    if (negative) out.push_back(static_cast<Char>('-'));
    out += body;
    out.append(pad, static_cast<Char>(' '));
  } else if (spec.zeroPad && numeric) {
    if (negative) out.push_back(static_cast<Char>('-'));
    out.append(pad, static_cast<Char>('0'));
    out += body;
  } else {
    out.append(pad, static_cast<Char>(' '));
    if (negative) out.push_back(static_cast<Char>('-'));
    out += body;
  }
  return out;
}

template <class Char>
std::basic_string<Char> FormatList(std::size_t capacity, std::basic_string_view<Char> format,
                                   std::initializer_list<FormatArg> args) {
  std::basic_string<Char> out;
  const std::size_t limit = capacity == 0 ? 0 : capacity - 1;
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size() && out.size() < limit; ++i) {
    Char c = format[i];
    if (c != static_cast<Char>('%')) {
      out.push_back(c);
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == static_cast<Char>('%')) {
      out.push_back(c);
      ++i;
      continue;
    }
    Spec spec;
    std::size_t j = i + 1;
    for (; j < format.size(); ++j) {
      if (format[j] == static_cast<Char>('-')) spec.leftAlign = true;
      else if (format[j] == static_cast<Char>('0')) spec.zeroPad = true;
      else break;
    }
    for (; j < format.size() && format[j] >= static_cast<Char>('0') && format[j] <= static_cast<Char>('9'); ++j) {
      spec.width = spec.width * 10 + static_cast<std::size_t>(format[j] - static_cast<Char>('0'));
      if (spec.width > 1024) spec.width = 1024;
    }
    for (; j < format.size() && (format[j] == static_cast<Char>('l') || format[j] == static_cast<Char>('h')); ++j) {
    }
    if (j >= format.size()) break;
    spec.conversion = static_cast<char>(format[j]);
    const FormatArg* arg = nullptr;
    if (next != args.end()) arg = &*next++;
    out += Convert<Char>(spec, arg);
    i = j;
  }
  if (out.size() > limit) out.resize(limit);
  return out;
}

}  // namespace

std::u16string FormatWideList(std::size_t capacity, std::u16string_view format,
                              std::initializer_list<FormatArg> args) {
  return FormatList<char16_t>(capacity, format, args);
}

std::string FormatNarrowList(std::size_t capacity, std::string_view format,
                             std::initializer_list<FormatArg> args) {
  return FormatList<char>(capacity, format, args);
}

std::u16string CutToCapacity(std::u16string_view text, std::size_t capacity) {
  std::size_t limit = capacity == 0 ? 0 : capacity - 1;
  // A field ends at the first NUL, as a C string would.
  std::size_t nul = text.find(u'\0');
  if (nul != std::u16string_view::npos) text = text.substr(0, nul);
  return std::u16string(text.substr(0, text.size() < limit ? text.size() : limit));
}
