// A stand-in for the wizard, on the product's own dialog templates, for testing the harness
// itself: pages in the page area, relabelling on a language click, Prev/Next between the
// language, connection-type and connection pages, a success box on Next on the network page,
// an error box on Next on an empty USB page, and the exit codes 0, 1602 and 1603.
// It installs nothing; config.ini beside it gives Caption, PrnName and DefaultLanguage.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "resources/resource_ids.h"

namespace {
HINSTANCE instance;
HWND mainWindow, pageArea, pages[6];
int current = 0;  // index into pages: language, type, network, usb, serial, parallel
bool english = true;
std::wstring configPath, printerName;

const int kTemplates[6] = {IDD_LANGUAGE, IDD_CONNECTION_TYPE, IDD_NETWORK, IDD_USB, IDD_SERIAL, IDD_PARALLEL};

struct Label {
  int page;  // -1: the main window
  int id;
  const wchar_t* chinese;
  const wchar_t* english;
};
const Label kLabels[] = {
    {-1, IDC_PREV, L"上一步", L"Prev"},        {-1, IDC_NEXT, L"下一步", L"Next"},
    {0, IDC_CHINESE, L"中文", L"Chinese"},     {0, IDC_ENGLISH, L"英语", L"English"},
    {4, IDC_SERIAL_LABEL, L"串口：", L"Com Port:"}, {5, IDC_PARALLEL_LABEL, L"并口：", L"Lpt Port:"},
    {3, IDC_USB_SEARCH, L"搜索USB", L"SEARCH USB"},
};

void ApplyLanguage(bool toEnglish) {
  english = toEnglish;
  for (const Label& label : kLabels) {
    HWND window = label.page < 0 ? mainWindow : pages[label.page];
    SetDlgItemTextW(window, label.id, english ? label.english : label.chinese);
  }
}

void Show(int index) {
  for (HWND page : pages) ShowWindow(page, SW_HIDE);
  ShowWindow(pages[index], SW_SHOW);
  current = index;
  EnableWindow(GetDlgItem(mainWindow, IDC_PREV), index != 0);
}

std::wstring Profile(const wchar_t* key) {
  wchar_t value[260] = {};
  GetPrivateProfileStringW(L"ARGS", key, L"", value, 260, configPath.c_str());
  return value;
}

void Next() {
  wchar_t text[260] = {};
  switch (current) {
    case 0: Show(1); break;
    case 1: Show(IsDlgButtonChecked(pages[1], IDC_TYPE_NETWORK) ? 2 : 3); break;
    case 2: {
      std::wstring done = L"Add Printer Successful - " + printerName;
      MessageBoxW(mainWindow, done.c_str(), L"OK", MB_OK);
      PostQuitMessage(0);
      break;
    }
    case 3:
      GetDlgItemTextW(pages[3], IDC_USB_COMBO, text, 260);
      if (!text[0]) {
        MessageBoxW(mainWindow, english ? L"Did not find the USB printer. - ERROR CODE: 0\r\n"
                                        : L"没有发现USB打印机 - ERROR CODE: 0\r\n", L"ERROR", MB_OK);
      } else {
        MessageBoxW(mainWindow, L"AddPrinter Failed - ERROR CODE: 1796\r\n", L"ERROR", MB_OK);
        PostQuitMessage(1603);
      }
      break;
  }
}

INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && GetDlgItem(window, IDC_CHINESE)) {
    if (LOWORD(wParam) == IDC_CHINESE) ApplyLanguage(false);
    if (LOWORD(wParam) == IDC_ENGLISH) ApplyLanguage(true);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    mainWindow = window;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    configPath = path;
    configPath = configPath.substr(0, configPath.find_last_of(L'\\')) + L"\\config.ini";
    SetWindowTextW(window, Profile(L"Caption").c_str());
    printerName = Profile(L"PrnName");
    pageArea = GetDlgItem(window, IDC_PAGE_AREA);
    RECT area;
    GetClientRect(pageArea, &area);
    for (int i = 0; i < 6; ++i) {
      pages[i] = CreateDialogParamW(instance, MAKEINTRESOURCEW(kTemplates[i]), pageArea, PageProc, 0);
      MoveWindow(pages[i], 0, 0, area.right, area.bottom, FALSE);
    }
    SetDlgItemTextW(pages[2], IDC_IP_ADDRESS, L"192.168.1.100");
    CheckDlgButton(pages[1], IDC_TYPE_USB, BST_CHECKED);
    bool chinese = Profile(L"DefaultLanguage") == L"CHN";
    CheckDlgButton(pages[0], chinese ? IDC_CHINESE : IDC_ENGLISH, BST_CHECKED);
    ApplyLanguage(!chinese);
    Show(0);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL: PostQuitMessage(1602); return TRUE;
    case IDC_PREV: Show(current == 1 ? 0 : 1); return TRUE;
    case IDC_NEXT: Next(); return TRUE;
  }
  return FALSE;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE module, HINSTANCE, PWSTR, int) {
  instance = module;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_INTERNET_CLASSES};
  InitCommonControlsEx(&controls);
  HWND window = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainProc, 0);
  if (!window) return 1603;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
