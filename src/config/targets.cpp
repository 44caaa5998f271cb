#include "config/targets.h"

#include "config/load_install_context.h"
#include "diag/format.h"

namespace {

constexpr std::size_t kLongestPattern = 63;  // a DNS label; a NetBIOS name has 15
constexpr std::uint32_t kSectionBuffer = 32768;

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c; }

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

// The comma-separated items, trimmed; an empty item stays (and is refused by its parser).
std::vector<std::u16string_view> Items(std::u16string_view list) {
  std::vector<std::u16string_view> items;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = list.find(u',', start);
    items.push_back(Trimmed(list.substr(start, comma == std::u16string_view::npos ? std::u16string_view::npos : comma - start)));
    if (comma == std::u16string_view::npos) return items;
    start = comma + 1;
  }
}

bool PatternCharacter(char16_t c) {
  if (c <= u' ' || c == 0x7F) return false;
  return std::u16string_view(u"\\/:\"<>|,=").find(c) == std::u16string_view::npos;
}

std::optional<std::u16string> PatternProblem(std::u16string_view pattern) {
  if (pattern.empty()) return u"an empty pattern";
  if (pattern.size() > kLongestPattern) return u"a pattern longer than 63 characters";
  for (char16_t c : pattern) {
    if (!PatternCharacter(c)) return u"a character no computer name has";
  }
  return std::nullopt;
}

}  // namespace

std::optional<Ipv4Range> ParseIpv4Range(std::u16string_view text) {
  const std::size_t slash = text.find(u'/');
  if (slash != std::u16string_view::npos) {
    const std::optional<std::uint32_t> base = ParseIpv4Address(text.substr(0, slash));
    const std::u16string_view length = text.substr(slash + 1);
    if (!base || length.empty() || length.size() > 2 || (length.size() == 2 && length[0] == u'0')) return std::nullopt;
    std::uint32_t bits = 0;
    for (char16_t c : length) {
      if (c < u'0' || c > u'9') return std::nullopt;
      bits = bits * 10 + (c - u'0');
    }
    if (bits > 32) return std::nullopt;
    const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
    return Ipv4Range{*base & mask, (*base & mask) | ~mask};
  }
  const std::size_t dash = text.find(u'-');
  if (dash == std::u16string_view::npos) return std::nullopt;
  const std::optional<std::uint32_t> first = ParseIpv4Address(Trimmed(text.substr(0, dash)));
  const std::optional<std::uint32_t> last = ParseIpv4Address(Trimmed(text.substr(dash + 1)));
  if (!first || !last || *last < *first) return std::nullopt;
  return Ipv4Range{*first, *last};
}

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view text) {
  // Greedy with one backtrack point: the last '*' seen and where its run now ends.
  std::size_t p = 0, t = 0;
  std::size_t star = std::u16string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && (pattern[p] == u'?' || Upper(pattern[p]) == Upper(text[t]))) {
      ++p;
      ++t;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

std::optional<TargetError> ParseTarget(const std::u16string& label, const std::vector<NamedValue>& entries,
                                       Target& target) {
  const std::u16string section = kTargetSectionPrefix + label;
  target = Target{};
  target.label = label;
  bool matchKey = false;
  for (const NamedValue& entry : entries) {
    const std::u16string_view name = Trimmed(entry.key);
    const std::u16string_view value = Trimmed(entry.value);
    if (SameKey(name, u"ComputerName")) {
      matchKey = true;
      for (std::u16string_view pattern : Items(value)) {
        if (std::optional<std::u16string> problem = PatternProblem(pattern)) {
          return TargetError{section, u"ComputerName", *problem};
        }
        target.computerNames.emplace_back(pattern);
      }
    } else if (SameKey(name, u"IPRange")) {
      matchKey = true;
      for (std::u16string_view item : Items(value)) {
        const std::optional<Ipv4Range> range = ParseIpv4Range(item);
        if (!range) {
          return TargetError{section, u"IPRange",
                             u"\"" + std::u16string(item) + u"\" is not a.b.c.d/len or a.b.c.d-e.f.g.h"};
        }
        target.ranges.push_back(*range);
      }
    } else if (IsSettableName(name)) {
      target.values.push_back({std::u16string(name), std::u16string(value)});
    } else {
      return TargetError{section, std::u16string(name), u"not a key a target can set"};
    }
  }
  if (!matchKey) return TargetError{section, u"ComputerName", u"the target has neither ComputerName nor IPRange"};
  return std::nullopt;
}

ReadTargets ReadTargetSections(ProfileReader& profile, const std::u16string& configPath) {
  ReadTargets read;
  std::u16string names;
  const std::uint32_t count = profile.GetPrivateProfileSectionNamesW(names, kSectionBuffer, configPath);
  const std::u16string_view prefix = kTargetSectionPrefix;
  for (const std::u16string& name : SplitEntries(WholeSectionEntries(names, count))) {
    if (name.size() <= prefix.size() || !SameKey(std::u16string_view(name).substr(0, prefix.size()), prefix)) continue;
    std::u16string section;
    const std::uint32_t size = profile.GetPrivateProfileSectionW(name, section, kSectionBuffer, configPath);
    std::vector<NamedValue> entries;
    for (const std::u16string& line : SplitEntries(WholeSectionEntries(section, size))) {
      std::optional<NamedValue> entry = SplitPrinterDataEntry(line);
      entries.push_back(entry ? *entry : NamedValue{line, u""});
    }
    Target target;
    if (std::optional<TargetError> error = ParseTarget(name.substr(prefix.size()), entries, target)) {
      read.error = error;
      read.targets.clear();
      return read;
    }
    read.targets.push_back(std::move(target));
  }
  return read;
}

bool TargetMatches(const Target& target, const Machine& machine) {
  if (!target.computerNames.empty()) {
    bool any = false;
    for (const std::u16string& pattern : target.computerNames) any = any || MatchesWildcard(pattern, machine.computerName);
    if (!any) return false;
  }
  if (!target.ranges.empty()) {
    bool any = false;
    for (const Ipv4Range& range : target.ranges) {
      for (std::uint32_t address : machine.addresses) any = any || (address >= range.first && address <= range.last);
    }
    if (!any) return false;
  }
  return !target.computerNames.empty() || !target.ranges.empty();
}

const Target* FirstMatchingTarget(const std::vector<Target>& targets, const Machine& machine) {
  for (const Target& target : targets) {
    if (TargetMatches(target, machine)) return &target;
  }
  return nullptr;
}

std::u16string MachineFacts(const Machine& machine) {
  std::u16string facts = u"name " + machine.computerName + u"; ";
  if (machine.addresses.empty()) return facts + u"no IPv4 address";
  facts += u"addresses ";
  for (std::size_t i = 0; i < machine.addresses.size(); ++i) facts += (i ? u", " : u"") + Ipv4Text(machine.addresses[i], 4);
  return facts;
}
