#pragma once
// [TARGET.<label>] sections: which PC gets which values. A target matches when every match key
// it has matches this PC; the first target in the file's order that matches wins.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ipv4_text.h"
#include "config/overrides.h"
#include "config/profile_reader.h"

inline constexpr char16_t kTargetSectionPrefix[] = u"TARGET.";

// Inclusive, host byte order (a.b.c.d is a << 24 | b << 16 | c << 8 | d).
struct Ipv4Range {
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};

// "a.b.c.d/len" (len 0..32; the address need not be the network's first) or "a.b.c.d-e.f.g.h"
// (not ending before it starts).
std::optional<Ipv4Range> ParseIpv4Range(std::u16string_view text);

// '*' any run of characters, '?' any one; letters without regard to case.
bool MatchesWildcard(std::u16string_view pattern, std::u16string_view text);

// The PC as a target sees it.
struct Machine {
  std::u16string computerName;          // NetBIOS name
  std::vector<std::uint32_t> addresses;  // IPv4 unicast addresses of the adapters that are up
};

struct Target {
  std::u16string label;
  std::vector<std::u16string> computerNames;  // patterns
  std::vector<Ipv4Range> ranges;
  std::vector<NamedValue> values;
};

// A target section that cannot be used: "TARGET.<label>", the key, and why.
struct TargetError {
  std::u16string section;
  std::u16string key;
  std::u16string reason;
};

struct ReadTargets {
  std::vector<Target> targets;
  std::optional<TargetError> error;  // the first section at fault; then no target is used
};

// One section's entries; the error names the key at fault.
std::optional<TargetError> ParseTarget(const std::u16string& label, const std::vector<NamedValue>& entries,
                                       Target& target);

// Every [TARGET.<label>] section of the file, in its order.
ReadTargets ReadTargetSections(ProfileReader& profile, const std::u16string& configPath);

bool TargetMatches(const Target& target, const Machine& machine);

// The first target that matches; null when none does.
const Target* FirstMatchingTarget(const std::vector<Target>& targets, const Machine& machine);

// "name LBL-PC07; addresses 10.1.20.7, 192.168.5.3" (or "no IPv4 address").
std::u16string MachineFacts(const Machine& machine);
