// Parsing, filtering, item texts, packing and text conversion of the enumerators.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "usb/enumerators.h"
#include "usb/fake_allocation.h"
#include "usb/multi_string.h"
#include "usb/number_text.h"
#include "usb/wide_text.h"

namespace {

const char kPlainPath[] = "\\\\?\\usb#vid_1a2b&pid_4d5e#5&2f1e&0&1#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

struct ParseRow {
  const char* path;
  bool found;
  std::uint16_t vid;
  std::uint16_t pid;
  std::int32_t interfaceNumber;
};

TEST(ParseDevicePath, ReadsIdentifiersAndInterfaceNumber) {
  const ParseRow rows[] = {
      {kPlainPath, true, 0x1A2B, 0x4D5E, -1},
      {"\\\\?\\usb#vid_1a2b&pid_4d5e&mi_01#7&2f41d9e&0&0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", true, 0x1A2B,
       0x4D5E, 1},
      // The decimal reading stops at the letter.
      {"\\\\?\\usb#vid_1a2b&pid_4d5e&mi_0a#7&5d1e2f&0&000a#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", true, 0x1A2B,
       0x4D5E, 0},
      {"\\\\?\\usb#vid_1a2b&pid_4d5e&mi_123#x", true, 0x1A2B, 0x4D5E, 123},
      // Digits beyond 16 bits are cut to the low 16.
      {"\\\\?\\usb#vid_11a2b&pid_f4d5e#x", true, 0x1A2B, 0x4D5E, -1},
      {"\\\\?\\usb#vid_123456789abc&pid_0001#x", true, 0xFFFF, 0x0001, -1},  // clamped to 0x7FFFFFFF first
      {"usb#vid_0x1a2b&pid_&#x", true, 0x1A2B, 0x0000, -1},                  // 0x prefix; no digits give 0
      {"usb#pid_0002&vid_0001", true, 0x0001, 0x0002, -1},                   // either order
      {"vid_0001&pid_0002&mi_03", true, 0x0001, 0x0002, 3},                  // no '#': all hardware id
      // Any letter case: Windows leaves it to the bus driver.
      {"\\\\?\\USB#VID_1A2B&PID_4D5E&MI_01#7&2F41D9E&0&0001#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}", true, 0x1A2B,
       0x4D5E, 1},
      {"\\\\?\\Usb#Vid_00aB&pId_Cd00&mI_12#x", true, 0x00AB, 0xCD00, 12},
      // "mi_" only in the hardware id: the instance part is the device's own text (a serial number).
      {"\\\\?\\usb#vid_1a2b&pid_4d5e#mi_05serial#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", true, 0x1A2B, 0x4D5E, -1},
      {"\\\\?\\usb#vid_1a2b&pid_4d5e#7&MI_02&0#{mi_04}", true, 0x1A2B, 0x4D5E, -1},
      {"\\\\?\\usbmi_06#vid_1a2b&pid_4d5e#x", true, 0x1A2B, 0x4D5E, -1},  // nor in the bus prefix
      {"\\\\?\\usb#vid_1a2b&pid_4d5e&mi_07", true, 0x1A2B, 0x4D5E, 7},    // hardware id up to the end
      {"\\\\?\\USB#VID_1A2B#5&2F1E&0&1", false, 0, 0, 0},
      {"\\\\?\\usb#vid_1a2b#5&2f1e&0&1#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", false, 0, 0, 0},
      {"\\\\?\\usb#pid_4d5e#5", false, 0, 0, 0},
      {"", false, 0, 0, 0},
  };
  NZUsbVidPidEnumerator enumerator;
  for (const ParseRow& row : rows) {
    SCOPED_TRACE(row.path);
    std::uint16_t vid = 0xAAAA;
    std::uint16_t pid = 0xBBBB;
    std::int32_t interfaceNumber = 77;
    ASSERT_EQ(enumerator.ParseDevicePath(row.path, vid, pid, interfaceNumber), row.found);
    if (row.found) {
      EXPECT_EQ(vid, row.vid);
      EXPECT_EQ(pid, row.pid);
      EXPECT_EQ(interfaceNumber, row.interfaceNumber);
    } else {
      EXPECT_EQ(vid, 0xAAAA);
      EXPECT_EQ(pid, 0xBBBB);
      EXPECT_EQ(interfaceNumber, 77);
    }
  }
}

TEST(ItemText, FormatsIdentifiersAndInterface) {
  EXPECT_EQ(FormatUsbItemText(0x1A2B, 0x4D5E, -1), "VID:0x1A2B,PID:0x4D5E");
  EXPECT_EQ(FormatUsbItemText(0x1A2B, 0x4D5E, 1), "VID:0x1A2B,PID:0x4D5E,MI:01");
  EXPECT_EQ(FormatUsbItemText(0x000a, 0x00ff, 0), "VID:0x000A,PID:0x00FF,MI:00");
  EXPECT_EQ(FormatUsbItemText(0x1A2B, 0x4D5E, 123), "VID:0x1A2B,PID:0x4D5E,MI:123");
  EXPECT_EQ(FormatUsbItemText(0x1A2B, 0x4D5E, -5), "VID:0x1A2B,PID:0x4D5E");
  // The longest text there can be.
  EXPECT_EQ(FormatUsbItemText(0xFFFF, 0xFFFF, 2147483647), "VID:0xFFFF,PID:0xFFFF,MI:2147483647");
}

struct FilterRow {
  std::vector<VidPidPair> pairs;
  bool accepted;
};

TEST(MatchesFilter, AcceptsWhenAnyPairMatches) {
  const FilterRow rows[] = {
      {{{0x1A2B, 0x4D5E}}, true},
      {{{0x1A2B, 0x4D5F}}, false},
      {{{0x1A2B, 65535}}, true},        // product half empty
      {{{-1, -1}}, true},               // both halves empty
      {{{0x0001, 0x0002}, {0x1A2B, 0x4D5E}}, true},
      {{{0x1A2B, 65534}}, false},       // 65534 still filters: pid_fffe
      {{{70000, 0x4D5E}}, true},        // above 65535: vendor half empty
      {{{-7, 0x4D5F}}, false},          // the other half still decides
      {{{0x0001, 0x0002}}, false},
      {{}, false},
  };
  for (const FilterRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "pairs " << row.pairs.size() << " first vid "
                                    << (row.pairs.empty() ? 0 : row.pairs[0].vid));
    NZUsbVidPidEnumerator enumerator;
    enumerator.filterCount = static_cast<std::int32_t>(row.pairs.size());
    enumerator.filterPairs = row.pairs.data();
    EXPECT_EQ(enumerator.MatchesFilter(kPlainPath), row.accepted);
  }
}

