// e2e_driver.exe: drives the running wizard from inside Wine by messages, one command at a time:
//   e2e_driver -f script.txt        (one command a line, UTF-8; blank lines and # comments skipped)
//   e2e_driver "command" ...        (one command an argument)
// Each command prints lines "<what>: ..."; the first failing command prints "error: ..." and
// ends the run with exit code 1. Clicks are posted, so a click that opens a modal box returns.
//
// Every command that reads the wizard's state first waits until the wizard's thread has handled
// all that was posted to it before (see Sync), so a read never sees the state before a click.
// Waits end at the limit set by `timeout`; none of them is a fixed pause.
// A control <id> is its name in resource_ids.h (IDC_NEXT) or its number, and is echoed as given;
// `texts` and `focus` name a control by that name when it has one, else by its number.
//
//   window [caption]            wait for the visible wizard window (that caption, or any)
//   timeout <ms>                limit of every later wait (default 10000)
//   page | waitpage <page>      the visible page; wait until <page> is the visible one
//   nav                         "nav: prev=<0|1> next=<0|1>" (enabled states of IDC_PREV and IDC_NEXT)
//   click <page> <id>           BM_CLICK on a control (auto radio buttons check themselves)
//   command <page> <id>         WM_COMMAND with that identifier to the page (no button involved)
//   settext <page> <id> <text>  WM_SETTEXT (a combo box's edit field, an address control)
//   setip <page> <id> <a.b.c.d> IPM_SETADDRESS on an IPv4 address control
//   setfield <page> <id> <n> [text]  WM_SETTEXT on field n (1 to 4) of an address control, as typing
//                               into it would leave it (no text: the field blank)
//   select <page> <id> <text>   select the combo box item of exactly that text
//   text <page> <id>            "text: <page> <id> <text>" (WM_GETTEXT, as the wizard reads it)
//   ip <page> <id>              "ip: <page> <id> <a.b.c.d>" from the address control's four fields
//   texts                       caption and the text of every control of every page
//   checked <page> <id>         "checked: <page> <id> <0|1>"
//   items <page> <id>           a combo box's list and its selected index
//   box                         wait for a message box, print caption and text, close it with IDOK
//   waitbox | closebox          the same in two steps, to look at the wizard while the box is up
//   nobox                       fail when what was posted so far has opened a message box
//   msgbox <caption>            wait for a message box of that caption shown without the wizard's
//                               window (the command line's boxes); print it, and track its process
//   answer <yes|no|ok>          press that button of the box msgbox or waitbox found; wait till it goes
//   key <tab|enter|esc|space>   a key pressed on the focused control (WM_KEYDOWN and WM_KEYUP posted
//                               to it, as the keyboard would queue them)
//   focus                       "focus: <page> <id>" of the control with the keyboard focus
//   close | cancel              title-bar close (SC_CLOSE) | WM_COMMAND IDCANCEL to the main window
//   gone                        wait until the wizard's process has ended
//   show <page>                 hide every page and show one (for screenshots of unreachable pages)
//   idle | sync                 wait until the wizard has handled everything posted so far
//   sleep <ms>                  a fixed pause (for a screen to settle in the demo; never in tests)
//   kill <pid>                  end a process (cleanup after a failed test)
//   tcpport <name> <host>       create a Standard TCP/IP port (raw, 9100) for test set-up
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver_windows.h"
#include "resources/resource_ids.h"

