// e2e_holder.exe <name> <ready file> <stop file> [file]: holds an event of that name (a squatter
// on a lock's name), or with "file" that file opened shared with nobody, until the stop file
// exists, two minutes at most. Writes "held <error>" to the ready file once it holds it (the
// error the call left: 0, or 183 when an event was there).
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  const bool file = argc == 5 && lstrcmpiW(argv[4], L"file") == 0;
  if (argc != 4 && !file) {
    std::printf("usage: e2e_holder <name> <ready file> <stop file> [file]\n");
    return 2;
  }
  HANDLE event = file ? CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                      : CreateEventW(nullptr, TRUE, FALSE, argv[1]);
  const DWORD error = GetLastError();
  if (!event || event == INVALID_HANDLE_VALUE) {
    std::printf("holding %ls failed: %lu\n", argv[1], error);
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