TEST(MatchesFilter, FindsTheIdentifiersInAnyLetterCase) {
  const struct {
    const char* path;
    bool accepted;
  } rows[] = {
      {"usb#vid_abcd&pid_00ef#", true},
      {"USB#VID_ABCD&PID_00EF#", true},
      {"usb#Vid_AbCd&pId_00eF#", true},
      {"USB#VID_ABC&PID_00EF#", false},   // one digit short
      {"USB#VID_ABCD&PID_00EE#", false},
      {"USB#VID_ABCD#", false},
  };
  const VidPidPair pair{0xABCD, 0x00EF};
  NZUsbVidPidEnumerator enumerator;
  enumerator.filterCount = 1;
  enumerator.filterPairs = &pair;
  for (const auto& row : rows) EXPECT_EQ(enumerator.MatchesFilter(row.path), row.accepted) << row.path;
}

TEST(RootEnumerators, ListNothingAndLeaveTheBufferAlone) {
  NZEnumerator root;
  NZUsbVidPidEnumerator usb;
  for (NZEnumerator* enumerator : {&root, static_cast<NZEnumerator*>(&usb)}) {
    char narrow[16];
    std::memset(narrow, 0x5A, sizeof narrow);
    std::int32_t total = 99;
    EXPECT_EQ(enumerator->EnumerateA(narrow, sizeof narrow, &total), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(narrow[0], 0x5A);
    char16_t wide[8];
    std::fill(std::begin(wide), std::end(wide), u'Z');
    total = 99;
    EXPECT_EQ(enumerator->EnumerateW(wide, sizeof wide, &total), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(wide[0], u'Z');
    EXPECT_EQ(enumerator->EnumerateW(nullptr, 0, nullptr), 0);
  }
}

TEST(NarrowPacking, CopiesOnlyWhatFitsWithTheClosingZero) {
  const std::string item(21, 'a');
  for (std::uint32_t capacity : {23u, 22u}) {
    SCOPED_TRACE(capacity);
    std::vector<char> buffer(30, 'Z');
    NarrowItemWriter writer(buffer.data(), capacity);
    writer.Add(item);
    EXPECT_EQ(writer.total(), 23);
    if (capacity == 23) {
      EXPECT_EQ(writer.count(), 1);
      EXPECT_EQ(std::string(buffer.data(), 23), item + std::string(2, '\0'));
    } else {
      EXPECT_EQ(writer.count(), 0);
      EXPECT_EQ(buffer[0], 'Z');
    }
    EXPECT_EQ(buffer[23], 'Z');
  }
}

TEST(NarrowPacking, ALaterShorterItemStillGoesIn) {
  std::vector<char> buffer(40, 'Z');
  NarrowItemWriter writer(buffer.data(), 30);
  writer.Add("short");               // uses 6, leaves 24
  writer.Add(std::string(23, 'b'));  // needs 25: skipped
  writer.Add(std::string(22, 'c'));  // needs 24: fits exactly
  EXPECT_EQ(writer.count(), 2);
  EXPECT_EQ(writer.total(), 7 + 25 + 24);
  EXPECT_EQ(std::string(buffer.data(), 30), std::string("short\0", 6) + std::string(22, 'c') + std::string(2, '\0'));
  EXPECT_EQ(buffer[30], 'Z');
}

TEST(NarrowPacking, NullBufferOnlyCounts) {
  NarrowItemWriter writer(nullptr, 1000);
  writer.Add("abc");
  EXPECT_EQ(writer.count(), 0);
  EXPECT_EQ(writer.total(), 5);
}

TEST(WidePacking, FitsByteExactlyAndSkipsOneByteShort) {
  const std::u16string item(21, u'a');
  for (std::uint32_t capacity : {46u, 45u}) {
    SCOPED_TRACE(capacity);
    std::vector<char16_t> buffer(30, u'Z');
    WideItemWriter writer(buffer.data(), capacity);
    writer.Add(item);
    EXPECT_EQ(writer.total(), 46);
    EXPECT_EQ(writer.count(), capacity == 46 ? 1 : 0);
    EXPECT_EQ(buffer[0], capacity == 46 ? u'a' : u'Z');
    if (capacity == 46) {
      EXPECT_EQ(std::u16string(buffer.data(), 23), item + std::u16string(2, u'\0'));
    }
    EXPECT_EQ(buffer[23], u'Z');
  }
}

TEST(WidePacking, FortyFiveItemsIn2000Bytes) {
  std::vector<char16_t> buffer(1000, u'Z');
  WideItemWriter writer(buffer.data(), 2000);
  for (int i = 0; i < 46; ++i) writer.Add(u"VID:0x1A2B,PID:0x4D5E");
  EXPECT_EQ(writer.count(), 45);
  EXPECT_EQ(writer.total(), 46 * 46);
  // 45 items of 22 units, then the closing zero; the rest untouched.
  EXPECT_EQ(buffer[45 * 22 - 1], u'\0');
  EXPECT_EQ(buffer[45 * 22], u'\0');
  EXPECT_EQ(buffer[45 * 22 + 1], u'Z');
  int walked = 0;
  ForEachItem(buffer.data(), buffer.size(), [&walked](std::u16string_view) { ++walked; });
  EXPECT_EQ(walked, 45);
}

TEST(ForEachItem, StopsAtTheEmptyItemAndAtTheBufferEnd) {
  std::vector<std::string> seen;
  const char list[] = "one\0two\0\0three\0";
  ForEachItem(list, sizeof list, [&seen](std::string_view item) { seen.emplace_back(item); });
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "two"}));
  seen.clear();
  const char cut[] = {'a', 0, 'b', 'c'};  // the last item has no terminator within the buffer
  ForEachItem(cut, sizeof cut, [&seen](std::string_view item) { seen.emplace_back(item); });
  EXPECT_EQ(seen, (std::vector<std::string>{"a"}));
}

