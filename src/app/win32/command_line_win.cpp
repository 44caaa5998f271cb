#include "app/win32/command_line_win.h"

#include <windows.h>
#include <shellapi.h>

#include "diag/win32/kernel_owners.h"
#include "diag/win32/wide.h"

std::vector<std::u16string> SplitArguments(const wchar_t* commandLine) {
  std::vector<std::u16string> arguments;
  // An empty line would make CommandLineToArgvW answer with this exe's path instead.
  if (!commandLine || !*commandLine) return arguments;
  int count = 0;
  const LocalMemory<LPWSTR> split(CommandLineToArgvW(commandLine, &count));
  if (!split) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(U16(split.get()[i]));
  return arguments;
}

std::vector<std::u16string> ProcessArguments() { return SplitArguments(GetCommandLineW()); }
