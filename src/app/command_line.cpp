#include "app/command_line.h"

#include <string_view>

namespace {

enum class Switch { Quiet, Help, Uninstall, Verify, ShowConfig, Log, Config, SaveDefaults };

struct SwitchName {
  std::u16string_view name;
  Switch which;
};

constexpr SwitchName kSwitches[] = {
    {u"quiet", Switch::Quiet}, {u"q", Switch::Quiet},     {u"qn", Switch::Quiet},
    {u"s", Switch::Quiet},     {u"silent", Switch::Quiet}, {u"?", Switch::Help},
    {u"help", Switch::Help},   {u"log", Switch::Log},      {u"config", Switch::Config},
    {u"uninstall", Switch::Uninstall}, {u"x", Switch::Uninstall}, {u"verify", Switch::Verify},
    {u"detect", Switch::Verify}, {u"showconfig", Switch::ShowConfig}, {u"savedefaults", Switch::SaveDefaults},
};

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool LooksLikeSwitch(std::u16string_view argument) {
  return !argument.empty() && (argument.front() == u'/' || argument.front() == u'-');
}

std::optional<Switch> Find(std::u16string_view name) {
  for (const SwitchName& known : kSwitches) {
    if (SameIgnoringCase(name, known.name)) return known.which;
  }
  return std::nullopt;
}

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

// Keeps the first value a switch got; the same value again is harmless (a deployment tool that
// joins two argument lists), a different one is a conflict nobody can settle for the user.
std::optional<std::u16string> Store(std::optional<std::u16string>& slot, std::u16string_view switchText,
                                    std::u16string_view value) {
  if (!slot) {
    slot = std::u16string(value);
    return std::nullopt;
  }
  if (*slot == value) return std::nullopt;
  return u"The switch " + Quoted(switchText) + u" is given twice with different values: " + Quoted(*slot) +
         u" and " + Quoted(value) + u".";
}

// A NAME=VALUE argument; the same name again with the same value is harmless, as for switches.
std::optional<std::u16string> AddValue(std::vector<NamedValue>& values, const NamedValue& value,
                                       std::u16string_view argument) {
  if (value.key.empty()) return u"The argument " + Quoted(argument) + u" names no value before =.";
  if (!IsSettableName(value.key)) {
    return u"Unknown value name " + Quoted(value.key) + u" in " + Quoted(argument) +
           u": use a key of [ARGS], Data.<name> or DevMode.<key>.";
  }
  for (const NamedValue& given : values) {
    if (!SameKey(CanonicalName(given.key), CanonicalName(value.key))) continue;
    if (given.value == value.value) return std::nullopt;
    return u"The value " + Quoted(CanonicalName(value.key)) + u" is given twice with different values: " +
           Quoted(given.value) + u" and " + Quoted(value.value) + u".";
  }
  values.push_back(value);
  return std::nullopt;
}

// Optimal string alignment distance, stopping early: is it at most one edit?
bool AtMostOneEdit(std::u16string_view a, std::u16string_view b) {
  if (a.size() > b.size()) std::swap(a, b);
  if (b.size() - a.size() > 1) return false;
  std::size_t i = 0;
  while (i < a.size() && a[i] == b[i]) ++i;
  if (i == a.size()) return true;
  if (a.size() == b.size()) {
    // One substitution, or two neighbours swapped.
    if (a.substr(i + 1) == b.substr(i + 1)) return true;
    return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] && a.substr(i + 2) == b.substr(i + 2);
  }
  return a.substr(i) == b.substr(i + 1);  // one unit inserted
}

}  // namespace

