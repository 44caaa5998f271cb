// The demo package's UNIDRVUI.DLL as Wine's spooler reaches it: AddPrinterW stores the driver's
// default DEVMODE, DocumentPropertiesW asks the driver for its size, its current settings and
// its merge of an input, DeviceCapabilitiesW for its custom-paper range, and the queue's global
// DEVMODE (level 8) keeps what SetPrinterW gives it.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "fixture_names.h"
#include "test_bed.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr LONG kFullSize = sizeof(DEVMODEW) + FIXTURE_DRIVER_EXTRA;
constexpr DWORD kDriverFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_PRINTQUALITY;

const DEVMODEW* AsDevMode(const Bytes& bytes) { return reinterpret_cast<const DEVMODEW*>(bytes.data()); }
DEVMODEW* AsDevMode(Bytes& bytes) { return reinterpret_cast<DEVMODEW*>(bytes.data()); }

// The members the driver settles, as one line that a failed check shows whole.
std::string Members(DWORD fields, int orientation, int paperSize, int width, int length, int copies, int quality) {
  char text[160];
  std::snprintf(text, sizeof(text), "fields 0x%08lX orientation %d paper %d %dx%d copies %d quality %d",
                static_cast<unsigned long>(fields), orientation, paperSize, width, length, copies, quality);
  return text;
}
std::string Members(const Bytes& bytes) {
  if (bytes.size() < sizeof(DEVMODEW)) return "no DEVMODE (" + std::to_string(bytes.size()) + " bytes)";
  const DEVMODEW* dm = AsDevMode(bytes);
  return Members(dm->dmFields, dm->dmOrientation, dm->dmPaperSize, dm->dmPaperWidth, dm->dmPaperLength, dm->dmCopies,
                 dm->dmPrintQuality);
}
const std::string kDefault = Members(kDriverFields, DMORIENT_PORTRAIT, DMPAPER_A4, 2100, 2970, 1, 203);

// The driver's own DEVMODE: its sizes and version, and its tag behind the public part.
std::string Shape(const Bytes& bytes) {
  if (bytes.size() != static_cast<std::size_t>(kFullSize)) return "size " + std::to_string(bytes.size());
  const DEVMODEW* dm = AsDevMode(bytes);
  const std::string tag(reinterpret_cast<const char*>(bytes.data()) + sizeof(DEVMODEW), 4);
  return "spec " + std::to_string(dm->dmSpecVersion) + " size " + std::to_string(dm->dmSize) + " extra " +
         std::to_string(dm->dmDriverExtra) + " tag " + tag;
}
const std::string kOwnShape = "spec " + std::to_string(DM_SPECVERSION) + " size 220 extra 8 tag " FIXTURE_DRIVER_TAG;

// DocumentPropertiesW into a buffer of the size the driver answers, zeroed as a caller that
// allocates it leaves it (Wine hands the driver that buffer's dmSize as cbOut).
Bytes DriverDevMode(HANDLE printer, const std::u16string& name, const Bytes* input, LONG* answer) {
  Bytes out(static_cast<std::size_t>(kFullSize), 0);
  Bytes in = input ? *input : Bytes();
  *answer = DocumentPropertiesW(nullptr, printer, const_cast<wchar_t*>(W(name)), AsDevMode(out),
                                input ? AsDevMode(in) : nullptr, input ? DM_IN_BUFFER | DM_OUT_BUFFER : DM_OUT_BUFFER);
  return out;
}

Bytes GlobalDevMode(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 8, nullptr, 0, &needed);
  if (needed < sizeof(PRINTER_INFO_8W)) return {};
  Bytes buffer(needed);
  if (!GetPrinterW(printer, 8, buffer.data(), needed, &needed)) return {};
  const DEVMODEW* dm = reinterpret_cast<const PRINTER_INFO_8W*>(buffer.data())->pDevMode;
  if (!dm) return {};
  const auto* begin = reinterpret_cast<const std::uint8_t*>(dm);
  return Bytes(begin, begin + dm->dmSize + dm->dmDriverExtra);
}

