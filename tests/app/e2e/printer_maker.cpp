// e2e_printers.exe: many printers at once, faster than one wizard run each.
//   e2e_printers add <base> <from> <to> <port> <driver>   adds <base> (for 1) and <base>(n)
//   e2e_printers remove <base> <from> <to>                deletes them again (a missing one is skipped)
// Prints "added <n>" or "removed <n>"; exit code 1 at the first call that fails, naming it.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring NameOf(const std::wstring& base, int n) {
  return n == 1 ? base : base + L"(" + std::to_wstring(n) + L")";
}

int Add(const std::wstring& base, int from, int to, const wchar_t* port, const wchar_t* driver) {
  int added = 0;
  for (int n = from; n <= to; ++n) {
    std::wstring name = NameOf(base, n);
    PRINTER_INFO_2W info = {};
    info.pPrinterName = &name[0];
    info.pPortName = const_cast<wchar_t*>(port);
    info.pDriverName = const_cast<wchar_t*>(driver);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) {
      std::printf("AddPrinter %ls failed: %lu\n", name.c_str(), GetLastError());
      return 1;
    }
    ClosePrinter(printer);
    ++added;
  }
  std::printf("added %d\n", added);
  return 0;
}

int Remove(const std::wstring& base, int from, int to) {
  int removed = 0;
  for (int n = from; n <= to; ++n) {
    std::wstring name = NameOf(base, n);
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(&name[0], &printer, &access)) continue;
    if (!DeletePrinter(printer)) {
      std::printf("DeletePrinter %ls failed: %lu\n", name.c_str(), GetLastError());
      ClosePrinter(printer);
      return 1;
    }
    ClosePrinter(printer);
    ++removed;
  }
  std::printf("removed %d\n", removed);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 7 && std::wcscmp(argv[1], L"add") == 0) {
    return Add(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), argv[5], argv[6]);
  }
  if (argc == 5 && std::wcscmp(argv[1], L"remove") == 0) return Remove(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
  std::printf("usage: e2e_printers add <base> <from> <to> <port> <driver> | remove <base> <from> <to>\n");
  return 2;
}
