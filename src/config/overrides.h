#pragma once
// Configuration values given as NAME=VALUE (on the command line or in a [TARGET.<label>]
// section) on top of config.ini: each [ARGS] key by its name and Data.<name> for one printer-data
// value. Names match without regard to case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/install_context.h"

// NAME=VALUE, split at the first '=' as a [DATA] entry is (SplitPrinterDataEntry).
using NamedValue = PrinterDataEntry;

// Whether a value of this name can be set: an [ARGS] key above, or Data.<name> with a name.
bool IsSettableName(std::u16string_view name);

// The name as config.ini spells it ("PrnName", "Data.Darkness").
std::u16string CanonicalName(std::u16string_view name);

// Sets one value (IsSettableName must hold); a Data value replaces the entry of that name or is
// added after the others.
void ApplyNamedValue(InstallContext& context, const NamedValue& value);

// What a value is now and where it came from, for /showconfig and the log.
struct ResolvedValue {
  std::u16string name;
  std::u16string value;
  std::u16string source;  // "config.ini", "TARGET.<label>" or "command line"
};
std::vector<ResolvedValue> SettableValues(const InstallContext& context);

// Names compared as config.ini compares them: ASCII letters without regard to case.
bool SameKey(std::u16string_view a, std::u16string_view b);