namespace e2e {
namespace {

// PORT_DATA_1 of tcpxcv.h (not in mingw-w64): the record "AddPort" of the TCP/IP monitor takes.
struct PortData1 {
  wchar_t portName[64];
  DWORD version, protocol, size, reserved;
  wchar_t hostAddress[49];
  wchar_t snmpCommunity[33];
  DWORD doubleSpool;
  wchar_t queue[33];
  wchar_t ipAddress[16];
  BYTE reservedBytes[540];
  DWORD portNumber, snmpEnabled, snmpDevIndex;
};
static_assert(sizeof(PortData1) == 964, "PORT_DATA_1 is 964 bytes");

struct Failure {
  std::string what;
};

void Out(const std::string& line) {
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

[[noreturn]] void Fail(const std::string& what) { throw Failure{what}; }

// The controls by their names in resource_ids.h, listed from it at configure time.
const struct {
  const char* name;
  int id;
} kControls[] = {
#include "control_names.inc"
};

std::string ControlName(int id) {
  for (const auto& control : kControls) {
    if (control.id == id) return control.name;
  }
  return std::to_string(id);
}

// A command line split into words, with the text after the first n words kept whole.
struct Line {
  std::vector<std::string> words;
  std::string raw;

  explicit Line(const std::string& text) : raw(text) {
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
  }
  const std::string& Word(size_t i) const {
    if (i >= words.size()) Fail("missing argument " + std::to_string(i) + " in: " + raw);
    return words[i];
  }
  int Number(size_t i) const {
    const std::string& word = Word(i);
    char* end = nullptr;
    long value = std::strtol(word.c_str(), &end, 0);
    if (!end || *end) Fail("not a number: " + word);
    return static_cast<int>(value);
  }
  // A control by its name in resource_ids.h, or by its number.
  int ControlId(size_t i) const {
    for (const auto& control : kControls) {
      if (Word(i) == control.name) return control.id;
    }
    if (Word(i).rfind("IDC_", 0) == 0) Fail("no control named " + Word(i) + " in resource_ids.h");
    return Number(i);
  }
  std::string RestAfter(size_t n) const {
    size_t at = 0;
    for (size_t i = 0; i < n; ++i) {
      at = raw.find_first_not_of(" \t", at);
      if (at == std::string::npos) return std::string();
      at = raw.find_first_of(" \t", at);
      if (at == std::string::npos) return std::string();
    }
    at = raw.find_first_not_of(" \t", at);
    return at == std::string::npos ? std::string() : raw.substr(at);
  }
};

class Driver {
 public:
  void Run(const Line& line);

 private:
  DWORD timeoutMs_ = 10000;
  Wizard wizard_;
  HANDLE process_ = nullptr;
  HHOOK hook_ = nullptr;
  UINT marker_ = RegisterWindowMessageW(L"e2e.sync");
  long markers_ = 0;

  void HookWizardThread();
  void Sync();

  template <class Condition>
  bool WaitFor(Condition condition, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
      if (condition()) return true;
      if (GetTickCount() - start >= limitMs) return false;
      Sleep(25);
    }
  }

  void RequireWizard() {
    if (!wizard_.main) Fail("no wizard window yet (use: window <caption>)");
    if (!IsWindow(wizard_.main)) Fail("the wizard window is gone");
  }
  void PostToMain(UINT message, WPARAM wParam) {
    RequireWizard();
    PostMessageW(wizard_.main, message, wParam, 0);
  }
  HWND Page(const std::string& name) {
    RequireWizard();
    Sync();
    if (!IsPageName(name)) Fail("unknown page: " + name);
    HWND page = FindPage(wizard_, name);
    if (!page) Fail("page not found: " + name);
    return page;
  }
  HWND Control(const Line& line) {
    HWND page = Page(line.Word(1));
    int id = line.ControlId(2);
    HWND control = GetDlgItem(page, id);
    if (!control) Fail("no control " + std::to_string(id) + " on page " + line.Word(1));
    return control;
  }
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!SendWithin(window, message, wParam, lParam, result)) Fail("the wizard did not answer");
    return result;
  }
  std::wstring Text(HWND window) {
    std::wstring text;
    if (!ReadText(window, text)) Fail("the wizard did not answer");
    return text;
  }
  std::string Where(const Line& line) { return line.Word(1) + " " + line.Word(2); }

  std::string CurrentPage() {
    std::vector<std::string> visible = VisiblePages(wizard_);
    if (visible.empty()) return "none";
    std::string names;
    for (const std::string& name : visible) names += (names.empty() ? "" : ",") + name;
    return names;
  }

  void FindWindowCommand(const Line& line);
  void TextsCommand();
  void ItemsCommand(const Line& line);
  HWND box_ = nullptr;
  void WaitBoxCommand();
  void CloseBoxCommand();
  void NoBoxCommand();
  void MessageBoxCommand(const Line& line);
  void AnswerCommand(const Line& line);
  void GoneCommand();
  void ShowCommand(const Line& line);
  HWND FocusedControl();
  void KeyCommand(const Line& line);
  void FocusCommand();
  void TcpPortCommand(const Line& line);
};

