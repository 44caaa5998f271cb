#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {

using Args = std::vector<std::u16string>;

struct Expected {
  Expected(bool quietRun = false, bool helpAsked = false, std::optional<std::u16string> log = std::nullopt,
           std::optional<std::u16string> config = std::nullopt, bool remove = false)
      : quiet(quietRun), help(helpAsked), logPath(std::move(log)), configPath(std::move(config)), uninstall(remove) {}
  bool quiet;
  bool help;
  std::optional<std::u16string> logPath;
  std::optional<std::u16string> configPath;
  bool uninstall;
};

std::string Show(const Args& arguments) {
  std::string out;
  for (const std::u16string& argument : arguments) {
    out += '[';
    for (char16_t c : argument) out += c < 0x80 ? static_cast<char>(c) : '?';
    out += ']';
  }
  return out;
}

TEST(ParseCommandLine, ReadsEverySwitchInEveryForm) {
  struct Case {
    Args arguments;
    Expected expected;
  };
  const Case cases[] = {
      {{}, {}},
      // The quiet switch and its aliases, in any case, after / or -.
      {{u"/quiet"}, {true}},
      {{u"/q"}, {true}},
      {{u"/qn"}, {true}},
      {{u"/s"}, {true}},
      {{u"/silent"}, {true}},
      {{u"-quiet"}, {true}},
      {{u"-Qn"}, {true}},
      {{u"/SiLeNt"}, {true}},
      // Repeating a switch without a value changes nothing.
      {{u"/q", u"/quiet", u"-S"}, {true}},
      {{u"/?"}, {false, true}},
      {{u"-?"}, {false, true}},
      {{u"/help"}, {false, true}},
      // A value after '=' or as the next argument; CommandLineToArgvW has already taken the quotes
      // off, so a path with spaces arrives as one argument.
      {{u"/log=C:\\x.log"}, {false, false, u"C:\\x.log"}},
      {{u"/log", u"C:\\x.log"}, {false, false, u"C:\\x.log"}},
      {{u"/LOG", u"C:\\My Logs\\setup.log"}, {false, false, u"C:\\My Logs\\setup.log"}},
      {{u"-Log=\\\\server\\share\\x.log"}, {false, false, u"\\\\server\\share\\x.log"}},
      {{u"/config", u"D:\\Deploy\\config.ini"}, {false, false, std::nullopt, u"D:\\Deploy\\config.ini"}},
      {{u"/Config=D:\\Deploy\\config.ini"}, {false, false, std::nullopt, u"D:\\Deploy\\config.ini"}},
      // Only the first '=' separates: the value keeps the rest, the value's case is kept.
      {{u"/log=C:\\a=b\\X.LOG"}, {false, false, u"C:\\a=b\\X.LOG"}},
      {{u"/log", u"a=b.log"}, {false, false, u"a=b.log"}},
      {{u"/log=/odd"}, {false, false, u"/odd"}},
      {{u"/log=\u6807\u7B7E.log"}, {false, false, u"\u6807\u7B7E.log"}},
      // The same value twice is fine, however it was written.
      {{u"/log", u"C:\\x.log", u"/log=C:\\x.log"}, {false, false, u"C:\\x.log"}},
      {{u"/config=a.ini", u"-CONFIG", u"a.ini"}, {false, false, std::nullopt, u"a.ini"}},
      // Everything together, in any order.
      {{u"/qn", u"/log", u"C:\\Logs\\p.log", u"/config=C:\\Deploy\\c.ini"},
       {true, false, u"C:\\Logs\\p.log", u"C:\\Deploy\\c.ini"}},
      {{u"-config", u"c.ini", u"-log=p.log", u"-silent", u"-?"}, {true, true, u"p.log", u"c.ini"}},
      {{u"/uninstall"}, {false, false, std::nullopt, std::nullopt, true}},
      {{u"/q", u"-X"}, {true, false, std::nullopt, std::nullopt, true}},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
    SCOPED_TRACE(Show(c.arguments));
    EXPECT_EQ(std::nullopt, parsed.error);
    EXPECT_EQ(c.expected.quiet, parsed.line.quiet);
    EXPECT_EQ(c.expected.help, parsed.line.help);
    EXPECT_EQ(c.expected.logPath, parsed.line.logPath);
    EXPECT_EQ(c.expected.configPath, parsed.line.configPath);
    EXPECT_EQ(c.expected.uninstall, parsed.line.uninstall);
  }
}

