#include <gtest/gtest.h>

#include "diag/fake_diagnostics.h"
#include "diag/fake_install_log.h"
#include "diag/install_log.h"

namespace {

// The log line's text after the timestamp and its space.
std::string TextOf(const std::string& line) { return line.size() > 24 ? line.substr(24) : std::string(); }

TEST(TimestampText, EveryFieldIsZeroPaddedToItsWidth) {
  struct Case {
    LocalTime time;
    const char* expected;
  };
  const Case cases[] = {
      {{2024, 3, 7, 9, 5, 4, 32}, "2024-03-07 09:05:04.032"},
      {{2024, 12, 31, 23, 59, 59, 999}, "2024-12-31 23:59:59.999"},
      {{2025, 1, 1, 0, 0, 0, 0}, "2025-01-01 00:00:00.000"},
      {{2025, 10, 10, 10, 10, 10, 100}, "2025-10-10 10:10:10.100"},
      {{2025, 6, 15, 12, 30, 45, 7}, "2025-06-15 12:30:45.007"},
      {{999, 1, 2, 3, 4, 5, 6}, "0999-01-02 03:04:05.006"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, TimestampText(c.time));
}

TEST(Utf8FromUtf16, EncodesEveryLengthAndReplacesHalfPairs) {
  struct Case {
    std::u16string text;
    std::string expected;
  };
  const Case cases[] = {
      {u"", ""},
      {u"Label Printer", "Label Printer"},
      {u"\u00E9", "\xC3\xA9"},                                    // two bytes
      {u"\u6807\u7B7E\u6253\u5370\u673A", "\xE6\xA0\x87\xE7\xAD\xBE\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA"},  // 标签打印机
      {u"\uFFFF", "\xEF\xBF\xBF"},
      {u"\U0001F5A8", "\xF0\x9F\x96\xA8"},                        // a printer emoji: a surrogate pair
      {u"\U00020BB7x", "\xF0\xA0\xAE\xB7x"},                      // 𠮷, a CJK character beyond the BMP
      {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},                        // the last code point
      {std::u16string(1, u'\xD83D'), "\xEF\xBF\xBD"},             // a high half alone at the end
      {std::u16string{u'\xD83D', u'a'}, "\xEF\xBF\xBD" "a"},      // a high half before a non-half
      {std::u16string{u'\xDDA8', u'a'}, "\xEF\xBF\xBD" "a"},      // a low half alone
      {std::u16string{u'\xDDA8', u'\xD83D'}, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // the halves the wrong way round
      {std::u16string{u'\xD83D', u'\xD83D', u'\xDDA8'}, "\xEF\xBF\xBD\xF0\x9F\x96\xA8"},  // the second high half pairs
      {std::u16string(1, u'\0'), std::string(1, '\0')},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Utf8FromUtf16(c.text));
}

TEST(EscapeLineBreaks, WritesEachBreakAsTwoCharacters) {
  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"", u""},
      {u"no break", u"no break"},
      {u"a\r\nb", u"a\\r\\nb"},
      {u"\n\n", u"\\n\\n"},
      {u"\rx", u"\\rx"},
      {u"C:\\r\\n.log", u"C:\\r\\n.log"},  // backslashes stay as they are
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, EscapeLineBreaks(c.text));
}

TEST(WithoutTrailingLineBreaks, DropsOnlyTheBreaksAtTheEnd) {
  EXPECT_EQ(u"a", WithoutTrailingLineBreaks(u"a\r\n"));
  EXPECT_EQ(u"a\r\nb", WithoutTrailingLineBreaks(u"a\r\nb\n\r\n"));
  EXPECT_EQ(u"", WithoutTrailingLineBreaks(u"\r\n"));
  EXPECT_EQ(u" ", WithoutTrailingLineBreaks(u" "));
}

TEST(ResultWord, NamesTheInstallerCodesAndNoOthers) {
  struct Case {
    int code;
    const char16_t* word;
  };
  const Case cases[] = {
      {0, u"installed"},       {1602, u"not installed"},        {1603, u"failed"},
      {1618, u"already running"}, {1639, u"invalid command line"}, {1, u"exit code"},
      {-1, u"exit code"},      {1604, u"exit code"},            {3010, u"exit code"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::u16string_view(c.word), ResultWord(c.code)) << c.code;
  EXPECT_EQ(u"removed", ResultWord(0, RunKind::Removal));
  EXPECT_EQ(u"not removed", ResultWord(1602, RunKind::Removal));
  EXPECT_EQ(u"failed", ResultWord(1603, RunKind::Removal));
  EXPECT_EQ(u"compliant", ResultWord(0, RunKind::Verification));
  EXPECT_EQ(u"not compliant", ResultWord(1, RunKind::Verification));
  EXPECT_EQ(u"failed", ResultWord(1603, RunKind::Verification));
}

TEST(InstallLogPathUnder, JoinsTheFolderWithOneSeparator) {
  EXPECT_EQ(u"C:\\ProgramData\\PrinterSetup\\install.log", InstallLogPathUnder(u"C:\\ProgramData"));
  EXPECT_EQ(u"C:\\ProgramData\\PrinterSetup\\install.log", InstallLogPathUnder(u"C:\\ProgramData\\"));
  EXPECT_EQ(u"D:\\PrinterSetup\\install.log", InstallLogPathUnder(u"D:\\"));
}

TEST(FolderChain, GivesEveryFolderBelowTheRootOutermostFirst) {
  struct Case {
    const char16_t* path;
    std::vector<std::u16string> expected;
  };
  const Case cases[] = {
      {u"C:\\ProgramData\\PrinterSetup\\install.log", {u"C:\\ProgramData", u"C:\\ProgramData\\PrinterSetup"}},
      {u"C:\\install.log", {}},
      {u"c:/logs/a/x.log", {u"c:/logs", u"c:/logs/a"}},
      {u"C:\\a\\\\b\\x.log", {u"C:\\a", u"C:\\a\\\\b"}},
      {u"C:x.log", {}},
      {u"C:sub\\x.log", {u"C:sub"}},
      {u"\\logs\\x.log", {u"\\logs"}},
      {u"x.log", {}},
      {u"logs\\x.log", {u"logs"}},
      {u"\\\\server\\share\\x.log", {}},
      {u"\\\\server\\share\\logs\\x.log", {u"\\\\server\\share\\logs"}},
      {u"\\\\?\\C:\\logs\\x.log", {u"\\\\?\\C:\\logs"}},
      {u"\\\\?\\UNC\\server\\share\\logs\\x.log", {u"\\\\?\\UNC\\server\\share\\logs"}},
      {u"\\\\?\\unc\\server\\share\\x.log", {}},
      {u"\\\\.\\C:\\logs\\x.log", {u"\\\\.\\C:\\logs"}},
      {u"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, FolderChain(c.path)) << std::u16string(c.path).size();
}

TEST(InstallLog, WritesTheTimeThenTheTextOnOneLine) {
  FakeClock clock;
  FakeLogFile file;
  InstallLog log(clock, &file);
  log.Line(u"Start");
  clock.time = {2025, 11, 2, 17, 45, 0, 5};
  log.Line(u"\u6807\u7B7E\u6253\u5370\u673A \U0001F5A8");
  log.Line(u"two\r\nlines\n");
  log.Line(u"");
  EXPECT_EQ((std::vector<std::string>{
                "2024-03-07 09:05:04.032 Start",
                "2025-11-02 17:45:00.005 \xE6\xA0\x87\xE7\xAD\xBE\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA \xF0\x9F\x96\xA8",
                "2025-11-02 17:45:00.005 two\\r\\nlines\\n",
                "2025-11-02 17:45:00.005 ",
            }),
            file.lines);
  EXPECT_EQ(0u, log.FailedLines());
}

TEST(InstallLog, BoxLinesNameTheCaptionOrTheDefaultTitle) {
  struct Case {
    std::optional<std::u16string_view> caption;
    std::u16string_view text;
    std::string expected;
  };
  const Case cases[] = {
      {u"ERROR", u"AddPrinterDriver Failed - ERROR CODE: 1797\r\n", "box: ERROR: AddPrinterDriver Failed - ERROR CODE: 1797"},
      {std::nullopt, u"Done", "box: Error: Done"},
      {u"", u"x", "box: : x"},
      {u"Label Printer Setup", u"first\r\nsecond", "box: Label Printer Setup: first\\r\\nsecond"},
      {u"\u5B89\u88C5", u"\u5B8C\u6210", "box: \xE5\xAE\x89\xE8\xA3\x85: \xE5\xAE\x8C\xE6\x88\x90"},
  };
  for (const Case& c : cases) {
    FakeClock clock;
    FakeLogFile file;
    InstallLog log(clock, &file);
    log.Box(c.caption, c.text);
    ASSERT_EQ(1u, file.lines.size());
    EXPECT_EQ(c.expected, TextOf(file.lines[0]));
  }
}

TEST(InstallLog, ResultLinesGiveTheCodeAndItsWord) {
  struct Case {
    int code;
    const char* expected;
  };
  const Case cases[] = {
      {0, "result: 0 installed"},
      {1602, "result: 1602 not installed"},
      {1603, "result: 1603 failed"},
      {1618, "result: 1618 already running"},
      {1639, "result: 1639 invalid command line"},
      {5, "result: 5 exit code"},
      {-1073741819, "result: -1073741819 exit code"},
  };
  for (const Case& c : cases) {
    FakeClock clock;
    FakeLogFile file;
    InstallLog log(clock, &file);
    log.Result(c.code);
    ASSERT_EQ(1u, file.lines.size());
    EXPECT_EQ(c.expected, TextOf(file.lines[0]));
  }
}

TEST(InstallLog, AFailedAppendIsCountedAndTheNextLinesAreStillWritten) {
  FakeClock clock;
  FakeLogFile file;
  file.failAttempts = {0, 2};
  InstallLog log(clock, &file);
  log.Line(u"one");
  log.Line(u"two");
  log.Box(u"ERROR", u"three");
  log.Result(1603);
  EXPECT_EQ(4u, file.attempts);
  ASSERT_EQ(2u, file.lines.size());
  EXPECT_EQ("two", TextOf(file.lines[0]));
  EXPECT_EQ("result: 1603 failed", TextOf(file.lines[1]));
  EXPECT_EQ(2u, log.FailedLines());
}

TEST(InstallLog, WithoutAFileEveryLineIsDropped) {
  FakeClock clock;
  InstallLog log(clock, nullptr);
  EXPECT_FALSE(log.HasFile());
  log.Line(u"nowhere");
  log.Box(std::nullopt, u"nowhere");
  log.Result(0);
  EXPECT_EQ(0u, log.FailedLines());
}

TEST(OpenRunLog, ChoosesTheRequestedPathThenTheDefaultForAQuietRun) {
  struct Case {
    std::optional<std::u16string> requested;
    bool quiet;
    std::optional<std::u16string> opened;
  };
  const std::u16string fallback = u"C:\\ProgramData\\PrinterSetup\\install.log";
  const Case cases[] = {
      {std::nullopt, false, std::nullopt},
      {std::nullopt, true, fallback},
      {u"D:\\Logs\\printer.log", false, u"D:\\Logs\\printer.log"},
      {u"D:\\Logs\\printer.log", true, u"D:\\Logs\\printer.log"},
  };
  for (const Case& c : cases) {
    ScopedFakeDiagnostics diagnostics;
    FakeLogFiles files;
    std::unique_ptr<LogFile> file = OpenRunLog(files, c.requested, c.quiet);
    EXPECT_EQ(c.opened.has_value(), file != nullptr);
    if (c.opened) {
      EXPECT_EQ(std::vector<std::u16string>{*c.opened}, files.createdFoldersOf);
      EXPECT_EQ(std::vector<std::u16string>{*c.opened}, files.opened);
    } else {
      EXPECT_TRUE(files.opened.empty());
    }
    EXPECT_TRUE(diagnostics.output.wide.empty());
  }
}

TEST(OpenRunLog, ALogThatCannotBeHadIsTracedAndStopsNothing) {
  {
    ScopedFakeDiagnostics diagnostics;
    FakeLogFiles files;
    files.foldersFail = true;
    files.openFails = true;
    EXPECT_EQ(nullptr, OpenRunLog(files, u"C:\\a.txt\\x.log", true));
    EXPECT_EQ(std::vector<std::u16string>{u"Tollinder - Install log: cannot open C:\\a.txt\\x.log, no log is written"},
              diagnostics.output.wide);
  }
  {
    // Folders that could not be made do not stop the open: the file may still be there to append to.
    ScopedFakeDiagnostics diagnostics;
    FakeLogFiles files;
    files.foldersFail = true;
    EXPECT_NE(nullptr, OpenRunLog(files, u"C:\\x.log", false));
    EXPECT_TRUE(diagnostics.output.wide.empty());
  }
  {
    ScopedFakeDiagnostics diagnostics;
    FakeLogFiles files;
    files.defaultPath = std::nullopt;
    EXPECT_EQ(nullptr, OpenRunLog(files, std::nullopt, true));
    EXPECT_TRUE(files.opened.empty());
    EXPECT_EQ(std::vector<std::u16string>{u"Tollinder - Install log: no %ProgramData% folder, no log is written"},
              diagnostics.output.wide);
  }
}

}  // namespace
