// The command line a deployment tool passes: any arguments, parsed without a crash, and an
// accepted line never holds an empty value.
#include <cstdlib>

#include "app/command_line.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ParsedCommandLine parsed = ParseCommandLine(fuzz::Pieces(fuzz::Units(data, size)));
  if (!parsed.error) {
    if (parsed.line.logPath && parsed.line.logPath->empty()) std::abort();
    if (parsed.line.configPath && parsed.line.configPath->empty()) std::abort();
  }
  return 0;
}
