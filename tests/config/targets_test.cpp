#include "config/targets.h"

#include <gtest/gtest.h>

#include "config/resolve_configuration.h"
#include "fake_profile_reader.h"

namespace {

const std::u16string kConfig = u"C:\\setup\\config.ini";

TEST(Wildcard, MatchesAsDocumented) {
  struct Case {
    const char16_t* pattern;
    const char16_t* name;
    bool matches;
  } cases[] = {
      {u"LBL-PC07", u"LBL-PC07", true}, {u"lbl-pc07", u"LBL-PC07", true}, {u"LBL-PC0?", u"LBL-PC07", true},
      {u"LBL-PC?", u"LBL-PC07", false}, {u"*07", u"LBL-PC07", true},      {u"LBL*", u"LBL-PC07", true},
      {u"*PC*", u"LBL-PC07", true},     {u"*", u"LBL-PC07", true},        {u"*", u"", true},
      {u"L*P*7", u"LBL-PC07", true},    {u"L*P*8", u"LBL-PC07", false},   {u"", u"LBL-PC07", false},
      {u"LBL-PC07X", u"LBL-PC07", false}, {u"??", u"A", false},           {u"**a**", u"bab", true},
      {u"*", u"*x", true},              {u"a*", u"a*", true},             {u"?", u"*", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.matches, MatchesWildcard(c.pattern, c.name))
        << std::string(c.pattern, c.pattern + std::char_traits<char16_t>::length(c.pattern));
  }
}

TEST(Ipv4Range, CidrAndSpansWithTheirEdges) {
  struct Case {
    const char16_t* text;
    std::optional<std::pair<const char16_t*, const char16_t*>> range;
  } cases[] = {
      {u"10.1.20.0/24", {{u"10.1.20.0", u"10.1.20.255"}}},
      {u"10.1.20.77/24", {{u"10.1.20.0", u"10.1.20.255"}}},  // any address of the network
      {u"10.1.20.7/32", {{u"10.1.20.7", u"10.1.20.7"}}},
      {u"0.0.0.0/0", {{u"0.0.0.0", u"255.255.255.255"}}},
      {u"10.0.0.1-10.0.0.5", {{u"10.0.0.1", u"10.0.0.5"}}},
      {u"10.0.0.5 - 10.0.0.5", {{u"10.0.0.5", u"10.0.0.5"}}},
      {u"10.0.0.5-10.0.0.1", std::nullopt},  // ends before it starts
      {u"10.0.0.0/33", std::nullopt},         {u"10.0.0.0/", std::nullopt},  {u"10.0.0.0/08", std::nullopt},
      {u"10.0.0/8", std::nullopt},            {u"10.0.0.256/8", std::nullopt}, {u"010.0.0.1/8", std::nullopt},
      {u"10.0.0.1", std::nullopt},            {u"", std::nullopt},           {u"-", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
    const std::optional<Ipv4Range> range = ParseIpv4Range(c.text);
    ASSERT_EQ(c.range.has_value(), range.has_value());
    if (!range) continue;
    EXPECT_EQ(*ParseIpv4Address(c.range->first), range->first);
    EXPECT_EQ(*ParseIpv4Address(c.range->second), range->last);
  }
}

TEST(Target, SectionsAtFaultNameTheirKey) {
  struct Case {
    std::vector<NamedValue> entries;
    std::optional<std::pair<const char16_t*, const char16_t*>> error;  // key, reason
  } cases[] = {
      {{{u"ComputerName", u"LBL-*"}, {u"IPAddress", u"10.0.0.9"}}, std::nullopt},
      {{{u"IPRange", u"10.0.0.0/8, 192.168.1.1-192.168.1.9"}, {u"Data.Darkness", u"12"}}, std::nullopt},
      {{{u"IPAddress", u"10.0.0.9"}}, {{u"ComputerName", u"the target has neither ComputerName nor IPRange"}}},
      {{{u"ComputerName", u"A,,B"}}, {{u"ComputerName", u"an empty pattern"}}},
      {{{u"ComputerName", std::u16string(300, u'A')}}, {{u"ComputerName", u"a pattern longer than 63 characters"}}},
      {{{u"ComputerName", u"PC 1"}}, {{u"ComputerName", u"a character no computer name has"}}},
      {{{u"IPRange", u"10.0.0.0/33"}}, {{u"IPRange", u"\"10.0.0.0/33\" is not a.b.c.d/len or a.b.c.d-e.f.g.h"}}},
      {{{u"ComputerName", u"*"}, {u"Colour", u"red"}}, {{u"Colour", u"not a key a target can set"}}},
  };
  for (const Case& c : cases) {
    Target target;
    const std::optional<TargetError> error = ParseTarget(u"Bay3", c.entries, target);
    ASSERT_EQ(c.error.has_value(), error.has_value());
    if (!error) continue;
    EXPECT_EQ(u"TARGET.Bay3", error->section);
    EXPECT_EQ(c.error->first, error->key);
    EXPECT_EQ(c.error->second, error->reason);
  }
}

class FixedMachine : public MachineIdentity {
 public:
  explicit FixedMachine(Machine machine) : machine_(std::move(machine)) {}
  Machine Read() override {
    ++asked;
    return machine_;
  }
  int asked = 0;

 private:
  Machine machine_;
};

// config.ini with two targets for one site: the first that matches wins, the command line wins over it.
struct Site {
  Site() {
    profile.path = kConfig;
    profile.Add(u"ARGS", u"PrnName=Label");
    profile.Add(u"ARGS", u"IPAddress=10.0.0.1");
    profile.Add(u"TARGET.Packing", u"ComputerName=PACK-*");
    profile.Add(u"TARGET.Packing", u"IPRange=10.1.20.0/24");
    profile.Add(u"TARGET.Packing", u"IPAddress=10.1.20.50");
    profile.Add(u"TARGET.Packing", u"Data.Darkness=12");
    profile.Add(u"TARGET.Office", u"IPRange=10.1.0.0/16");
    profile.Add(u"TARGET.Office", u"PrnName=Office Label");
    context.configPath = kConfig;
    context.printerBaseName = u"Label";
    context.printerAddress = u"10.0.0.1";
    context.printerData = {{u"Darkness", u"8"}};
  }
  Resolution Resolve(Machine machine, std::vector<NamedValue> commandLine = {}) {
    FixedMachine identity(std::move(machine));
    return ResolveConfiguration(context, ReadTargetSections(profile, kConfig), identity, commandLine);
  }
  FakeProfileReader profile;
  InstallContext context;
};

TEST(Resolve, FirstMatchingTargetThenTheCommandLine) {
  struct Case {
    const char* name;
    Machine machine;
    std::vector<NamedValue> commandLine;
    std::optional<std::u16string> target;
    std::u16string printer, address, darkness;
  };
  const std::uint32_t packing = *ParseIpv4Address(u"10.1.20.7"), office = *ParseIpv4Address(u"10.1.5.5");
  const Case cases[] = {
      {"both keys match", {u"PACK-07", {office, packing}}, {}, u"Packing", u"Label", u"10.1.20.50", u"12"},
      {"name without the range", {u"PACK-07", {office}}, {}, u"Office", u"Office Label", u"10.0.0.1", u"8"},
      {"range alone", {u"OFFICE-2", {office}}, {}, u"Office", u"Office Label", u"10.0.0.1", u"8"},
      {"nothing matches", {u"HOME", {}}, {}, std::nullopt, u"Label", u"10.0.0.1", u"8"},
      {"command line wins",
       {u"PACK-07", {packing}},
       {{u"ipaddress", u"10.9.9.9"}, {u"Data.darkness", u"3"}},
       u"Packing",
       u"Label",
       u"10.9.9.9",
       u"3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Site site;
    const Resolution resolution = site.Resolve(c.machine, c.commandLine);
    EXPECT_EQ(c.target, resolution.targetLabel);
    EXPECT_EQ(!c.target, resolution.NoTargetMatched());
    EXPECT_EQ(c.printer, site.context.printerBaseName);
    EXPECT_EQ(c.address, site.context.printerAddress);
    ASSERT_EQ(1u, site.context.printerData.size());
    EXPECT_EQ(c.darkness, site.context.printerData[0].value);
  }
}

TEST(Resolve, EachValueSaysWhereItCameFrom) {
  Site site;
  const Resolution resolution =
      site.Resolve({u"PACK-07", {*ParseIpv4Address(u"10.1.20.7")}}, {{u"PrnName", u"Bay 3"}, {u"Data.Speed", u"4"}});
  std::vector<std::u16string> sources;
  for (const ResolvedValue& value : resolution.values) {
    if (value.name == u"PrnName" || value.name == u"IPAddress" || value.name == u"Caption" ||
        value.name.rfind(u"Data.", 0) == 0) {
      sources.push_back(value.name + u"=" + value.value + u" " + value.source);
    }
  }
  const std::vector<std::u16string> expected = {u"Caption= config.ini", u"PrnName=Bay 3 command line",
                                                u"IPAddress=10.1.20.50 TARGET.Packing",
                                                u"Data.Darkness=12 TARGET.Packing", u"Data.Speed=4 command line"};
  EXPECT_EQ(expected, sources);
  EXPECT_EQ(u"No target in config.ini matches this PC (name LBL-PC07; addresses 10.1.20.7, 192.168.5.3). Nothing was changed.",
            NoTargetText(site.context, {u"LBL-PC07", {*ParseIpv4Address(u"10.1.20.7"), *ParseIpv4Address(u"192.168.5.3")}}));
}

TEST(Resolve, AFileWithoutTargetsNeverAsksWhoThePcIs) {
  FakeProfileReader profile;
  profile.path = kConfig;
  profile.Add(u"ARGS", u"PrnName=Label");
  InstallContext context;
  FixedMachine identity({u"PC", {}});
  const Resolution resolution = ResolveConfiguration(context, ReadTargetSections(profile, kConfig), identity, {});
  EXPECT_EQ(0, identity.asked);
  EXPECT_FALSE(resolution.NoTargetMatched());
}

}  // namespace
