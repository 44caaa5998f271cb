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
