// The spooler's Wine suite: the cases for the prefix this process runs in. A 32-bit process in a
// 64-bit prefix runs the installer's own cases for 64-bit Windows; every other process the cases
// of its width. Case names on the command line run alone.
#include <windows.h>

#include <cstdio>

#include "support/wine_check.h"
#include "wine_support.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> only;
  for (int i = 1; i < argc; ++i) {
    std::string name;
    for (const wchar_t* c = argv[i]; *c; ++c) name += static_cast<char>(*c);
    only.push_back(name);
  }
  wine_test::Scenario scenario = wine_test::CurrentScenario();
  std::printf("spooler Wine suite: %s\n", wine_test::ScenarioName(scenario));
  wine_test::StartBoxCloser();
  int result = 1;
  if (wine_test::EnsureMonitors()) {
    result = wcheck::RunAll(scenario == wine_test::Scenario::Wow64 ? wcheck::For::Wow64Prefix
                                                                   : wcheck::For::MatchingPrefix,
                            only);
  }
  wine_test::StopBoxCloser();
  return result;
}