// An installed printer of the demo package (LBLENG) on a Standard TCP/IP port, opened for
// administering; printer and port removed before and after.
struct DriverScene {
  TestBed bed;
  std::u16string name = u"Wine Devmode";
  std::u16string port = u"192.0.2.81";
  CleanUp cleanUp;
  HANDLE printer = nullptr;
  DriverScene()
      : cleanUp([this] {
          wine_test::DeletePrinters(name);
          wine_test::DeleteTcpIpPort(port);
        }) {
    REQUIRE_EQ(bed.AddTcpIpPort(port), 1);
    REQUIRE_EQ(bed.Install(wine_test::DemoContext(bed.osBitness, u"ENG", name), port), 1);
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    REQUIRE(OpenPrinterW(const_cast<wchar_t*>(W(name)), &printer, &defaults));
  }
  ~DriverScene() {
    if (printer) ClosePrinter(printer);
  }
  DriverScene(const DriverScene&) = delete;
  DriverScene& operator=(const DriverScene&) = delete;
};

CASE(DriverUiDefaultIsWhatAddPrinterStores) {
  DriverScene scene;
  const Bytes stored = GlobalDevMode(scene.printer);
  CHECK_EQ(Members(stored), kDefault);
  CHECK_EQ(Shape(stored), kOwnShape);
  REQUIRE(!stored.empty());
  CHECK_EQ(std::wstring(AsDevMode(stored)->dmDeviceName), std::wstring(W(scene.name)));
}

CASE(DriverUiAnswersTheSizeOfItsWholeDevMode) {
  DriverScene scene;
  wchar_t* name = const_cast<wchar_t*>(W(scene.name));
  CHECK_EQ(DocumentPropertiesW(nullptr, scene.printer, name, nullptr, nullptr, 0), kFullSize);
  // By name alone, as AddPrinterW asks.
  CHECK_EQ(DocumentPropertiesW(nullptr, nullptr, name, nullptr, nullptr, 0), kFullSize);
  CHECK(kFullSize > static_cast<LONG>(sizeof(DEVMODEW)));
}

CASE(DriverUiOutBufferGivesA4Portrait) {
  DriverScene scene;
  LONG answer = 0;
  const Bytes out = DriverDevMode(scene.printer, scene.name, nullptr, &answer);
  CHECK_EQ(answer, static_cast<LONG>(IDOK));
  CHECK_EQ(Members(out), kDefault);
  CHECK_EQ(Shape(out), kOwnShape);
  CHECK_EQ(std::wstring(AsDevMode(out)->dmDeviceName), std::wstring(W(scene.name)));
}

// An input as the installer makes it (the driver's own DEVMODE with members changed, every
// field still named) or a bare public part naming only the fields given.
struct MergeRow {
  const char* what;
  bool fromOwn;
  DWORD fields;
  short orientation, paperSize, width, length, copies, quality;
  std::string expected;
};

Bytes InputOf(const MergeRow& row, const Bytes& own) {
  Bytes input;
  if (row.fromOwn) {
    input = own;
  } else {
    input.assign(sizeof(DEVMODEW), 0);
    AsDevMode(input)->dmSpecVersion = DM_SPECVERSION;
    AsDevMode(input)->dmSize = sizeof(DEVMODEW);
    AsDevMode(input)->dmFields = row.fields;
  }
  DEVMODEW* dm = AsDevMode(input);
  if (row.fields & DM_ORIENTATION) dm->dmOrientation = row.orientation;
  if (row.fields & DM_PAPERSIZE) dm->dmPaperSize = row.paperSize;
  if (row.fields & DM_PAPERWIDTH) dm->dmPaperWidth = row.width;
  if (row.fields & DM_PAPERLENGTH) dm->dmPaperLength = row.length;
  if (row.fields & DM_COPIES) dm->dmCopies = row.copies;
  if (row.fields & DM_PRINTQUALITY) dm->dmPrintQuality = row.quality;
  return input;
}

constexpr DWORD kCustom = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;