bool AsksForQuiet(const std::vector<std::u16string>& arguments) {
  for (const std::u16string& argument : arguments) {
    std::u16string_view name = argument;
    while (!name.empty() && (name.front() == u'/' || name.front() == u'-')) name.remove_prefix(1);
    name = name.substr(0, name.find_first_of(u"=:"));
    std::u16string lower;
    for (char16_t c : name) lower.push_back(LowerAscii(c));
    if (lower.empty()) continue;
    for (const SwitchName& known : kSwitches) {
      if (known.which == Switch::Quiet && lower == known.name) return true;
    }
    if (lower.rfind(u"quiet", 0) == 0 || lower.rfind(u"silent", 0) == 0) return true;
    if (lower.size() >= 4 && (AtMostOneEdit(lower, u"quiet") || AtMostOneEdit(lower, u"silent"))) return true;
  }
  return false;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments) {
  ParsedCommandLine parsed;
  CommandLine& line = parsed.line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (!LooksLikeSwitch(argument)) {
      if (std::optional<NamedValue> value = SplitPrinterDataEntry(argument)) {
        if (std::optional<std::u16string> fault = AddValue(line.values, *value, argument)) {
          parsed.error = std::move(fault);
          return parsed;
        }
        continue;
      }
      parsed.error = u"Unexpected argument " + Quoted(argument) + u": switches start with / or -.";
      return parsed;
    }
    const std::u16string_view body = std::u16string_view(argument).substr(1);
    const std::size_t equals = body.find(u'=');
    const std::u16string_view name = body.substr(0, equals);
    const std::optional<Switch> which = Find(name);
    if (!which) {
      parsed.error = u"Unknown switch " + Quoted(argument) + u".";
      return parsed;
    }
    const bool takesValue = *which == Switch::Log || *which == Switch::Config || *which == Switch::SaveDefaults;
    if (!takesValue) {
      if (equals != std::u16string_view::npos) {
        parsed.error = u"The switch " + Quoted(argument) + u" takes no value.";
        return parsed;
      }
      bool& flag = *which == Switch::Quiet        ? line.quiet
                   : *which == Switch::Help       ? line.help
                   : *which == Switch::Verify     ? line.verify
                   : *which == Switch::ShowConfig ? line.showConfig
                                                  : line.uninstall;
      flag = true;
      continue;
    }
    std::u16string_view value;
    if (equals != std::u16string_view::npos) {
      value = body.substr(equals + 1);
    } else if (i + 1 < arguments.size() && !LooksLikeSwitch(arguments[i + 1])) {
      value = arguments[++i];
    } else {
      parsed.error = u"The switch " + Quoted(argument) + u" needs a value.";
      return parsed;
    }
    if (value.empty()) {
      parsed.error = u"The switch " + Quoted(argument) + u" has an empty value.";
      return parsed;
    }
    std::optional<std::u16string> conflict =
        Store(*which == Switch::Log ? line.logPath : *which == Switch::Config ? line.configPath : line.saveDefaultsPath,
              argument.substr(0, 1 + name.size()), value);
    if (conflict) {
      parsed.error = std::move(conflict);
      return parsed;
    }
  }
  if (int(line.verify) + int(line.uninstall) + int(line.showConfig) + int(line.saveDefaultsPath.has_value()) > 1) {
    parsed.error = u"Only one of /uninstall, /verify, /showconfig and /savedefaults can be given.";
  }
  return parsed;
}

std::u16string UsageText() {
  return u"Usage: PrinterSetup.exe [/quiet] [/uninstall | /verify | /showconfig] [/log <file>] [/config <file>]\r\n"
         u"                         [NAME=VALUE ...] [/?]\r\n"
         u"\r\n"
         u"/quiet (also /q, /qn, /s, /silent)\r\n"
         u"    Install without any window or box, as config.ini says; boxes go to the log.\r\n"
         u"/uninstall (also /x)\r\n"
         u"    Remove the printers this configuration installed, their ports and driver\r\n"
         u"    where nothing else uses them; asks first unless quiet.\r\n"
         u"/verify (also /detect)\r\n"
         u"    Change nothing; check that the printer is installed as config.ini says.\r\n"
         u"    Exit 0 compliant, 1 not compliant; the log names every difference.\r\n"
         u"/showconfig\r\n"
         u"    Change nothing; write this PC's name and addresses, the target chosen and\r\n"
         u"    every value with where it came from.\r\n"
         u"/savedefaults <file>\r\n"
         u"    Change nothing in the spooler; write the printer's printing defaults to <file>\r\n"
         u"    for [DEVMODE] File= on other PCs.\r\n"
         u"NAME=VALUE\r\n"
         u"    Set a value over config.ini and its targets: an [ARGS] key (PrnName=...,\r\n"
         u"    IPAddress=...), Data.<name>=<value> or DevMode.<key>=<value>.\r\n"
         u"/log <file>\r\n"
         u"    Append a line for every step to <file>. A quiet run logs to\r\n"
         u"    %ProgramData%\\PrinterSetup\\install.log without it.\r\n"
         u"/config <file>\r\n"
         u"    Read <file> instead of config.ini beside the program.\r\n"
         u"/?, /help\r\n"
         u"    Show this text.\r\n"
         u"\r\n"
         u"Switches start with / or -, in any case. A value follows after = or a space;\r\n"
         u"quote it when it holds spaces: /log \"C:\\My Logs\\setup.log\".\r\n"
         u"\r\n"
         u"Exit codes:\r\n"
         u"0     installed (/verify: compliant)\r\n"
         u"1     /verify: not compliant\r\n"
         u"1602  closed without installing\r\n"
         u"1603  failed\r\n"
         u"1618  another install is running\r\n"
         u"1639  invalid command line\r\n";
}
