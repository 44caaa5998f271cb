/* bare_install.exe: the spooler calls of the wizard's network install and nothing else (no
 * window, no configuration file, no log), so scripts/bench can set the wizard's own cost apart.
 *
 *   bare_install <printer-name> <address> <package-folder> [name=value ...]
 *     The Standard TCP/IP port <address> (raw, 9100; an existing one counts as made), the LBLENG
 *     driver from <package-folder> (the folder holding LBLENG.GPD, e.g. ...\SETUP\ENG), the
 *     printer under <printer-name> or the first free "<printer-name>(n)", and each name=value as
 *     printer data. Prints "installed: <name> on <port>"; exit code 0, else 1 and "failed: ...".
 *   bare_install crowd <printers> <ports> <package-folder>
 *     Fills the spooler: <ports> Standard TCP/IP ports 10.250.x.y and <printers> printers
 *     "Crowd NNNN" with the LBLENG driver spread over them. Names already there are kept.
 *   bare_install hold <seconds> | bare_install release
 *     hold keeps winspool loaded, prints "holding" and waits until release (or the limit). Under
 *     Wine a process that loads winspool first re-reads every printer (four full enumerations;
 *     on Windows the spooler service keeps that state) unless a process that did so still lives:
 *     with one held, the bench measures the programs rather than that.
 *
 * The calls and their order follow the wizard's install road: OpenPrinter on the monitor and
 * XcvData "AddPort", EnumPrinters level 2 for a free name, GetPrinterDriverDirectory, the package
 * files copied, AddPrinterDriver level 3, AddPrinter level 2, SetPrinterData, ClosePrinter. */
#include <windows.h>
#include <winspool.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

/* PORT_DATA_1 of tcpxcv.h, which mingw-w64 lacks: the record the monitor's "AddPort" takes. */
typedef struct {
  WCHAR portName[64];
  DWORD version, protocol, size, reserved;
  WCHAR hostAddress[49];
  WCHAR snmpCommunity[33];
  DWORD doubleSpool;
  WCHAR queue[33];
  WCHAR ipAddress[16];
  BYTE reservedBytes[540];
  DWORD portNumber, snmpEnabled, snmpDevIndex;
} PortData1;
_Static_assert(sizeof(PortData1) == 964, "PORT_DATA_1 is 964 bytes");

#define DRIVER_NAME L"LBLENG"
#define ENVIRONMENT L"Windows NT x86"
#define LAST_PRINTER_NUMBER 254

/* The package's own five files, then the six UNIDRV files, in the wizard's copy order. */
static const WCHAR* const kPackageFiles[] = {
    L"LBLENG.GPD", L"LBLUIENG.DLL", L"LBLENG.INI", L"LBLUNIENG.DLL", L"LBLRCENG.DLL", L"UNIDRV.DLL",
    L"UNIDRVUI.DLL", L"UNIDRV.HLP", L"UNIRES.DLL", L"STDNAMES.GPD", L"TTFSUB.GPD"};

static int Failed(const char* step, DWORD error) {
  printf("failed: %s %lu\n", step, error);
  fflush(stdout);
  return 1;
}

static HANDLE OpenTcpIpMonitor(void) {
  WCHAR handleName[] = L", XcvMonitor Standard TCP/IP Port";
  PRINTER_DEFAULTSW defaults = {NULL, NULL, SERVER_ACCESS_ADMINISTER};
  HANDLE monitor = NULL;
  return OpenPrinterW(handleName, &monitor, &defaults) ? monitor : NULL;
}

/* 0 when the port is there afterwards (made now or before), else the error. */
static DWORD AddTcpIpPort(HANDLE monitor, const WCHAR* address) {
  PortData1 data;
  DWORD needed = 0, status = 0;
  ZeroMemory(&data, sizeof(data));
  lstrcpynW(data.portName, address, 64);
  lstrcpynW(data.hostAddress, address, 49);
  lstrcpynW(data.snmpCommunity, L"zandor", 33);
  lstrcpynW(data.ipAddress, address, 16);
  data.version = 1;
  data.protocol = 1; /* raw TCP */
  data.size = sizeof(data);
  data.portNumber = 9100;
  data.snmpDevIndex = 1;
  if (!XcvDataW(monitor, L"AddPort", (BYTE*)&data, sizeof(data), NULL, 0, &needed, &status)) return GetLastError();
  return status == ERROR_ALREADY_EXISTS ? 0 : status;
}