const MergeRow kMergeRows[] = {
    {"60 x 40 mm landscape", true, kCustom | DM_ORIENTATION, DMORIENT_LANDSCAPE, 0, 600, 400, 0, 0,
     Members(kDriverFields, DMORIENT_LANDSCAPE, 0, 600, 400, 1, 203)},
    {"a 400.0 mm side keeps the paper", true, kCustom, 0, 0, 4000, 400, 0, 0, kDefault},
    {"a 9.9 mm side keeps the paper", true, kCustom, 0, 0, 600, 99, 0, 0, kDefault},
    {"the range's two ends", true, kCustom, 0, 0, 100, 3000, 0, 0,
     Members(kDriverFields, DMORIENT_PORTRAIT, 0, 100, 3000, 1, 203)},
    {"Letter", true, DM_PAPERSIZE, 0, DMPAPER_LETTER, 0, 0, 0, 0,
     Members(kDriverFields, DMORIENT_PORTRAIT, DMPAPER_LETTER, 2159, 2794, 1, 203)},
    {"a paper the driver lacks", true, DM_PAPERSIZE, 0, DMPAPER_TABLOID, 0, 0, 0, 0, kDefault},
    {"copies and quality", true, DM_COPIES | DM_PRINTQUALITY, 0, 0, 0, 0, 3, 300,
     Members(kDriverFields, DMORIENT_PORTRAIT, DMPAPER_A4, 2100, 2970, 3, 300)},
    {"orientation, copies and quality out of range", true, DM_ORIENTATION | DM_COPIES | DM_PRINTQUALITY, 3, 0, 0, 0,
     1000, 0, kDefault},
    {"a bare public part with width and length alone", false, DM_PAPERWIDTH | DM_PAPERLENGTH, 0, 0, 600, 400, 0, 0,
     Members(kDriverFields, DMORIENT_PORTRAIT, 0, 600, 400, 1, 203)},
    {"a bare public part naming landscape only", false, DM_ORIENTATION, DMORIENT_LANDSCAPE, 0, 0, 0, 0, 0,
     Members(kDriverFields, DMORIENT_LANDSCAPE, DMPAPER_A4, 2100, 2970, 1, 203)},
};

CASE(DriverUiInBufferTakesTheFieldsItCanHonour) {
  DriverScene scene;
  LONG answer = 0;
  const Bytes own = DriverDevMode(scene.printer, scene.name, nullptr, &answer);
  REQUIRE_EQ(answer, static_cast<LONG>(IDOK));
  for (const MergeRow& row : kMergeRows) {
    Bytes input = InputOf(row, own);
    // A bare public part leaves members it does not name as garbage the driver must not take.
    if (!row.fromOwn) {
      DEVMODEW* dm = AsDevMode(input);
      if (!(row.fields & DM_COPIES)) dm->dmCopies = 7;
      if (!(row.fields & DM_PAPERSIZE)) dm->dmPaperSize = 0;
    }
    const Bytes merged = DriverDevMode(scene.printer, scene.name, &input, &answer);
    if (answer != IDOK) wcheck::Fail(__FILE__, __LINE__, std::string(row.what) + ": answer " + std::to_string(answer));
    if (Members(merged) != row.expected) {
      wcheck::Fail(__FILE__, __LINE__,
                   std::string(row.what) + "\n    actual:   " + Members(merged) + "\n    expected: " + row.expected);
    }
    if (Shape(merged) != kOwnShape) wcheck::Fail(__FILE__, __LINE__, std::string(row.what) + ": " + Shape(merged));
  }
  // Nothing of it reached the queue.
  CHECK_EQ(Members(GlobalDevMode(scene.printer)), kDefault);
}

