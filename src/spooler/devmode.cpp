#include "spooler/devmode.h"

#include "diag/format.h"

namespace {

constexpr std::size_t kSizeOffset = 68;
constexpr std::size_t kDriverExtraOffset = 70;
constexpr std::size_t kFieldsOffset = 72;
constexpr std::size_t kOrientationOffset = 76;
constexpr std::size_t kPaperSizeOffset = 78;
constexpr std::size_t kPaperLengthOffset = 80;
constexpr std::size_t kPaperWidthOffset = 82;
constexpr std::size_t kCopiesOffset = 86;
constexpr std::size_t kPrintQualityOffset = 90;
constexpr std::uint8_t kMagic[4] = {'P', 'S', 'D', 'M'};
constexpr std::uint16_t kFormatVersion = 1;
constexpr std::size_t kLongestDriverName = 259;

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }
bool Same(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::uint16_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(U16At(b, at)) | static_cast<std::uint32_t>(U16At(b, at + 2)) << 16;
}
void PutU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  PutU16(b, at, static_cast<std::uint16_t>(v));
  PutU16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
void AppendU16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A whole number from low to high; no value for anything else.
std::optional<std::int16_t> WholeNumber(std::u16string_view text, int low, int high) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  if (value < low || value > high) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

struct Field {
  const char16_t* name;
  std::optional<std::int16_t> DevModeSettings::*member;
  std::uint32_t bit;
  std::size_t offset;
};
constexpr Field kFields[] = {
    {u"PaperSize", &DevModeSettings::paperSize, kDmPaperSize, kPaperSizeOffset},
    {u"PaperWidth", &DevModeSettings::paperWidth, kDmPaperWidth, kPaperWidthOffset},
    {u"PaperLength", &DevModeSettings::paperLength, kDmPaperLength, kPaperLengthOffset},
    {u"Orientation", &DevModeSettings::orientation, kDmOrientation, kOrientationOffset},
    {u"Copies", &DevModeSettings::copies, kDmCopies, kCopiesOffset},
    {u"PrintQuality", &DevModeSettings::printQuality, kDmPrintQuality, kPrintQualityOffset},
};

std::u16string ValueText(const Field& field, std::int16_t value) {
  if (field.bit == kDmPaperWidth || field.bit == kDmPaperLength) return MillimetreText(value);
  if (field.bit == kDmOrientation) return value == 2 ? u"Landscape" : value == 1 ? u"Portrait" : FormatWide(16, u"%d", value);
  return FormatWide(16, u"%d", value);
}

}  // namespace

