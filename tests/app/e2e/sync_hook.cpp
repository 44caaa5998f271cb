// e2e_sync_hook.dll: loaded into the wizard by the driver's WH_GETMESSAGE hook. Messages posted to
// one thread are taken from its queue in order, one at a time, so when the wizard's thread takes
// the driver's marker, everything the driver posted before it has been handled (or is being
// handled under a modal box). A message sent from another process would not tell that: sent
// messages are handled before posted ones.
#include <windows.h>

#include <cwchar>

extern "C" __declspec(dllexport) LRESULT CALLBACK E2ESyncHook(int code, WPARAM removal, LPARAM lParam) {
  static const UINT marker = RegisterWindowMessageW(L"e2e.sync");
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && message && marker && message->message == marker) {
    // wParam names the driver's event; lParam is the marker's number, kept by the driver.
    wchar_t name[64];
    std::swprintf(name, 64, L"e2e.sync.%lu.%ld", static_cast<unsigned long>(message->wParam),
                  static_cast<long>(message->lParam));
    if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name)) {
      SetEvent(event);
      CloseHandle(event);
    }
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}