CASE(DriverUiMergedDevModeBecomesTheQueueDefault) {
  DriverScene scene;
  LONG answer = 0;
  const Bytes own = DriverDevMode(scene.printer, scene.name, nullptr, &answer);
  REQUIRE_EQ(answer, static_cast<LONG>(IDOK));
  const Bytes input = InputOf(kMergeRows[0], own);
  Bytes merged = DriverDevMode(scene.printer, scene.name, &input, &answer);
  REQUIRE_EQ(answer, static_cast<LONG>(IDOK));

  PRINTER_INFO_8W info = {AsDevMode(merged)};
  REQUIRE(SetPrinterW(scene.printer, 8, reinterpret_cast<BYTE*>(&info), 0));
  const Bytes stored = GlobalDevMode(scene.printer);
  CHECK_BYTES(std::optional<Bytes>(stored), merged);
  CHECK_EQ(Members(stored), kMergeRows[0].expected);

  // The driver's settings start from the queue's DEVMODE now: an input naming the copies only
  // keeps the custom paper and the landscape.
  const Bytes current = DriverDevMode(scene.printer, scene.name, nullptr, &answer);
  CHECK_EQ(answer, static_cast<LONG>(IDOK));
  CHECK_EQ(Members(current), kMergeRows[0].expected);
  const MergeRow copies = {"copies", false, DM_COPIES, 0, 0, 0, 0, 2, 0, ""};
  const Bytes copiesInput = InputOf(copies, own);
  CHECK_EQ(Members(DriverDevMode(scene.printer, scene.name, &copiesInput, &answer)),
           Members(kDriverFields, DMORIENT_LANDSCAPE, 0, 600, 400, 2, 203));
}

CASE(DriverUiDeclaresItsCustomPaperRange) {
  DriverScene scene;
  const wchar_t* name = W(scene.name);
  const wchar_t* port = W(scene.port);
  CHECK_EQ(DeviceCapabilitiesW(name, port, DC_MINEXTENT, nullptr, nullptr),
           static_cast<int>(MAKELONG(FIXTURE_DRIVER_SHORTEST, FIXTURE_DRIVER_SHORTEST)));
  CHECK_EQ(DeviceCapabilitiesW(name, port, DC_MAXEXTENT, nullptr, nullptr),
           static_cast<int>(MAKELONG(FIXTURE_DRIVER_LONGEST, FIXTURE_DRIVER_LONGEST)));
  CHECK_EQ(DeviceCapabilitiesW(name, port, DC_FIELDS, nullptr, nullptr), static_cast<int>(kDriverFields));
  CHECK_EQ(DeviceCapabilitiesW(name, port, DC_EXTRA, nullptr, nullptr), FIXTURE_DRIVER_EXTRA);
  const int count = DeviceCapabilitiesW(name, port, DC_PAPERS, nullptr, nullptr);
  REQUIRE_EQ(count, 4);
  std::vector<WORD> papers(static_cast<std::size_t>(count));
  CHECK_EQ(DeviceCapabilitiesW(name, port, DC_PAPERS, reinterpret_cast<wchar_t*>(papers.data()), nullptr), count);
  const std::vector<WORD> expected = {DMPAPER_LETTER, DMPAPER_A4, DMPAPER_A5, DMPAPER_A6};
  CHECK_EQ(papers, expected);
  std::vector<POINT> sizes(static_cast<std::size_t>(count));
  CHECK_EQ(DeviceCapabilitiesW(name, port, DC_PAPERSIZE, reinterpret_cast<wchar_t*>(sizes.data()), nullptr), count);
  CHECK_EQ(std::make_pair(sizes[1].x, sizes[1].y), std::make_pair(2100L, 2970L));
}

// spoolprobe.exe devmode <printer>, run as the end-to-end checks run it: its exit code and what
// it printed.
std::pair<DWORD, std::string> RunProbeDevMode(const std::u16string& printer) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  wchar_t folder[MAX_PATH];
  wchar_t file[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"spd", 0, file)) return {~0u, "no temporary file"};
  HANDLE out = CreateFileW(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (out == INVALID_HANDLE_VALUE) return {~0u, "cannot open the temporary file"};
  std::wstring command = L"\"" + std::wstring(W(wine_test::ToolsDir())) + L"\\spoolprobe.exe\" devmode \"" +
                         std::wstring(W(printer)) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION process = {};
  DWORD code = ~0u;
  if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                     &process)) {
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  std::string text;
  char chunk[512];
  DWORD read = 0;
  SetFilePointer(out, 0, nullptr, FILE_BEGIN);
  while (ReadFile(out, chunk, sizeof(chunk), &read, nullptr) && read > 0) text.append(chunk, read);
  CloseHandle(out);
  return {code, text};
}

