#include <gtest/gtest.h>

#include "app/ipv4_text.h"

TEST(Ipv4Text, DottedDecimalOfThePackedFields) {
  EXPECT_EQ(u"192.168.1.200", Ipv4Text(kDefaultPrinterAddress, 4));
  EXPECT_EQ(u"255.255.255.255", Ipv4Text(0xFFFFFFFFu, 4));
  EXPECT_EQ(u"10.0.0.0", Ipv4Text(0x0A000000u, 1));  // blank fields read as 0, as the control gives them
  EXPECT_EQ(u"", Ipv4Text(0, 0));
}