void Driver::FindWindowCommand(const Line& line) {
  std::wstring caption = FromUtf8(line.RestAfter(1));
  bool any = line.words.size() < 2;
  HWND found = nullptr;
  if (!WaitFor([&] { return (found = FindWizardWindow(caption, any)) != nullptr; }, timeoutMs_)) {
    Fail("no wizard window" + (any ? std::string() : " captioned " + Printable(caption)));
  }
  wizard_.main = found;
  GetWindowThreadProcessId(found, &wizard_.processId);
  process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, wizard_.processId);
  HookWizardThread();
  Sync();
  Out("window: " + Printable(Text(found)));
}

// The hook DLL beside this exe is loaded into the wizard and reports when the wizard's thread
// takes a marker from its queue.
void Driver::HookWizardThread() {
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) Fail("cannot find the driver's own path");
  std::wstring dll(path);
  dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"e2e_sync_hook.dll";
  HMODULE module = LoadLibraryW(dll.c_str());
  if (!module) Fail("cannot load e2e_sync_hook.dll: " + std::to_string(GetLastError()));
  auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "E2ESyncHook")));
  DWORD thread = GetWindowThreadProcessId(wizard_.main, nullptr);
  if (!proc || !thread || !(hook_ = SetWindowsHookExW(WH_GETMESSAGE, proc, module, thread))) {
    Fail("cannot hook the wizard's thread: " + std::to_string(GetLastError()));
  }
}

// Posts a marker behind everything posted so far and waits until the wizard's thread takes it.
void Driver::Sync() {
  RequireWizard();
  long number = ++markers_;
  std::wstring name = L"e2e.sync." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(number);
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  if (!event) Fail("cannot create the sync event: " + std::to_string(GetLastError()));
  DWORD waited = WAIT_FAILED;
  if (PostMessageW(wizard_.main, marker_, GetCurrentProcessId(), number)) {
    HANDLE handles[] = {event, process_};
    waited = WaitForMultipleObjects(process_ ? 2 : 1, handles, FALSE, timeoutMs_);
  }
  CloseHandle(event);
  if (waited == WAIT_OBJECT_0 + 1) Fail("the wizard ended");
  if (waited != WAIT_OBJECT_0) Fail("the wizard did not take what was posted to it");
}

void Driver::TextsCommand() {
  Sync();
  Out("caption: " + Printable(Text(wizard_.main)));
  std::vector<std::string> names = {"main"};
  names.insert(names.end(), PageNames().begin(), PageNames().end());
  for (const std::string& name : names) {
    HWND page = FindPage(wizard_, name);
    if (!page) {
      Out("missing page: " + name);
      continue;
    }
    for (HWND control : ControlsOf(page)) {
      int id = GetDlgCtrlID(control) & 0xFFFF;
      Out("text: " + name + " " + ControlName(id) + " " + Printable(Text(control)));
    }
  }
}

void Driver::ItemsCommand(const Line& line) {
  HWND combo = Control(line);
  LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
  Out("items: " + Where(line) + " " + std::to_string(count));
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = Send(combo, CB_GETLBTEXTLEN, i, 0);
    std::vector<wchar_t> item(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    Out("item: " + Where(line) + " " + std::to_string(i) + " " + Printable(item.data()));
  }
  Out("selected: " + Where(line) + " " + std::to_string(Send(combo, CB_GETCURSEL, 0, 0)));
}

void Driver::WaitBoxCommand() {
  RequireWizard();
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = FindMessageBox(wizard_)) != nullptr; }, timeoutMs_)) {
    Fail("no message box; page " + CurrentPage());
  }
  std::wstring text;
  if (HWND label = GetDlgItem(box, kMessageBoxTextId)) text = Text(label);
  Out("box: " + Printable(Text(box)));
  Out("box text: " + Printable(text));
  HWND owner = GetWindow(box, GW_OWNER);
  Out(std::string("box owner: ") + (owner == wizard_.main ? "main" : owner ? "other" : "none"));
  box_ = box;
}

void Driver::CloseBoxCommand() {
  HWND box = box_;
  box_ = nullptr;
  if (!box || !IsWindow(box)) Fail("no open message box (use: waitbox)");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  if (!WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs_)) Fail("the box stayed open");
  Out("box closed");
}

