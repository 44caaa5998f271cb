#pragma once
// The process's arguments as Windows splits its command line (CommandLineToArgvW's quoting rules).
#include <string>
#include <vector>

// The arguments after the program name; none when the command line cannot be split.
std::vector<std::u16string> ProcessArguments();

// The same for a given command line, which starts with the program name.
std::vector<std::u16string> SplitArguments(const wchar_t* commandLine);