struct ReadRow {
  const char16_t* text;
  std::int32_t value;
};

TEST(ReadLong, FollowsWcstolInBase16) {
  const ReadRow rows[] = {
      {u"1A2B", 0x1A2B},          {u"0x1a2b", 0x1A2B},       {u"1A2B;", 0x1A2B},
      {u" \t0X1A2B", 0x1A2B},     {u"", 0},                  {u"zz", 0},
      {u"0x", 0},                 {u"0xg", 0},               {u"-10", -16},
      {u"+ff", 255},              {u"FFFF", 65535},          {u"7FFFFFFF", 0x7FFFFFFF},
      {u"80000000", 0x7FFFFFFF},  {u"-80000000", INT32_MIN}, {u"-FFFFFFFFFFFF", INT32_MIN},
      {u"123456789abcdef0123", 0x7FFFFFFF},
  };
  for (const ReadRow& row : rows) {
    SCOPED_TRACE(std::string(row.text, row.text + std::char_traits<char16_t>::length(row.text)));
    EXPECT_EQ(ReadLong(row.text, 16), row.value);
  }
  EXPECT_EQ(ReadLong(static_cast<const char16_t*>(nullptr), 16), 0);
}

TEST(ReadDecimal, FollowsAtoi) {
  EXPECT_EQ(ReadDecimal("01#"), 1);
  EXPECT_EQ(ReadDecimal("0a"), 0);
  EXPECT_EQ(ReadDecimal(" -3"), -3);
  EXPECT_EQ(ReadDecimal("x1"), 0);
  EXPECT_EQ(ReadDecimal("99999999999"), INT32_MAX);
}