// A box opened by anything posted so far exists once the wizard has taken the marker, though a
// dialog box is shown only when its own loop first finds the queue empty: hidden ones count too.
void Driver::NoBoxCommand() {
  Sync();
  if (HWND box = FindMessageBox(wizard_, false)) {
    std::wstring text;
    if (HWND label = GetDlgItem(box, kMessageBoxTextId)) ReadText(label, text);
    Out("box: " + Printable(Text(box)));
    Out("box text: " + Printable(text));
    Fail("an unexpected message box");
  }
  Out("nobox");
}

void Driver::MessageBoxCommand(const Line& line) {
  const std::wstring caption = FromUtf8(line.RestAfter(1));
  HWND box = nullptr;
  const auto find = [&] {
    box = FindWindowW(L"#32770", caption.c_str());
    return box && IsWindowVisible(box);
  };
  if (!WaitFor(find, timeoutMs_)) Fail("no message box captioned " + Printable(caption));
  GetWindowThreadProcessId(box, &wizard_.processId);
  if (!process_) process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, wizard_.processId);
  std::wstring text;
  if (HWND label = GetDlgItem(box, kMessageBoxTextId)) text = Text(label);
  Out("box: " + Printable(Text(box)));
  Out("box text: " + Printable(text));
  box_ = box;
}

void Driver::AnswerCommand(const Line& line) {
  const std::string& button = line.Word(1);
  const int id = button == "yes" ? IDYES : button == "no" ? IDNO : button == "ok" ? IDOK : 0;
  if (!id) Fail("unknown answer: " + button);
  HWND box = box_;
  box_ = nullptr;
  if (!box || !IsWindow(box)) Fail("no open message box (use: msgbox or waitbox)");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  if (!WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs_)) Fail("the box stayed open");
  Out("answer: " + button);
}

void Driver::GoneCommand() {
  if (!process_) Fail("no wizard process (use: window <caption>)");
  if (WaitForSingleObject(process_, timeoutMs_) != WAIT_OBJECT_0) Fail("the wizard is still running");
  Out("gone");
}

void Driver::ShowCommand(const Line& line) {
  HWND shown = Page(line.Word(1));
  for (const std::string& name : PageNames()) {
    if (HWND page = FindPage(wizard_, name)) ShowWindow(page, page == shown ? SW_SHOW : SW_HIDE);
  }
  RedrawWindow(wizard_.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Out("show: " + line.Word(1));
}

HWND Driver::FocusedControl() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(wizard_.main, nullptr), &info)) {
    Fail("cannot read the wizard's focus: " + std::to_string(GetLastError()));
  }
  return info.hwndFocus;
}