static int Exists(const WCHAR* folder, const WCHAR* name) {
  WCHAR path[MAX_PATH];
  _snwprintf(path, MAX_PATH, L"%ls\\%ls", folder, name);
  path[MAX_PATH - 1] = L'\0';
  return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

/* The driver directory, the package copied into it, the driver registered. */
static int InstallDriver(const WCHAR* package) {
  WCHAR driverDir[MAX_PATH];
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(NULL, (WCHAR*)ENVIRONMENT, 1, (BYTE*)driverDir, sizeof(driverDir), &needed)) {
    return Failed("GetPrinterDriverDirectory", GetLastError());
  }
  for (size_t i = 0; i < sizeof(kPackageFiles) / sizeof(kPackageFiles[0]); ++i) {
    WCHAR from[MAX_PATH], to[MAX_PATH];
    _snwprintf(from, MAX_PATH, L"%ls\\%ls", package, kPackageFiles[i]);
    _snwprintf(to, MAX_PATH, L"%ls\\%ls", driverDir, kPackageFiles[i]);
    from[MAX_PATH - 1] = to[MAX_PATH - 1] = L'\0';
    /* As the wizard does, a file that cannot be copied is passed over. */
    CopyFileW(from, to, FALSE);
  }
  /* The plug-ins are listed only when the package has them, as the wizard lists them. */
  WCHAR dependent[512];
  int length = _snwprintf(dependent, 512, L"UNIDRV.DLL|UNIDRVUI.DLL|UNIDRV.HLP|UNIRES.DLL|STDNAMES.GPD|TTFSUB.GPD|"
                                          L"LBLENG.GPD|LBLRCENG.DLL|%ls%ls%ls|",
                          Exists(package, L"LBLUIENG.DLL") ? L"LBLUIENG.DLL|" : L"",
                          Exists(package, L"LBLENG.INI") ? L"LBLENG.INI|" : L"",
                          Exists(package, L"LBLUNIENG.DLL") ? L"LBLUNIENG.DLL|" : L"");
  if (length < 0 || length >= 511) return Failed("dependent files", ERROR_INSUFFICIENT_BUFFER);
  dependent[length + 1] = L'\0';
  for (int i = 0; i < length; ++i) {
    if (dependent[i] == L'|') dependent[i] = L'\0';
  }

  DRIVER_INFO_3W driver;
  ZeroMemory(&driver, sizeof(driver));
  driver.cVersion = 3;
  driver.pName = (WCHAR*)DRIVER_NAME;
  driver.pEnvironment = (WCHAR*)ENVIRONMENT;
  driver.pDriverPath = (WCHAR*)L"UNIDRV.DLL";
  driver.pDataFile = (WCHAR*)L"LBLENG.GPD";
  driver.pConfigFile = (WCHAR*)L"UNIDRVUI.DLL";
  driver.pHelpFile = (WCHAR*)L"UNIDRV.HLP";
  driver.pDependentFiles = dependent;
  driver.pDefaultDataType = (WCHAR*)L"Raw";
  if (!AddPrinterDriverW(NULL, 3, (BYTE*)&driver)) return Failed("AddPrinterDriver", GetLastError());
  return 0;
}

/* The local printers, level 2; NULL when the spooler cannot list them. Free with free(). */
static PRINTER_INFO_2W* ListPrinters(DWORD* count) {
  DWORD needed = 0;
  *count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, NULL, 2, NULL, 0, &needed, count);
  /* The list can grow between the two calls: ask again with the larger size. */
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = needed ? needed : 1;
    BYTE* buffer = (BYTE*)malloc(size);
    if (!buffer) return NULL;
    if (EnumPrintersW(PRINTER_ENUM_LOCAL, NULL, 2, buffer, size, &needed, count)) return (PRINTER_INFO_2W*)buffer;
    free(buffer);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
  }
  *count = 0;
  return NULL;
}

static int Taken(const PRINTER_INFO_2W* printers, DWORD count, const WCHAR* name) {
  for (DWORD i = 0; i < count; ++i) {
    if (printers[i].pPrinterName && lstrcmpiW(printers[i].pPrinterName, name) == 0) return 1;
  }
  return 0;
}

/* base, else base(2), base(3), ... as the wizard names a printer whose name is taken. */
static int FreeName(const WCHAR* base, WCHAR* out, size_t capacity) {
  DWORD count = 0;
  PRINTER_INFO_2W* printers = ListPrinters(&count);
  int found = 0;
  lstrcpynW(out, base, (int)capacity);
  if (!Taken(printers, count, out)) found = 1;
  for (int n = 2; !found && n <= LAST_PRINTER_NUMBER; ++n) {
    _snwprintf(out, capacity, L"%ls(%d)", base, n);
    out[capacity - 1] = L'\0';
    found = !Taken(printers, count, out);
  }
  free(printers);
  return found;
}

static HANDLE AddPrinterOnPort(const WCHAR* name, const WCHAR* port) {
  PRINTER_INFO_2W printer;
  ZeroMemory(&printer, sizeof(printer));
  printer.pPrinterName = (WCHAR*)name;
  printer.pPortName = (WCHAR*)port;
  printer.pDriverName = (WCHAR*)DRIVER_NAME;
  printer.pPrintProcessor = (WCHAR*)L"WinPrint";
  printer.pDatatype = (WCHAR*)L"Raw";
  printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  return AddPrinterW(NULL, 2, (BYTE*)&printer);
}