std::optional<std::int16_t> ParseMillimetres(std::u16string_view text) {
  const std::size_t dot = text.find(u'.');
  const std::u16string_view whole = text.substr(0, dot);
  int tenths = 0;
  if (dot != std::u16string_view::npos) {
    const std::u16string_view decimal = text.substr(dot + 1);
    if (decimal.size() != 1 || decimal[0] < u'0' || decimal[0] > u'9') return std::nullopt;
    tenths = decimal[0] - u'0';
  }
  const std::optional<std::int16_t> millimetres = WholeNumber(whole, 0, 5000);
  if (!millimetres) return std::nullopt;
  const int value = *millimetres * 10 + tenths;
  // dmPaperWidth is a short in tenths: 3276.7 mm is the longest any DEVMODE can hold.
  if (value < 10 || value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

std::u16string MillimetreText(std::int16_t tenths) {
  return FormatWide(32, u"%d.%d mm", tenths / 10, (tenths < 0 ? -tenths : tenths) % 10);
}

ParsedDevMode ParseDevModeSettings(const std::vector<PrinterDataEntry>& entries) {
  ParsedDevMode parsed;
  DevModeSettings& s = parsed.settings;
  const auto refuse = [&](const char16_t* key, const char16_t* allowed) {
    parsed.refusal = DevModeRefusal{key, allowed};
    return parsed;
  };
  for (const PrinterDataEntry& entry : entries) {
    const std::u16string_view key = entry.key, value = entry.value;
    if (Same(key, u"PaperSize")) {
      if (!(s.paperSize = WholeNumber(value, 1, 32767))) return refuse(u"PaperSize", u"a DMPAPER number from 1 to 32767");
    } else if (Same(key, u"PaperWidth")) {
      if (!(s.paperWidth = ParseMillimetres(value))) return refuse(u"PaperWidth", u"millimetres from 1.0 to 3276.7, at most one decimal");
    } else if (Same(key, u"PaperLength")) {
      if (!(s.paperLength = ParseMillimetres(value))) return refuse(u"PaperLength", u"millimetres from 1.0 to 3276.7, at most one decimal");
    } else if (Same(key, u"Orientation")) {
      if (Same(value, u"Portrait")) s.orientation = 1;
      else if (Same(value, u"Landscape")) s.orientation = 2;
      else return refuse(u"Orientation", u"Portrait or Landscape");
    } else if (Same(key, u"Copies")) {
      if (!(s.copies = WholeNumber(value, 1, 9999))) return refuse(u"Copies", u"a number from 1 to 9999");
    } else if (Same(key, u"PrintQuality")) {
      if (!(s.printQuality = WholeNumber(value, 1, 9600))) return refuse(u"PrintQuality", u"dots per inch from 1 to 9600");
    } else if (Same(key, u"File")) {
      if (value.empty()) return refuse(u"File", u"the path of a file /savedefaults wrote");
      s.file = std::u16string(value);
    } else {
      parsed.refusal = DevModeRefusal{std::u16string(key), u"no such key: PaperSize, PaperWidth, PaperLength, Orientation, Copies, PrintQuality, File"};
      return parsed;
    }
  }
  if (s.paperSize && (s.paperWidth || s.paperLength)) return refuse(u"PaperSize", u"either PaperSize or PaperWidth with PaperLength");
  if (s.paperWidth.has_value() != s.paperLength.has_value()) {
    return refuse(s.paperWidth ? u"PaperLength" : u"PaperWidth", u"PaperWidth and PaperLength together");
  }
  return parsed;
}

bool DevModeSound(const std::vector<std::uint8_t>& devMode) {
  if (devMode.size() < kFieldsOffset + 4) return false;
  const std::size_t size = U16At(devMode, kSizeOffset), extra = U16At(devMode, kDriverExtraOffset);
  return size >= kPrintQualityOffset + 2 && size + extra <= devMode.size();
}

void ApplyDevModeSettings(const DevModeSettings& settings, std::vector<std::uint8_t>& devMode) {
  if (!DevModeSound(devMode)) return;
  std::uint32_t fields = U32At(devMode, kFieldsOffset);
  for (const Field& field : kFields) {
    if (const std::optional<std::int16_t>& value = settings.*(field.member)) {
      PutU16(devMode, field.offset, static_cast<std::uint16_t>(*value));
      fields |= field.bit;
    }
  }
  // A size of its own: no predefined paper.
  if (settings.paperWidth) {
    PutU16(devMode, kPaperSizeOffset, 0);
    fields |= kDmPaperSize;
  }
  PutU32(devMode, kFieldsOffset, fields);
}

std::vector<DevModeField> CompareDevMode(const DevModeSettings& settings, const std::vector<std::uint8_t>& devMode) {
  std::vector<DevModeField> compared;
  const bool sound = DevModeSound(devMode);
  for (const Field& field : kFields) {
    const std::optional<std::int16_t>& value = settings.*(field.member);
    if (!value) continue;
    std::u16string found = u"none";
    if (sound) found = ValueText(field, static_cast<std::int16_t>(U16At(devMode, field.offset)));
    compared.push_back({field.name, ValueText(field, *value), found});
  }
  return compared;
}

DevModeSettings PublicSettingsOf(const std::vector<std::uint8_t>& devMode) {
  DevModeSettings settings;
  if (!DevModeSound(devMode)) return settings;
  const std::uint32_t fields = U32At(devMode, kFieldsOffset);
  for (const Field& field : kFields) {
    if (fields & field.bit) settings.*(field.member) = static_cast<std::int16_t>(U16At(devMode, field.offset));
  }
  return settings;
}

std::vector<std::uint8_t> DefaultsFileBytes(const std::u16string& driverName, const std::vector<std::uint8_t>& devMode) {
  std::vector<std::uint8_t> bytes(kMagic, kMagic + 4);
  AppendU16(bytes, kFormatVersion);
  AppendU16(bytes, static_cast<std::uint16_t>(driverName.size()));
  for (char16_t unit : driverName) AppendU16(bytes, unit);
  const std::size_t at = bytes.size();
  bytes.resize(at + 4);
  PutU32(bytes, at, static_cast<std::uint32_t>(devMode.size()));
  bytes.insert(bytes.end(), devMode.begin(), devMode.end());
  return bytes;
}

DefaultsFile ReadDefaultsFile(const std::vector<std::uint8_t>& bytes) {
  DefaultsFile file;
  const auto fault = [&](const char16_t* why) {
    file = DefaultsFile{};
    file.fault = why;
    return file;
  };
  if (bytes.size() < 8 || !std::equal(kMagic, kMagic + 4, bytes.begin())) return fault(u"not a printing-defaults file");
  if (U16At(bytes, 4) != kFormatVersion) return fault(u"a format version this program does not read");
  const std::size_t nameUnits = U16At(bytes, 6);
  if (nameUnits == 0 || nameUnits > kLongestDriverName) return fault(u"no driver name of 1 to 259 characters");
  const std::size_t sizeAt = 8 + nameUnits * 2;
  if (bytes.size() < sizeAt + 4) return fault(u"cut short in its header");
  for (std::size_t i = 0; i < nameUnits; ++i) file.driverName.push_back(static_cast<char16_t>(U16At(bytes, 8 + i * 2)));
  const std::size_t size = U32At(bytes, sizeAt);
  if (size != bytes.size() - sizeAt - 4) return fault(u"its DEVMODE size disagrees with the file's length");
  file.devMode.assign(bytes.begin() + static_cast<std::ptrdiff_t>(sizeAt + 4), bytes.end());
  if (file.devMode.size() < kDevModePublicSize || U16At(file.devMode, kSizeOffset) < kPrintQualityOffset + 2) {
    return fault(u"its DEVMODE is smaller than a DEVMODE's public part");
  }
  if (!DevModeSound(file.devMode)) return fault(u"its DEVMODE's sizes run past the end of the file");
  return file;
}