std::u16string Take(char16_t* text) {
  std::u16string out = text ? std::u16string(text) : u"<null>";
  std::free(text);
  return out;
}

TEST(NarrowToWideText, ConvertsInTheUserLocale) {
  EXPECT_EQ(Take(NarrowToWideText("VID:0x1A2B,PID:0x4D5E")), u"VID:0x1A2B,PID:0x4D5E");
  EXPECT_EQ(Take(NarrowToWideText("")), u"");
  EXPECT_EQ(NarrowToWideText(nullptr), nullptr);

  // A UTF-8 user locale: multibyte characters, one outside the basic plane as a surrogate pair.
  const char* saved = std::getenv("LC_ALL");
  std::string savedValue = saved ? saved : "";
  setenv("LC_ALL", "C.UTF-8", 1);
  EXPECT_EQ(Take(NarrowToWideText("caf\xC3\xA9 \xF0\x9F\x96\xA8")), u"caf\u00E9 \U0001F5A8");
  if (saved) setenv("LC_ALL", savedValue.c_str(), 1);
  else unsetenv("LC_ALL");
  std::setlocale(LC_ALL, "C");
}

TEST(NarrowToWideText, NoMemoryGivesNull) {
  for (int failing = 1; failing <= 3; ++failing) {
    SCOPED_TRACE(failing);
    ScopedFakeAllocation allocation;
    allocation.fail = [failing](std::size_t, int call) { return call == failing; };
    EXPECT_EQ(NarrowToWideText("abc"), nullptr);
  }
}

TEST(DuplicateWideText, AllocatesExactlyLengthPlusOne) {
  ScopedFakeAllocation allocation;
  EXPECT_EQ(Take(DuplicateWideText(u"USB002")), u"USB002");
  EXPECT_EQ(allocation.sizes, (std::vector<std::size_t>{7 * sizeof(char16_t)}));
  EXPECT_EQ(DuplicateWideText(nullptr), nullptr);
  allocation.fail = [](std::size_t, int) { return true; };
  EXPECT_EQ(DuplicateWideText(u"x"), nullptr);
}

}  // namespace