static int Install(const WCHAR* baseName, const WCHAR* address, const WCHAR* package, int dataCount,
                   WCHAR** data) {
  HANDLE monitor = OpenTcpIpMonitor();
  if (!monitor) return Failed("OpenPrinter monitor", GetLastError());
  DWORD portError = AddTcpIpPort(monitor, address);
  ClosePrinter(monitor);
  if (portError) return Failed("AddPort", portError);

  WCHAR name[256];
  if (!FreeName(baseName, name, 256)) return Failed("no free printer name", ERROR_FILENAME_EXCED_RANGE);
  if (InstallDriver(package)) return 1;
  HANDLE printer = AddPrinterOnPort(name, address);
  if (!printer) return Failed("AddPrinter", GetLastError());
  for (int i = 0; i < dataCount; ++i) {
    WCHAR* sign = wcschr(data[i], L'=');
    if (!sign) continue;
    *sign = L'\0';
    const WCHAR* value = sign + 1;
    /* REG_SZ without its terminating NUL, as the wizard stores it. */
    DWORD error = SetPrinterDataW(printer, data[i], REG_SZ, (BYTE*)value, (DWORD)(wcslen(value) * sizeof(WCHAR)));
    *sign = L'=';
    if (error != ERROR_SUCCESS) {
      ClosePrinter(printer);
      return Failed("SetPrinterData", error);
    }
  }
  ClosePrinter(printer);
  printf("installed: %ls on %ls\n", name, address);
  return 0;
}

static void CrowdAddress(unsigned index, WCHAR* out, size_t capacity) {
  /* 250 hosts a subnet keeps away from .0 and .255. */
  _snwprintf(out, capacity, L"10.250.%u.%u", index / 250, index % 250 + 1);
  out[capacity - 1] = L'\0';
}

static int Crowd(unsigned printers, unsigned ports, const WCHAR* package) {
  if (ports == 0 && printers > 0) return Failed("printers need at least one port", ERROR_INVALID_PARAMETER);
  if (ports > 250 * 256) return Failed("too many ports", ERROR_INVALID_PARAMETER);
  if (InstallDriver(package)) return 1;
  HANDLE monitor = OpenTcpIpMonitor();
  if (!monitor) return Failed("OpenPrinter monitor", GetLastError());
  WCHAR address[32];
  for (unsigned i = 0; i < ports; ++i) {
    CrowdAddress(i, address, 32);
    DWORD error = AddTcpIpPort(monitor, address);
    if (error) {
      ClosePrinter(monitor);
      return Failed("AddPort", error);
    }
  }
  ClosePrinter(monitor);
  for (unsigned i = 0; i < printers; ++i) {
    WCHAR name[32];
    _snwprintf(name, 32, L"Crowd %04u", i + 1);
    name[31] = L'\0';
    CrowdAddress(i % ports, address, 32);
    HANDLE printer = AddPrinterOnPort(name, address);
    if (printer) {
      ClosePrinter(printer);
    } else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
      return Failed("AddPrinter", GetLastError());
    }
  }
  DWORD count = 0;
  free(ListPrinters(&count));
  printf("crowd: %u printers on %u ports added; %lu printers in the spooler\n", printers, ports, count);
  return 0;
}

#define HOLD_EVENT L"BareInstallHoldEnd"

static int Hold(DWORD seconds) {
  HANDLE end = CreateEventW(NULL, TRUE, FALSE, HOLD_EVENT);
  if (!end) return Failed("CreateEvent", GetLastError());
  /* winspool is imported, so its load-time work is done before this line. */
  printf("holding\n");
  fflush(stdout);
  DWORD waited = WaitForSingleObject(end, seconds * 1000);
  CloseHandle(end);
  printf(waited == WAIT_OBJECT_0 ? "released\n" : "hold limit reached\n");
  return 0;
}

static int Release(void) {
  HANDLE end = OpenEventW(EVENT_MODIFY_STATE, FALSE, HOLD_EVENT);
  if (!end) return Failed("no holder", GetLastError());
  SetEvent(end);
  CloseHandle(end);
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && lstrcmpiW(argv[1], L"hold") == 0) return Hold((DWORD)wcstoul(argv[2], NULL, 10));
  if (argc == 2 && lstrcmpiW(argv[1], L"release") == 0) return Release();
  if (argc == 5 && lstrcmpiW(argv[1], L"crowd") == 0) {
    return Crowd((unsigned)wcstoul(argv[2], NULL, 10), (unsigned)wcstoul(argv[3], NULL, 10), argv[4]);
  }
  if (argc >= 4) return Install(argv[1], argv[2], argv[3], argc - 4, argv + 4);
  printf("usage: bare_install <printer-name> <address> <package-folder> [name=value ...]\n"
         "       bare_install crowd <printers> <ports> <package-folder>\n"
         "       bare_install hold <seconds> | bare_install release\n");
  return 2;
}