void Driver::KeyCommand(const Line& line) {
  Sync();
  const std::string& name = line.Word(1);
  UINT key = 0;
  if (name == "tab") key = VK_TAB;
  else if (name == "enter") key = VK_RETURN;
  else if (name == "esc") key = VK_ESCAPE;
  else if (name == "space") key = VK_SPACE;
  else Fail("unknown key: " + name);
  HWND focus = FocusedControl();
  if (!focus) Fail("no control has the focus");
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostMessageW(focus, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
  PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
  Out("key: " + name);
}

// The focused control as "<page> <id>": a combo box's edit field counts as its combo box.
void Driver::FocusCommand() {
  Sync();
  HWND focus = FocusedControl();
  for (HWND control = focus; control; control = GetParent(control)) {
    HWND parent = GetParent(control);
    std::string page = parent == wizard_.main ? "main" : (parent ? PageNameOf(parent) : std::string());
    if (!page.empty()) {
      Out("focus: " + page + " " + ControlName(GetDlgCtrlID(control) & 0xFFFF));
      return;
    }
  }
  Out("focus: none");
}

void Driver::TcpPortCommand(const Line& line) {
  std::wstring name = FromUtf8(line.Word(1));
  std::wstring host = FromUtf8(line.Word(2));
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  HANDLE monitor = nullptr;
  wchar_t handleName[] = L", XcvMonitor Standard TCP/IP Port";
  if (!OpenPrinterW(handleName, &monitor, &defaults)) Fail("no Standard TCP/IP Port monitor: " + std::to_string(GetLastError()));
  PortData1 data = {};
  lstrcpynW(data.portName, name.c_str(), 64);
  lstrcpynW(data.hostAddress, host.c_str(), 49);
  lstrcpynW(data.ipAddress, host.c_str(), 16);
  data.version = 1;
  data.protocol = 1;  // raw TCP
  data.size = sizeof(data);
  data.portNumber = 9100;
  DWORD needed = 0, status = 0;
  BOOL sent = XcvDataW(monitor, L"AddPort", reinterpret_cast<BYTE*>(&data), sizeof(data), nullptr, 0, &needed, &status);
  ClosePrinter(monitor);
  if (!sent) Fail("XcvData AddPort failed: " + std::to_string(GetLastError()));
  if (status != 0 && status != ERROR_ALREADY_EXISTS) Fail("AddPort status " + std::to_string(status));
  Out("tcpport: " + line.Word(1) + " status " + std::to_string(status));
}

// Every command: its name, the words it needs after the name (more may follow), what it does.
struct Verb {
  const char* name;
  size_t arguments;
  void (*run)(Driver& driver, const Line& line);
};

void Driver::Run(const Line& line) {
  using D = Driver;
  using L = const Line&;
  static const Verb kVerbs[] = {
      {"window", 0, [](D& d, L l) { d.FindWindowCommand(l); }},
      {"timeout", 1, [](D& d, L l) { d.timeoutMs_ = static_cast<DWORD>(l.Number(1)); }},
      {"page", 0, [](D& d, L) { d.Sync(); Out("page: " + d.CurrentPage()); }},
      {"waitpage", 1,
       [](D& d, L l) {
         d.RequireWizard();
         const std::string& wanted = l.Word(1);
         if (!d.WaitFor([&] { return d.CurrentPage() == wanted; }, d.timeoutMs_)) {
           Fail("page " + d.CurrentPage() + ", not " + wanted);
         }
         d.Sync();
         if (d.CurrentPage() != wanted) Fail("page " + d.CurrentPage() + " after " + wanted);
         Out("page: " + wanted);
       }},
      {"nav", 0,
       [](D& d, L) {
         HWND prev = GetDlgItem(d.Page("main"), IDC_PREV), next = GetDlgItem(d.Page("main"), IDC_NEXT);
         Out(std::string("nav: prev=") + (prev && IsWindowEnabled(prev) ? "1" : "0") +
             " next=" + (next && IsWindowEnabled(next) ? "1" : "0"));
       }},
      {"click", 2, [](D& d, L l) { PostMessageW(d.Control(l), BM_CLICK, 0, 0); Out("click: " + d.Where(l)); }},
      {"command", 2,
       [](D& d, L l) {
         HWND page = d.Page(l.Word(1));
         int id = l.ControlId(2);
         PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
         Out("command: " + d.Where(l));
       }},
      {"settext", 2,
       [](D& d, L l) {
         std::wstring text = FromUtf8(l.RestAfter(3));
         d.Send(d.Control(l), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
         Out("settext: " + d.Where(l) + " " + Printable(text));
       }},
      {"setip", 3,
       [](D& d, L l) {
         unsigned a = 0, b = 0, c = 0, e = 0;
         if (std::sscanf(l.Word(3).c_str(), "%u.%u.%u.%u", &a, &b, &c, &e) != 4) Fail("not an address: " + l.Word(3));
         d.Send(d.Control(l), IPM_SETADDRESS, 0, static_cast<LPARAM>(MAKEIPADDRESS(a, b, c, e)));
         Out("setip: " + d.Where(l) + " " + l.Word(3));
       }},
      {"setfield", 3,
       [](D& d, L l) {
         std::vector<HWND> fields = AddressFields(d.Control(l));
         const int n = l.Number(3);
         if (n < 1 || static_cast<size_t>(n) > fields.size()) Fail("no field " + l.Word(3));
         std::wstring text = FromUtf8(l.RestAfter(4));
         d.Send(fields[static_cast<size_t>(n - 1)], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
         Out("setfield: " + d.Where(l) + " " + l.Word(3) + " " + Printable(text));
       }},
      {"select", 2,
       [](D& d, L l) {
         HWND combo = d.Control(l);
         std::wstring wanted = FromUtf8(l.RestAfter(3));
         LRESULT count = d.Send(combo, CB_GETCOUNT, 0, 0);
         LRESULT index = CB_ERR;
         for (LRESULT i = 0; i < count && index == CB_ERR; ++i) {
           wchar_t item[512] = {};
           if (d.Send(combo, CB_GETLBTEXTLEN, i, 0) < 511)
             d.Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
           if (wanted == item) index = i;
         }
         if (index == CB_ERR) Fail("no item " + Printable(wanted) + " in " + d.Where(l));
         d.Send(combo, CB_SETCURSEL, index, 0);
         Out("select: " + d.Where(l) + " " + std::to_string(index));
       }},
      {"text", 2, [](D& d, L l) { Out("text: " + d.Where(l) + " " + Printable(d.Text(d.Control(l)))); }},
      {"ip", 2, [](D& d, L l) { Out("ip: " + d.Where(l) + " " + Printable(ReadAddressFields(d.Control(l)))); }},
      {"texts", 0, [](D& d, L) { d.TextsCommand(); }},
      {"checked", 2,
       [](D& d, L l) {
         Out("checked: " + d.Where(l) + " " + std::to_string(d.Send(d.Control(l), BM_GETCHECK, 0, 0)));
       }},
      {"items", 2, [](D& d, L l) { d.ItemsCommand(l); }},
      {"box", 0, [](D& d, L) { d.WaitBoxCommand(); d.CloseBoxCommand(); }},
      {"waitbox", 0, [](D& d, L) { d.WaitBoxCommand(); }},
      {"closebox", 0, [](D& d, L) { d.CloseBoxCommand(); }},
      {"msgbox", 0, [](D& d, L l) { d.MessageBoxCommand(l); }},
      {"answer", 1, [](D& d, L l) { d.AnswerCommand(l); }},
      {"nobox", 0, [](D& d, L) { d.NoBoxCommand(); }},
      {"key", 1, [](D& d, L l) { d.KeyCommand(l); }},
      {"focus", 0, [](D& d, L) { d.FocusCommand(); }},
      {"close", 0, [](D& d, L) { d.PostToMain(WM_SYSCOMMAND, SC_CLOSE); Out("close: sent"); }},
      {"cancel", 0, [](D& d, L) { d.PostToMain(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)); Out("cancel: sent"); }},
      {"gone", 0, [](D& d, L) { d.GoneCommand(); }},
      {"show", 1, [](D& d, L l) { d.ShowCommand(l); }},
      {"idle", 0, [](D& d, L l) { d.Sync(); Out(l.words[0]); }},
      {"sync", 0, [](D& d, L l) { d.Sync(); Out(l.words[0]); }},
      {"sleep", 1, [](D&, L l) { Sleep(static_cast<DWORD>(l.Number(1))); }},
      {"kill", 1,
       [](D&, L l) {
         HANDLE target = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(l.Number(1)));
         if (!target) Fail("no process " + l.Word(1));
         TerminateProcess(target, 1);
         CloseHandle(target);
         Out("killed: " + l.Word(1));
       }},
      {"tcpport", 2, [](D& d, L l) { d.TcpPortCommand(l); }},
  };
  if (line.words.empty() || line.words[0][0] == '#') return;
  for (const Verb& verb : kVerbs) {
    if (line.words[0] != verb.name) continue;
    if (line.words.size() <= verb.arguments) line.Word(line.words.size());  // fails: names the first missing
    verb.run(*this, line);
    return;
  }
  Fail("unknown command: " + line.words[0]);
}

std::vector<std::string> ReadScript(const wchar_t* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read the script");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lines.empty() && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    lines.push_back(line);
  }
  return lines;
}

std::string Narrow(const wchar_t* text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
  if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace
}  // namespace e2e

int wmain(int argc, wchar_t** argv) {
  using namespace e2e;
  try {
    std::vector<std::string> lines;
    if (argc == 3 && lstrcmpW(argv[1], L"-f") == 0) {
      lines = ReadScript(argv[2]);
    } else {
      for (int i = 1; i < argc; ++i) lines.push_back(Narrow(argv[i]));
    }
    Driver driver;
    for (const std::string& line : lines) driver.Run(Line(line));
  } catch (const Failure& failure) {
    Out("error: " + failure.what);
    return 1;
  }
  return 0;
}
