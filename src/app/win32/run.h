#pragma once
// One start of the program: the command line, the log, one install at a time, then the wizard's
// window or, when nobody is there to see one, the quiet install. Returns the exit code.
#include <windows.h>

int RunFromCommandLine(HINSTANCE instance);
