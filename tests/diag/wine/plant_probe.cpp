// A DLL that only ever sits beside the test executable, the way a planted one would.
#include <windows.h>

extern "C" __declspec(dllexport) int PlantProbe() { return 42; }
