// Waiting for a tool keeps this thread's windows answering: the wait dispatches what arrives
// meanwhile (posted before it, posted or sent by the tool during it), gives a WM_QUIT back to the
// queue, and still ends with the tool or at its limit. The tool is wait_child.exe, which ends
// only once the test's window has handled its message (or gives up after 20 s and says so).
#include <windows.h>

#include <string>

#include "diag/win32/wide.h"
#include "spooler/win32/win32_services.h"
#include "support/wine_check.h"

namespace {

constexpr UINT kPing = WM_APP + 1;  // kept equal to wait_child's
constexpr UINT_PTR kTimer = 1;
constexpr std::uint32_t kToolLimit = 60000;  // far past wait_child's own 20 s

int g_pings = 0;
int g_timerTicks = 0;
HANDLE g_pingEvent = nullptr;

LRESULT CALLBACK PingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPing) {
    ++g_pings;
    if (g_pingEvent) SetEvent(g_pingEvent);
    return 0;
  }
  if (message == WM_TIMER && wParam == kTimer) {
    ++g_timerTicks;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring HereFile(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring self(path, length);
  return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

// A message-only window of this thread that sets a named event when it handles kPing.
class PingScene {
 public:
  PingScene() {
    static int counter = 0;
    eventName_ = L"Local\\PrinterSetupWaitTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++counter);
    g_pingEvent = CreateEventW(nullptr, TRUE, FALSE, eventName_.c_str());
    g_pings = 0;
    g_timerTicks = 0;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PingWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PrinterSetupWaitTestWindow";
    RegisterClassW(&windowClass);  // already there after the first scene
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
  }
  ~PingScene() {
    if (window_) DestroyWindow(window_);
    if (g_pingEvent) CloseHandle(g_pingEvent);
    g_pingEvent = nullptr;
  }
  PingScene(const PingScene&) = delete;
  PingScene& operator=(const PingScene&) = delete;

  bool Ready() const { return window_ && g_pingEvent; }
  HWND Window() const { return window_; }
  const std::wstring& EventName() const { return eventName_; }

 private:
  std::wstring eventName_;
  HWND window_ = nullptr;
};

// wait_child.exe started through the shell as the road starts its tools; never left running.
class Tool {
 public:
  Tool(Win32Shell& shell, const std::wstring& arguments) : shell_(shell) {
    ShellExecuteInfo info;
    info.fMask = kSeeMaskNoCloseProcess;
    info.lpVerb = u"open";
    info.lpFile = U16(HereFile(L"wait_child.exe").c_str());
    info.lpParameters = U16(arguments.c_str());
    info.nShow = kSwHide;
    if (shell_.ShellExecuteExW(info)) process_ = info.hProcess;
  }
  ~Tool() {
    if (!process_) return;
    HANDLE handle = reinterpret_cast<HANDLE>(process_);
    if (g_pingEvent) SetEvent(g_pingEvent);
    if (::WaitForSingleObject(handle, 10000) != WAIT_OBJECT_0) TerminateProcess(handle, 9);
    shell_.CloseHandle(process_);
  }
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  ProcessHandle Handle() const { return process_; }
  DWORD ExitCode() const {
    DWORD code = 99;
    GetExitCodeProcess(reinterpret_cast<HANDLE>(process_), &code);
    return code;
  }

 private:
  Win32Shell& shell_;
  ProcessHandle process_ = 0;
};

std::wstring Hex(HWND window) {
  wchar_t text[32];
  swprintf(text, 32, L"%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
  return text;
}

CASE(ToolWaitDispatchesTheMessagesOfThisThreadsWindows) {
  struct Case {
    const char* what;
    const wchar_t* mode;
    bool postedBefore;
    bool quitBefore;
    std::uint32_t limit;
  };
  const Case cases[] = {
      {"posted before the wait", L"wait", true, false, kToolLimit},
      {"posted by the tool during the wait", L"post", false, false, kInfinite},
      {"sent by the tool during the wait", L"send", false, false, kToolLimit},
      {"posted after a quit was taken", L"post", false, true, kToolLimit},
  };
  for (const Case& c : cases) {
    wcheck::current = c.what;
    PingScene scene;
    REQUIRE(scene.Ready());
    Win32Shell shell;
    Tool tool(shell, std::wstring(c.mode) + L" " + scene.EventName() + L" " + Hex(scene.Window()));
    REQUIRE(tool.Handle() != 0);
    // After the start: whatever the shell dispatches while starting a program cannot take them.
    if (c.quitBefore) PostQuitMessage(7);
    if (c.postedBefore) REQUIRE(PostMessageW(scene.Window(), kPing, 0, 0));
    CHECK_EQ(shell.WaitForSingleObject(tool.Handle(), c.limit), static_cast<std::uint32_t>(WAIT_OBJECT_0));
    // 0: the tool saw its event set, so the window handled the message while the wait ran.
    CHECK_EQ(tool.ExitCode(), 0ul);
    CHECK_EQ(g_pings, 1);
    // The main loop still gets its quit, once.
    MSG message = {};
    CHECK_EQ(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, c.quitBefore);
    if (c.quitBefore) CHECK_EQ(message.wParam, static_cast<WPARAM>(7));
  }
}

CASE(ToolWaitEndsWithAToolThatEndsByItself) {
  Win32Shell shell;
  Tool tool(shell, L"exit");
  REQUIRE(tool.Handle() != 0);
  CHECK_EQ(shell.WaitForSingleObject(tool.Handle(), kInfinite), static_cast<std::uint32_t>(WAIT_OBJECT_0));
  CHECK_EQ(tool.ExitCode(), 0ul);
  CHECK_EQ(shell.WaitForSingleObject(0, 100), static_cast<std::uint32_t>(WAIT_FAILED));  // no process at all
}

CASE(ToolWaitGivesUpAtItsLimitThoughMessagesKeepComing) {
  PingScene scene;
  REQUIRE(scene.Ready());
  Win32Shell shell;
  Tool tool(shell, L"wait " + scene.EventName());
  REQUIRE(tool.Handle() != 0);
  REQUIRE(SetTimer(scene.Window(), kTimer, 10, nullptr));
  const ULONGLONG start = GetTickCount64();
  const std::uint32_t waited = shell.WaitForSingleObject(tool.Handle(), 300);
  const ULONGLONG elapsed = GetTickCount64() - start;
  KillTimer(scene.Window(), kTimer);
  CHECK_EQ(waited, static_cast<std::uint32_t>(WAIT_TIMEOUT));
  // Each message must not start the limit over, nor end the wait early.
  CHECK(elapsed >= 250);
  CHECK(elapsed < 10000);
  CHECK(g_timerTicks > 0);
  // Released, the same tool is then waited for to its end.
  REQUIRE(SetEvent(g_pingEvent));
  CHECK_EQ(shell.WaitForSingleObject(tool.Handle(), kToolLimit), static_cast<std::uint32_t>(WAIT_OBJECT_0));
  CHECK_EQ(tool.ExitCode(), 0ul);
}

}  // namespace
