#include "config/overrides.h"

namespace {

constexpr std::u16string_view kDataPrefix = u"Data.";
constexpr std::u16string_view kDevModePrefix = u"DevMode.";
constexpr const char16_t* kDevModeKeys[] = {u"PaperSize", u"PaperWidth", u"PaperLength", u"Orientation",
                                            u"Copies",    u"PrintQuality", u"File"};

struct Field {
  const char16_t* name;
  std::u16string InstallContext::*member;
};

constexpr Field kFields[] = {
    {u"Caption", &InstallContext::caption},
    {u"PrnName", &InstallContext::printerBaseName},
    {u"Prefix", &InstallContext::driverPrefix},
    {u"DefaultLanguage", &InstallContext::defaultLanguage},
    {u"DefaultPorttype", &InstallContext::defaultPortType},
    {u"PortMonitor", &InstallContext::portMonitorName},
    {u"PortNamePrefix", &InstallContext::portNamePrefix},
    {u"IPAddress", &InstallContext::printerAddress},
    {u"IfExists", &InstallContext::ifExists},
    {u"NoTargetMatched", &InstallContext::noTargetMatched},
    {u"SpoolerWait", &InstallContext::spoolerWait},
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

const Field* FindField(std::u16string_view name) {
  for (const Field& field : kFields) {
    if (SameKey(name, field.name)) return &field;
  }
  return nullptr;
}

// The printer-data name of "Data.<name>"; empty for any other name.
std::u16string_view DataName(std::u16string_view name) {
  if (name.size() <= kDataPrefix.size() || !SameKey(name.substr(0, kDataPrefix.size()), kDataPrefix)) return {};
  return name.substr(kDataPrefix.size());
}

// The [DEVMODE] key of "DevMode.<key>", as config.ini spells it; null for any other name.
const char16_t* DevModeKey(std::u16string_view name) {
  if (name.size() <= kDevModePrefix.size() || !SameKey(name.substr(0, kDevModePrefix.size()), kDevModePrefix)) return nullptr;
  for (const char16_t* key : kDevModeKeys) {
    if (SameKey(name.substr(kDevModePrefix.size()), key)) return key;
  }
  return nullptr;
}

void SetEntry(std::vector<PrinterDataEntry>& entries, const std::u16string& key, const std::u16string& value) {
  for (PrinterDataEntry& entry : entries) {
    // The spooler (and the section) keep one value per name, whatever its case.
    if (SameKey(entry.key, key)) {
      entry.value = value;
      return;
    }
  }
  entries.push_back({key, value});
}

}  // namespace

bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsSettableName(std::u16string_view name) {
  return FindField(name) || !DataName(name).empty() || DevModeKey(name);
}

std::u16string CanonicalName(std::u16string_view name) {
  if (const Field* field = FindField(name)) return field->name;
  if (const char16_t* key = DevModeKey(name)) return std::u16string(kDevModePrefix) + key;
  return std::u16string(kDataPrefix) + std::u16string(DataName(name));
}

void ApplyNamedValue(InstallContext& context, const NamedValue& value) {
  if (const Field* field = FindField(value.key)) {
    context.*(field->member) = value.value;
    return;
  }
  if (const char16_t* key = DevModeKey(value.key)) {
    SetEntry(context.devModeEntries, key, value.value);
    return;
  }
  SetEntry(context.printerData, std::u16string(DataName(value.key)), value.value);
}

std::vector<ResolvedValue> SettableValues(const InstallContext& context) {
  std::vector<ResolvedValue> values;
  for (const Field& field : kFields) values.push_back({field.name, context.*(field.member), u"config.ini"});
  for (const PrinterDataEntry& entry : context.printerData) {
    values.push_back({std::u16string(kDataPrefix) + entry.key, entry.value, u"config.ini"});
  }
  for (const PrinterDataEntry& entry : context.devModeEntries) {
    values.push_back({std::u16string(kDevModePrefix) + entry.key, entry.value, u"config.ini"});
  }
  return values;
}
