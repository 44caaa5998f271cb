#pragma once
// The switches a deployment tool passes to the wizard, read from the arguments after the program
// name as Windows splits them (quotes already gone, an argument with spaces arrives whole).
#include <optional>
#include <string>
#include <vector>

#include "config/overrides.h"

struct CommandLine {
  bool quiet = false;  // /quiet, /q, /qn, /s, /silent: no window and no box
  bool help = false;   // /?, /help
  std::optional<std::u16string> logPath;     // /log <file>
  std::optional<std::u16string> configPath;  // /config <file>
  std::optional<std::u16string> saveDefaultsPath;  // /savedefaults <file>: the printer's defaults saved
  bool uninstall = false;  // /uninstall, /x: remove what the configuration installs
  bool verify = false;     // /verify, /detect: check the printer against the configuration, change nothing
  bool showConfig = false;  // /showconfig: the resolved configuration and where each value came from
  // NAME=VALUE arguments, in order: configuration values that win over config.ini and targets.
  std::vector<NamedValue> values;
};

// error: set when the arguments cannot be taken as given; a short English text naming the
// argument at fault. The caller then shows the usage and exits with kExitInvalidCommandLine.
struct ParsedCommandLine {
  CommandLine line;
  std::optional<std::u16string> error;
};

constexpr int kExitInvalidCommandLine = 1639;  // ERROR_INVALID_COMMAND_LINE

// Switches start with '/' or '-' and are matched without regard to case. A value follows after
// '=' (/log=C:\x.log) or as the next argument (/log C:\x.log); a next argument that starts like a
// switch is not taken as a value. Stops at the first argument at fault.
ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

// Whether an argument is a quiet switch, or so near one that it was meant as one ("/quite",
// "--quiet", "/quiet:", "silnet"): a run whose command line is wrong then stays without a box.
bool AsksForQuiet(const std::vector<std::u16string>& arguments);

// Every switch, the exit codes and where a quiet run logs by default; English, one switch a line.
std::u16string UsageText();
