#include <gtest/gtest.h>

#include "config/ipv4_text.h"

TEST(Ipv4Text, DottedDecimalOnlyWhenEveryFieldIsFilled) {
  EXPECT_EQ(u"192.168.1.200", Ipv4Text(kDefaultPrinterAddress, 4));
  EXPECT_EQ(u"255.255.255.255", Ipv4Text(0xFFFFFFFFu, 4));
  EXPECT_EQ(u"0.0.0.0", Ipv4Text(0, 4));
  // A blank field reads as 0: "10.0.0.0" would name a port after an address nobody typed.
  EXPECT_EQ(u"", Ipv4Text(0x0A000000u, 1));
  EXPECT_EQ(u"", Ipv4Text(0x0A010200u, 3));
  EXPECT_EQ(u"", Ipv4Text(0, 0));
}

TEST(ParseIpv4Address, TakesPlainDottedDecimalOnly) {
  struct Case {
    const char16_t* text;
    std::optional<std::uint32_t> expected;
  };
  const Case cases[] = {
      {u"192.168.1.200", kDefaultPrinterAddress},
      {u"0.0.0.0", 0u},
      {u"255.255.255.255", 0xFFFFFFFFu},
      {u"10.0.0.1", 0x0A000001u},
      {u"", std::nullopt},
      {u"256.1.1.1", std::nullopt},
      {u"1.2.3", std::nullopt},
      {u"1.2.3.4.5", std::nullopt},
      {u"1.2.3.", std::nullopt},
      {u".1.2.3", std::nullopt},
      {u"1..2.3", std::nullopt},
      {u"01.2.3.4", std::nullopt},     // read as octal by some
      {u"1.2.3.0400", std::nullopt},
      {u"1.2.3.4 ", std::nullopt},
      {u" 1.2.3.4", std::nullopt},
      {u"1.2.3.a", std::nullopt},
      {u"1.2.3.-4", std::nullopt},
      {u"printer.local", std::nullopt},
      {u"1.2.3.4\u0661", std::nullopt},  // a non-ASCII digit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ParseIpv4Address(c.text)) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)).size();
  }
  for (std::uint32_t address : {kDefaultPrinterAddress, 0x7F000001u, 0xC0A80001u}) {
    EXPECT_EQ(address, ParseIpv4Address(Ipv4Text(address, 4)));
  }
}

TEST(IsPrinterAddress, RefusesNoHostBroadcastAndMulticast) {
  struct Case {
    const char16_t* text;
    bool printer;
  };
  const Case cases[] = {
      {u"0.0.0.0", false},         {u"255.255.255.255", false}, {u"224.0.0.0", false},
      {u"224.0.0.251", false},     {u"239.255.255.255", false}, {u"230.1.2.3", false},
      {u"223.255.255.255", true},  {u"240.0.0.0", true},        {u"127.0.0.1", true},
      {u"127.255.255.254", true},  {u"0.0.0.1", true},          {u"255.255.255.254", true},
      {u"192.168.1.200", true},    {u"10.0.0.255", true},
  };
  for (const Case& c : cases) {
    const std::optional<std::uint32_t> address = ParseIpv4Address(c.text);
    ASSERT_TRUE(address.has_value());
    EXPECT_EQ(c.printer, IsPrinterAddress(*address)) << Ipv4Text(*address, 4).size() << " " << *address;
    EXPECT_EQ(c.printer, ParsePrinterAddress(c.text).has_value()) << *address;
  }
  EXPECT_EQ(std::nullopt, ParsePrinterAddress(u"010.001.001.001"));
  EXPECT_EQ(std::optional<std::uint32_t>(0x7F000001u), ParsePrinterAddress(u"127.0.0.1"));
}
