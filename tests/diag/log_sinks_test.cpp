#include <gtest/gtest.h>

#include "diag/diagnostics.h"
#include "diag/fake_diagnostics.h"
#include "diag/fake_install_log.h"
#include "diag/log_sinks.h"

namespace {

std::string TextOf(const std::string& line) { return line.size() > 24 ? line.substr(24) : std::string(); }

std::vector<std::string> TextsOf(const FakeLogFile& file) {
  std::vector<std::string> texts;
  for (const std::string& line : file.lines) texts.push_back(TextOf(line));
  return texts;
}

struct LogScene {
  FakeClock clock;
  FakeLogFile file;
  InstallLog log{clock, &file};
};

TEST(LogDebugOutput, ForwardsEveryLineAsItIsAndLogsItWithoutItsLineEnd) {
  struct Case {
    std::u16string line;
    std::string logged;
  };
  const Case cases[] = {
      {u"Tollinder - MonitorExist", "Tollinder - MonitorExist"},
      {u"Tollinder - Copy X.GPD Result 0x00000000\r\n", "Tollinder - Copy X.GPD Result 0x00000000"},
      {u"Tollinder - a\r\nb\n", "Tollinder - a\\r\\nb"},
      {u"Tollinder - \u6807\u7B7E", "Tollinder - \xE6\xA0\x87\xE7\xAD\xBE"},
  };
  for (const Case& c : cases) {
    LogScene scene;
    FakeDebugOutput next;
    LogDebugOutput output(scene.log, &next);
    output.OutputDebugStringW(c.line);
    EXPECT_EQ(std::vector<std::u16string>{c.line}, next.wide);
    EXPECT_EQ(std::vector<std::string>{c.logged}, TextsOf(scene.file));
  }
}

TEST(LogDebugOutput, NarrowLinesWidenByteByByte) {
  LogScene scene;
  FakeDebugOutput next;
  LogDebugOutput output(scene.log, &next);
  output.OutputDebugStringA("Tollinder - USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1\r\n");
  output.OutputDebugStringA(std::string("Tollinder - \xE9", 13));
  EXPECT_EQ((std::vector<std::string>{"Tollinder - USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1\r\n",
                                      std::string("Tollinder - \xE9", 13)}),
            next.narrow);
  EXPECT_EQ((std::vector<std::string>{"Tollinder - USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1", "Tollinder - \xC3\xA9"}),
            TextsOf(scene.file));
}

TEST(LogDebugOutput, AFailedAppendStillForwardsAndNoNextSinkStillLogs) {
  LogScene failing;
  failing.file.failAll = true;
  FakeDebugOutput next;
  LogDebugOutput forwarding(failing.log, &next);
  forwarding.OutputDebugStringW(u"one");
  forwarding.OutputDebugStringA("two");
  EXPECT_EQ(std::vector<std::u16string>{u"one"}, next.wide);
  EXPECT_EQ(std::vector<std::string>{"two"}, next.narrow);
  EXPECT_EQ(2u, failing.log.FailedLines());
  LogScene alone;
  LogDebugOutput logging(alone.log, nullptr);
  logging.OutputDebugStringW(u"wide\r\n");
  logging.OutputDebugStringA("narrow\r\n");
  EXPECT_EQ((std::vector<std::string>{"wide", "narrow"}), TextsOf(alone.file));
}

TEST(QuietDialogs, ShowsNothingLogsTheBoxAndAnswersOk) {
  struct Case {
    std::optional<std::u16string> caption;
    std::u16string text;
    std::uint32_t type;
    std::string logged;
  };
  const Case cases[] = {
      {u"ERROR", u"AddPrinterDriver Failed - ERROR CODE: 1797\r\n", kMbOk,
       "box: ERROR: AddPrinterDriver Failed - ERROR CODE: 1797"},
      {std::nullopt, u"Installed", kMbOk, "box: Error: Installed"},
      {u"Setup", u"Continue?", 0x00000004u /* MB_YESNO */, "box: Setup: Continue?"},
  };
  for (const Case& c : cases) {
    LogScene scene;
    QuietDialogs dialogs(scene.log);
    EXPECT_EQ(kBoxAnsweredOk, dialogs.MessageBoxW(0x1234, c.text, c.caption, c.type));
    EXPECT_EQ(std::vector<std::string>{c.logged}, TextsOf(scene.file));
  }
  // A log that cannot be written, or none at all, still keeps every box back.
  LogScene failing;
  failing.file.failAll = true;
  EXPECT_EQ(kBoxAnsweredOk, QuietDialogs(failing.log).MessageBoxW(0, u"text", std::u16string(u"ERROR"), kMbOk));
  FakeClock clock;
  InstallLog nowhere(clock, nullptr);
  EXPECT_EQ(kBoxAnsweredOk, QuietDialogs(nowhere).MessageBoxW(0, u"text", std::nullopt, kMbOk));
}

// Records the log's lines at the moment a box is shown.
class OrderCheckingDialogs : public Dialogs {
 public:
  explicit OrderCheckingDialogs(const FakeLogFile& file) : file_(file) {}
  std::vector<std::size_t> linesWhenShown;
  RecordedBox last{};
  int answer = 7;  // IDNO
  int MessageBoxW(WindowHandle owner, const std::u16string& text, const std::optional<std::u16string>& caption,
                  std::uint32_t type) override {
    linesWhenShown.push_back(file_.lines.size());
    last = {owner, text, caption, type};
    return answer;
  }

