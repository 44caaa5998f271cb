#include "driver_windows.h"

#include <algorithm>
#include <utility>

namespace e2e {
namespace {
// Each page is known by a control that only it holds.
const std::vector<std::pair<std::string, int>>& PageMarkers() {
  static const std::vector<std::pair<std::string, int>> markers = {
      {"language", IDC_CHINESE},   {"type", IDC_TYPE_USB}, {"type", IDC_TYPE_NETWORK},
      {"network", IDC_IP_ADDRESS}, {"usb", IDC_USB_COMBO}, {"serial", IDC_SERIAL_COMBO},
      {"parallel", IDC_PARALLEL_COMBO}};
  return markers;
}

std::vector<HWND> DirectChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

bool HasDirectChild(HWND parent, int id) {
  HWND child = GetDlgItem(parent, id);
  return child && GetParent(child) == parent;
}

std::wstring StoredText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);  // another process's window: its stored title, no message
  return text;
}

struct BoxSearch {
  DWORD processId;
  HWND main;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK FindBoxProc(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<BoxSearch*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || window == search->main) return TRUE;
  if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (ClassOf(window) != L"#32770" || HasDirectChild(window, IDC_PAGE_AREA)) return TRUE;
  search->found = window;
  return FALSE;
}

struct WizardSearch {
  const std::wstring* caption;
  bool anyCaption;
  HWND found;
};

BOOL CALLBACK FindWizardProc(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WizardSearch*>(parameter);
  if (!IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
  if (!HasDirectChild(window, IDC_PAGE_AREA)) return TRUE;
  if (!search->anyCaption && StoredText(window) != *search->caption) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

const std::vector<std::string>& PageNames() {
  static const std::vector<std::string> names = {"language", "type", "network", "usb", "serial", "parallel"};
  return names;
}

bool IsPageName(const std::string& name) {
  return name == "main" || std::find(PageNames().begin(), PageNames().end(), name) != PageNames().end();
}

HWND FindWizardWindow(const std::wstring& caption, bool anyCaption) {
  WizardSearch search{&caption, anyCaption, nullptr};
  EnumWindows(FindWizardProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string PageNameOf(HWND page) {
  for (const auto& [name, id] : PageMarkers()) {
    if (HasDirectChild(page, id)) return name;
  }
  return std::string();
}

HWND FindPage(const Wizard& wizard, const std::string& name) {
  if (name == "main") return wizard.main;
  HWND area = GetDlgItem(wizard.main, IDC_PAGE_AREA);
  if (!area) return nullptr;
  for (HWND page : DirectChildren(area)) {
    if (PageNameOf(page) == name) return page;
  }
  return nullptr;
}

std::vector<std::string> VisiblePages(const Wizard& wizard) {
  std::vector<std::string> visible;
  HWND area = GetDlgItem(wizard.main, IDC_PAGE_AREA);
  if (!area) return visible;
  for (HWND page : DirectChildren(area)) {
    if (IsWindowVisible(page)) visible.push_back(PageNameOf(page));
  }
  return visible;
}

HWND FindMessageBox(const Wizard& wizard, bool visibleOnly) {
  BoxSearch search{wizard.processId, wizard.main, visibleOnly, nullptr};
  EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &answer)) return false;
  result = static_cast<LRESULT>(answer);
  return true;
}

bool ReadText(HWND window, std::wstring& text) {
  LRESULT length = 0;
  if (!SendWithin(window, WM_GETTEXTLENGTH, 0, 0, length)) return false;
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 2, L'\0');
  LRESULT copied = 0;
  if (!SendWithin(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), copied)) return false;
  text.assign(buffer.data(), std::min<size_t>(static_cast<size_t>(copied), buffer.size()));
  return true;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::vector<HWND> AddressFields(HWND control) {
  std::vector<HWND> fields = DirectChildren(control);
  std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return fields;
}

std::wstring ReadAddressFields(HWND control) {
  std::vector<HWND> fields = AddressFields(control);
  std::wstring joined;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::wstring field;
    ReadText(fields[i], field);
    if (i) joined += L'.';
    joined += field;
  }
  return joined;
}

std::vector<HWND> ControlsOf(HWND page) {
  std::vector<HWND> controls;
  for (HWND child : DirectChildren(page)) {
    if (ClassOf(child) != L"#32770") controls.push_back(child);
  }
  return controls;
}

std::string Printable(const std::wstring& text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    if (c == L'\r') escaped += L"\\r";
    else if (c == L'\n') escaped += L"\\n";
    else if (c == L'\t') escaped += L"\\t";
    else escaped += c;
  }
  int bytes = WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()), &utf8[0], bytes, nullptr,
                      nullptr);
  return utf8;
}

std::wstring FromUtf8(const std::string& text) {
  int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], units);
  return wide;
}

}  // namespace e2e
