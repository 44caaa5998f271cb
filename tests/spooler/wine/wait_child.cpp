// The tool the message-pump cases wait for:
//   wait_child exit                       ends at once
//   wait_child wait <event>               ends once the event is set
//   wait_child post|send <event> <window> posts or sends kPing to the window first
// Exit code 0 when the event was set, 2 when it was not within 20 s, 3 when it cannot be opened,
// 4 when the message could not be delivered, 5 for a bad command line.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {
constexpr UINT kPing = WM_APP + 1;  // kept equal to the test's own
constexpr DWORD kEventLimit = 20000;
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 5;
  const std::wstring mode = argv[1];
  if (mode == L"exit") return 0;
  if (argc < 3) return 5;
  HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
  if (!event) return 3;
  if (mode == L"post" || mode == L"send") {
    if (argc < 4) return 5;
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(argv[3], nullptr, 16)));
    DWORD_PTR answer = 0;
    bool delivered = mode == L"post"
                         ? PostMessageW(window, kPing, 0, 0) != FALSE
                         : SendMessageTimeoutW(window, kPing, 0, 0, SMTO_NORMAL, kEventLimit, &answer) != 0;
    if (!delivered) return 4;
  } else if (mode != L"wait") {
    return 5;
  }
  DWORD waited = WaitForSingleObject(event, kEventLimit);
  CloseHandle(event);
  return waited == WAIT_OBJECT_0 ? 0 : 2;
}