TEST(ParseCommandLine, RefusesWhatItCannotTakeAndNamesTheArgument) {
  struct Case {
    Args arguments;
    std::u16string error;
  };
  const Case cases[] = {
      // Unknown switches, near misses included: a typo must not run an install with a window.
      {{u"/quite"}, u"Unknown switch \"/quite\"."},
      {{u"/quiet", u"/verbose"}, u"Unknown switch \"/verbose\"."},
      {{u"--quiet"}, u"Unknown switch \"--quiet\"."},
      {{u"/"}, u"Unknown switch \"/\"."},
      {{u"/=x"}, u"Unknown switch \"/=x\"."},
      {{u"/logfile=x.log"}, u"Unknown switch \"/logfile=x.log\"."},
      {{u"/l*v", u"x.log"}, u"Unknown switch \"/l*v\"."},
      // Bare arguments: no switch takes them.
      {{u"quiet"}, u"Unexpected argument \"quiet\": switches start with / or -."},
      {{u"C:\\x.log"}, u"Unexpected argument \"C:\\x.log\": switches start with / or -."},
      {{u""}, u"Unexpected argument \"\": switches start with / or -."},
      {{u"/log", u"a.log", u"b.log"}, u"Unexpected argument \"b.log\": switches start with / or -."},
      {{u"\\quiet"}, u"Unexpected argument \"\\quiet\": switches start with / or -."},
      // A value missing: at the end, or the next argument is a switch.
      {{u"/log"}, u"The switch \"/log\" needs a value."},
      {{u"/quiet", u"-CONFIG"}, u"The switch \"-CONFIG\" needs a value."},
      {{u"/log", u"/quiet"}, u"The switch \"/log\" needs a value."},
      {{u"/config", u"-q"}, u"The switch \"/config\" needs a value."},
      // An empty value, either way.
      {{u"/log="}, u"The switch \"/log=\" has an empty value."},
      {{u"/log", u""}, u"The switch \"/log\" has an empty value."},
      // A value for a switch without one.
      {{u"/quiet=1"}, u"The switch \"/quiet=1\" takes no value."},
      {{u"/q="}, u"The switch \"/q=\" takes no value."},
      {{u"-?=yes"}, u"The switch \"-?=yes\" takes no value."},
      {{u"/x=all"}, u"The switch \"/x=all\" takes no value."},
      // The same value switch with two different values.
      {{u"/log=a.log", u"/log=b.log"}, u"The switch \"/log\" is given twice with different values: \"a.log\" and \"b.log\"."},
      {{u"/config", u"a.ini", u"-Config=A.INI"},
       u"The switch \"-Config\" is given twice with different values: \"a.ini\" and \"A.INI\"."},
      // The first fault is the one reported.
      {{u"/bad", u"bare"}, u"Unknown switch \"/bad\"."},
      // NAME=VALUE: a name this program sets, once.
      {{u"=x"}, u"The argument \"=x\" names no value before =."},
      {{u"Printer=X"}, u"Unknown value name \"Printer\" in \"Printer=X\": use a key of [ARGS], Data.<name> or DevMode.<key>."},
      {{u"DevMode.Colour=1"}, u"Unknown value name \"DevMode.Colour\" in \"DevMode.Colour=1\": use a key of [ARGS], Data.<name> or DevMode.<key>."},
      {{u"Data.=5"}, u"Unknown value name \"Data.\" in \"Data.=5\": use a key of [ARGS], Data.<name> or DevMode.<key>."},
      {{u"PrnName=A", u"prnname=B"}, u"The value \"PrnName\" is given twice with different values: \"A\" and \"B\"."},
      {{u"DATA.speed=1", u"Data.Speed=2"},
       u"The value \"Data.Speed\" is given twice with different values: \"1\" and \"2\"."},
      // Two runs of different kinds.
      {{u"/verify", u"/x"}, u"Only one of /uninstall, /verify, /showconfig and /savedefaults can be given."},
      {{u"/showconfig", u"/detect"}, u"Only one of /uninstall, /verify, /showconfig and /savedefaults can be given."},
      {{u"/verify", u"/savedefaults", u"a.psdm"},
       u"Only one of /uninstall, /verify, /showconfig and /savedefaults can be given."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.arguments));
    EXPECT_EQ(std::optional<std::u16string>(c.error), ParseCommandLine(c.arguments).error);
  }
}

TEST(ParseCommandLine, ValuesKeepTheirOrderAndAnExactRepeatIsHarmless) {
  const ParsedCommandLine parsed =
      ParseCommandLine({u"/quiet", u"PrnName=Bay 3", u"Data.Darkness=12", u"PRNNAME=Bay 3", u"IPAddress=", u"/verify",
                        u"devmode.paperwidth=60"});
  ASSERT_FALSE(parsed.error);
  EXPECT_TRUE(parsed.line.verify);
  const std::vector<NamedValue> expected = {
      {u"PrnName", u"Bay 3"}, {u"Data.Darkness", u"12"}, {u"IPAddress", u""}, {u"devmode.paperwidth", u"60"}};
  EXPECT_EQ(expected, parsed.line.values);
}

TEST(AsksForQuiet, QuietSwitchesAndTheirNearMisses) {
  const std::pair<std::vector<std::u16string>, bool> cases[] = {
      {{u"/quite", u"/quiet"}, true}, {{u"--quiet"}, true},  {{u"/quiet:"}, true},     {{u"/quiet="}, true},
      {{u"stray", u"/quiet"}, true},  {{u"/qiuet"}, true},   {{u"-silnet"}, true},     {{u"/QN"}, true},
      {{u"/quietly"}, true},          {{u"/log", u"x"}, false}, {{u"/x"}, false},       {{u"/qu"}, false},
      {{u"/quest"}, false},           {{u"PrnName=quiet"}, false}, {{}, false},
  };
  for (const auto& [arguments, quiet] : cases) {
    SCOPED_TRACE(Show(arguments));
    EXPECT_EQ(quiet, AsksForQuiet(arguments));
  }
}

TEST(UsageText, ListsEverySwitchTheExitCodesAndTheDefaultLog) {
  const std::u16string usage = UsageText();
  const char16_t* const needed[] = {
      u"/quiet", u"/q,", u"/qn", u"/s,", u"/silent", u"/log <file>", u"/config <file>", u"/?", u"/help",
      u"0     installed", u"1602  closed without installing", u"1603  failed",
      u"1618  another install is running", u"1639  invalid command line",
      u"%ProgramData%\\PrinterSetup\\install.log",
  };
  for (const char16_t* text : needed) {
    EXPECT_NE(std::u16string::npos, usage.find(text)) << std::u16string(text).size();
  }
}

TEST(UsageText, IsPlainAsciiWithCrLfLineEnds) {
  const std::u16string usage = UsageText();
  for (std::size_t i = 0; i < usage.size(); ++i) {
    EXPECT_LT(usage[i], 0x80) << i;
    if (usage[i] == u'\n') {
      EXPECT_TRUE(i > 0 && usage[i - 1] == u'\r') << i;
    }
  }
}

}  // namespace