 private:
  const FakeLogFile& file_;
};

TEST(LoggedDialogs, LogsTheBoxThenShowsItAndReturnsTheAnswer) {
  LogScene scene;
  OrderCheckingDialogs next(scene.file);
  LoggedDialogs dialogs(scene.log, &next);
  EXPECT_EQ(7, dialogs.MessageBoxW(0x42, u"Printer added\r\n", std::u16string(u"Setup"), 0x40u));
  EXPECT_EQ(std::vector<std::size_t>{1}, next.linesWhenShown);
  EXPECT_EQ(WindowHandle{0x42}, next.last.owner);
  EXPECT_EQ(u"Printer added\r\n", next.last.text);
  EXPECT_EQ(std::optional<std::u16string>(u"Setup"), next.last.caption);
  EXPECT_EQ(0x40u, next.last.type);
  EXPECT_EQ(std::vector<std::string>{"box: Setup: Printer added"}, TextsOf(scene.file));
}

TEST(LoggedDialogs, StillShowsTheBoxWhenTheLogFailsAndAnswersZeroWithoutANextSink) {
  LogScene scene;
  scene.file.failAll = true;
  FakeDialogs next;
  LoggedDialogs dialogs(scene.log, &next);
  EXPECT_EQ(1, dialogs.MessageBoxW(0, u"text", std::nullopt, kMbOk));
  EXPECT_EQ(1u, next.boxes.size());
  LoggedDialogs alone(scene.log, nullptr);
  EXPECT_EQ(0, alone.MessageBoxW(0, u"text", std::nullopt, kMbOk));
}

TEST(ScopedLogSinks, QuietRunsKeepBoxesBackAndTeeTracesThenRestoreTheSinks) {
  ScopedFakeDiagnostics diagnostics;
  LogScene scene;
  {
    ScopedLogSinks sinks(scene.log, true);
    DebugTrace(u"Install %s", u"LBLENG");
    ShowError(0, 1797, u"AddPrinterDriver Failed");
    ShowMessage(0, u"Done", std::nullopt);
  }
  EXPECT_TRUE(diagnostics.dialogs.boxes.empty());
  EXPECT_EQ(std::vector<std::u16string>{u"Tollinder - Install LBLENG"}, diagnostics.output.wide);
  EXPECT_EQ((std::vector<std::string>{"Tollinder - Install LBLENG",
                                      "box: ERROR: AddPrinterDriver Failed - ERROR CODE: 1797", "box: Error: Done"}),
            TextsOf(scene.file));
  EXPECT_EQ(&diagnostics.output, CurrentDebugOutput());
  EXPECT_EQ(&diagnostics.dialogs, CurrentDialogs());
  // Back to the sinks before: nothing more reaches the log.
  DebugTrace(u"after");
  EXPECT_EQ(3u, scene.file.lines.size());
}

TEST(ScopedLogSinks, InteractiveRunsShowEveryBoxAndLogIt) {
  ScopedFakeDiagnostics diagnostics;
  LogScene scene;
  {
    ScopedLogSinks sinks(scene.log, false);
    ShowError(0x99, 5, u"OpenPrinter Failed");
    DebugTraceA("%s", "narrow");
  }
  ASSERT_EQ(1u, diagnostics.dialogs.boxes.size());
  EXPECT_EQ(u"OpenPrinter Failed - ERROR CODE: 5\r\n", diagnostics.dialogs.boxes[0].text);
  EXPECT_EQ(std::vector<std::string>{"Tollinder - narrow"}, diagnostics.output.narrow);
  EXPECT_EQ((std::vector<std::string>{"box: ERROR: OpenPrinter Failed - ERROR CODE: 5", "Tollinder - narrow"}),
            TextsOf(scene.file));
}

TEST(ScopedLogSinks, StackOnNoSinksAndOnEachOther) {
  SetDebugOutput(nullptr);
  SetDialogs(nullptr);
  LogScene first;
  LogScene second;
  {
    ScopedLogSinks outer(first.log, false);
    {
      ScopedLogSinks inner(second.log, true);
      DebugTrace(u"both");
      ShowMessage(0, u"kept back", std::u16string(u"Setup"));
    }
    DebugTrace(u"outer only");
  }
  EXPECT_EQ(nullptr, CurrentDebugOutput());
  EXPECT_EQ(nullptr, CurrentDialogs());
  // The quiet inner sinks answer the box, so the outer log never sees it.
  EXPECT_EQ((std::vector<std::string>{"Tollinder - both", "box: Setup: kept back"}), TextsOf(second.file));
  EXPECT_EQ((std::vector<std::string>{"Tollinder - both", "Tollinder - outer only"}), TextsOf(first.file));
}

}  // namespace
