// e2e_holder.exe <name> <ready file> <stop file>: holds an event of that name (a squatter on a
// lock's name) until the stop file exists, two minutes at most. Writes "held <error>" to the
// ready file once the event is made (the error CreateEventW left: 0, or 183 when it was there).
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: e2e_holder <name> <ready file> <stop file>\n");
    return 2;
  }
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, argv[1]);
  const DWORD error = GetLastError();
  if (!event) {
    std::printf("CreateEvent failed: %lu\n", error);
    return 1;
  }
  FILE* ready = _wfopen(argv[2], L"w");
  if (!ready) return 1;
  std::fprintf(ready, "held %lu\n", error);
  std::fclose(ready);
  for (int tick = 0; tick < 1200 && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES; ++tick) Sleep(100);
  CloseHandle(event);
  return 0;
}