CASE(DriverUiSpoolProbePrintsTheGlobalDevMode) {
  DriverScene scene;
  CHECK_EQ(RunProbeDevMode(scene.name), std::make_pair(DWORD{0}, std::string("0x0000050F\t1\t9\t2100\t2970\t1\t203\r\n")));
  LONG answer = 0;
  const Bytes own = DriverDevMode(scene.printer, scene.name, nullptr, &answer);
  const Bytes input = InputOf(kMergeRows[0], own);
  Bytes merged = DriverDevMode(scene.printer, scene.name, &input, &answer);
  PRINTER_INFO_8W info = {AsDevMode(merged)};
  REQUIRE(SetPrinterW(scene.printer, 8, reinterpret_cast<BYTE*>(&info), 0));
  CHECK_EQ(RunProbeDevMode(scene.name), std::make_pair(DWORD{0}, std::string("0x0000050F\t2\t0\t600\t400\t1\t203\r\n")));
  CHECK_EQ(RunProbeDevMode(u"Wine Devmode Absent"),
           std::make_pair(DWORD{1}, std::string("devmode: cannot open Wine Devmode Absent: 1801\r\n")));
}

// DrvConvertDevMode is the spooler's on Windows (Wine 8 never calls it): called here directly on
// the copy in the driver directory, which also shows the entries are exported undecorated.
CASE(DriverUiConvertsDevModesForTheSpooler) {
  DriverScene scene;
  const wchar_t* environment = scene.bed.osBitness == 64 ? L"Windows x64" : L"Windows NT x86";
  const std::u16string path = wine_test::DriverDirectory(environment) + u"\\UNIDRVUI.DLL";
  struct Loaded {
    HMODULE module;
    ~Loaded() {
      if (module) FreeLibrary(module);
    }
  } loaded{LoadLibraryW(W(path))};
  HMODULE module = loaded.module;
  REQUIRE(module != nullptr);
  for (const char* entry : {"DrvDocumentPropertySheets", "DrvDevicePropertySheets", "DrvDeviceCapabilities"}) {
    if (!GetProcAddress(module, entry)) wcheck::Fail(__FILE__, __LINE__, std::string("no export ") + entry);
  }
  using Convert = BOOL(WINAPI*)(LPWSTR, DEVMODEW*, DEVMODEW*, LONG*, DWORD);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(GetProcAddress(module, "DrvConvertDevMode")));
  REQUIRE(convert != nullptr);
  constexpr DWORD kConvert = 0x01, kDriverDefault = 0x04;
  wchar_t* name = const_cast<wchar_t*>(W(scene.name));

  Bytes out(static_cast<std::size_t>(kFullSize), 0);
  LONG needed = sizeof(DEVMODEW);
  SetLastError(0);
  CHECK(!convert(name, nullptr, AsDevMode(out), &needed, kDriverDefault));
  CHECK_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  CHECK_EQ(needed, kFullSize);
  CHECK(convert(name, nullptr, AsDevMode(out), &needed, kDriverDefault));
  CHECK_EQ(needed, kFullSize);
  CHECK_EQ(Members(out), kDefault);
  CHECK_EQ(Shape(out), kOwnShape);

  // A public part alone, as another version of the driver might hand it, comes out whole.
  Bytes foreign(sizeof(DEVMODEW), 0);
  DEVMODEW* in = AsDevMode(foreign);
  in->dmSpecVersion = DM_SPECVERSION;
  in->dmSize = sizeof(DEVMODEW);
  in->dmFields = kDriverFields;
  in->dmOrientation = DMORIENT_LANDSCAPE;
  in->dmPaperSize = DMPAPER_A5;
  in->dmPaperWidth = 1480;
  in->dmPaperLength = 2100;
  in->dmCopies = 2;
  in->dmPrintQuality = 203;
  Bytes converted(static_cast<std::size_t>(kFullSize), 0);
  needed = kFullSize;
  CHECK(convert(name, in, AsDevMode(converted), &needed, kConvert));
  CHECK_EQ(Members(converted), Members(kDriverFields, DMORIENT_LANDSCAPE, DMPAPER_A5, 1480, 2100, 2, 203));
  CHECK_EQ(Shape(converted), kOwnShape);
}

}  // namespace
