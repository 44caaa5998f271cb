// The wizard's arguments as Windows splits its command line: quotes taken off, an argument with
// spaces kept whole, the program name left out. Run with the arguments the CMake test passes.
#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/win32/command_line_win.h"
#include "support/wine_check.h"

namespace {

using Args = std::vector<std::u16string>;

CASE(SplitsAsCommandLineToArgvWDoes) {
  struct Case {
    const wchar_t* line;
    Args expected;
  };
  const Case cases[] = {
      {L"PrinterSetup.exe", {}},
      {L"\"C:\\Program Files\\PrinterSetup.exe\" /q", {u"/q"}},
      {L"PrinterSetup.exe /log \"C:\\My Logs\\setup.log\" /quiet",
       {u"/log", u"C:\\My Logs\\setup.log", u"/quiet"}},
      {L"PrinterSetup.exe /log=\"C:\\My Logs\\setup.log\"", {u"/log=C:\\My Logs\\setup.log"}},
      {L"PrinterSetup.exe /log \"\"", {u"/log", u""}},
      {L"PrinterSetup.exe /config \"D:\\a b\\\"", {u"/config", u"D:\\a b\""}},
      {L"PrinterSetup.exe /log \u6807\u7B7E.log", {u"/log", u"\u6807\u7B7E.log"}},
      {L"", {}},
  };
  for (const Case& c : cases) CHECK_EQ(SplitArguments(c.line), c.expected);
}

CASE(TheProcessGetsItsOwnArgumentsWithoutTheProgramName) {
  // As the CMake test starts it.
  const Args expected = {u"/LOG", u"C:\\My Logs\\setup.log", u"-q", u"/config=D:\\Deploy\\config.ini"};
  const Args arguments = ProcessArguments();
  CHECK_EQ(arguments, expected);
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  CHECK_EQ(parsed.error, std::optional<std::u16string>());
  CHECK(parsed.line.quiet);
  CHECK_EQ(parsed.line.logPath, std::optional<std::u16string>(u"C:\\My Logs\\setup.log"));
  CHECK_EQ(parsed.line.configPath, std::optional<std::u16string>(u"D:\\Deploy\\config.ini"));
}

}  // namespace

int wmain() { return wcheck::RunAll(); }
