#include <gtest/gtest.h>

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "diag/fake_diagnostics.h"

TEST(FormatWide, Dialect) {
  struct Case {
    std::u16string expected, got;
  };
  const Case cases[] = {
      {u"Copy A From B To C Result 0x0000001F\r\n",
       FormatWide(512, u"Copy %s From %s To %s Result 0x%08X\r\n", u"A", u"B", u"C", 0x1Fu)},
      {u"LBUSB007", FormatWide(260, u"%s%03d", u"LBUSB", 7)},
      {u"LBUSB123", FormatWide(260, u"%s%03d", u"LBUSB", 123)},
      {u"VID:0x1A2B,PID:0x004D", FormatWide(100, u"VID:0x%04X,PID:0x%04X", 0x1A2B, 0x4D)},
      {u"vid_1a2b", FormatWide(100, u"vid_%04x", 0x1A2B)},
      {u"Status:-5", FormatWide(100, u"Status:%d", -5)},
      {u"4294967295", FormatWide(100, u"%u", 0xFFFFFFFFu)},
      {u"-1", FormatWide(100, u"%d", 0xFFFFFFFFu)},
      {u"100%", FormatWide(100, u"100%%")},
      {u"[  ab]", FormatWide(100, u"[%4s]", u"ab")},
      {u"[ab  ]", FormatWide(100, u"[%-4s]", u"ab")},
      {u"narrow", FormatWide(100, u"%s", "narrow")},
      {u"x=", FormatWide(100, u"x=%s")},  // a missing argument gives nothing, never a crash
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, c.got);
}

TEST(FormatWide, NeverExceedsItsCapacity) {
  std::u16string big(2000, u'x');
  EXPECT_EQ(9u, FormatWide(10, u"%s", big).size());
  EXPECT_EQ(u"abc", FormatWide(4, u"abcdef"));
  EXPECT_EQ(u"00", FormatWide(3, u"%08X", 1u));
  EXPECT_EQ(u"", FormatWide(1, u"abc"));
  EXPECT_EQ(u"", FormatWide(0, u"abc"));
  EXPECT_EQ(3u, FormatWide(4, u"%1024d", 5).size());
}

TEST(FormatNarrow, SameDialect) {
  EXPECT_EQ("USB002\r\n", FormatNarrow(512, "%s\r\n", "USB002"));
  EXPECT_EQ(",MI:01", FormatNarrow(100, ",MI:%02d", 1));
  EXPECT_EQ(",MI:123", FormatNarrow(100, ",MI:%02d", 123));
}

TEST(CutToCapacity, KeepsAtMostCapacityMinusOne) {
  EXPECT_EQ(259u, CutToCapacity(std::u16string(300, u'a'), 260).size());
  EXPECT_EQ(u"ab", CutToCapacity(std::u16string(u"ab\0cd", 5), 260));
}

TEST(DebugTrace, PrefixAndExactText) {
  ScopedFakeDiagnostics diag;
  DebugTrace(u"MonitorExist");
  DebugTraceA("%s\r\n", "");
  DebugTrace(u"%s %s", u"Darkness", u"8");
  ASSERT_EQ(2u, diag.output.wide.size());
  EXPECT_EQ(u"Tollinder - MonitorExist", diag.output.wide[0]);
  EXPECT_EQ(u"Tollinder - Darkness 8", diag.output.wide[1]);
  ASSERT_EQ(1u, diag.output.narrow.size());
  EXPECT_EQ("Tollinder - \r\n", diag.output.narrow[0]);
}

TEST(DebugTrace, LongLinesAreCutToTheBuffer) {
  ScopedFakeDiagnostics diag;
  std::u16string path(400, u'p');
  DebugTrace(u"Copy %s From %s To %s Result 0x%08X\r\n", u"LBLENG.GPD", path, path, 0u);
  DebugTraceA("%s\r\n", std::string(900, 'i'));
  EXPECT_EQ(511u, diag.output.wide.at(0).size());
  EXPECT_EQ(0u, diag.output.wide.at(0).rfind(u"Tollinder - Copy LBLENG.GPD From ppp", 0));
  EXPECT_EQ(511u, diag.output.narrow.at(0).size());
}

TEST(DebugTrace, ASinkRemovedHearsNothingMore) {
  {
    ScopedFakeDiagnostics diag;
    DebugTrace(u"heard");
    ShowError(0, 1, u"seen");
    EXPECT_EQ(1u, diag.output.wide.size());
    EXPECT_EQ(1u, diag.dialogs.boxes.size());
  }
  // Without sinks the calls go nowhere: nothing is kept to reach a later sink.
  DebugTrace(u"nobody listens");
  ShowError(0, 1, u"nobody sees");
  ScopedFakeDiagnostics later;
  EXPECT_TRUE(later.output.wide.empty());
  EXPECT_TRUE(later.dialogs.boxes.empty());
}

TEST(AskYesNo, OnlyYesIsYes) {
  struct Answering : FakeDialogs {
    int answer = 0;
    int MessageBoxW(WindowHandle owner, const std::u16string& text, const std::optional<std::u16string>& caption,
                    std::uint32_t type) override {
      FakeDialogs::MessageBoxW(owner, text, caption, type);
      return answer;
    }
  };
  for (const auto& [answer, yes] : {std::pair{6, true}, std::pair{7, false}, std::pair{1, false}, std::pair{0, false}}) {
    Answering dialogs;
    dialogs.answer = answer;
    SetDialogs(&dialogs);
    EXPECT_EQ(yes, AskYesNo(0x10, u"Remove?", u"PrinterSetup")) << answer;
    SetDialogs(nullptr);
    ASSERT_EQ(1u, dialogs.boxes.size());
    EXPECT_EQ(0x24u, dialogs.boxes[0].type);  // Yes and No, with the question mark
    EXPECT_EQ(0x10u, dialogs.boxes[0].owner);
  }
  EXPECT_FALSE(AskYesNo(0, u"Remove?", u"PrinterSetup"));  // nobody to ask
}

TEST(ShowError, CaptionTextAndCode) {
  ScopedFakeDiagnostics diag;
  ShowError(0x1234, 0, u"AddPrinter Failed");
  ShowError(0, 0xFFFFFFFFu, u"Monitor Not Exist");
  ASSERT_EQ(2u, diag.dialogs.boxes.size());
  const RecordedBox& first = diag.dialogs.boxes[0];
  EXPECT_EQ(0x1234u, first.owner);
  EXPECT_EQ(u"AddPrinter Failed - ERROR CODE: 0\r\n", first.text);
  EXPECT_EQ(std::optional<std::u16string>(u"ERROR"), first.caption);
  EXPECT_EQ(kMbOk, first.type);
  EXPECT_EQ(0u, diag.dialogs.boxes[1].owner);
  EXPECT_EQ(u"Monitor Not Exist - ERROR CODE: 4294967295\r\n", diag.dialogs.boxes[1].text);
}

TEST(ShowError, LongTextIsCutButKeepsTheCode) {
  std::u16string text = ErrorText(1603, std::u16string(600, u'e'));
  EXPECT_EQ(255u, text.size());
  EXPECT_NE(std::u16string::npos, text.find(u" - ERROR CODE: 1603\r\n"));
}
