// The ask-size-then-fill loop with the thread's real last-error value: each ending of the
// protocol, a size that grew between the calls, and the spooler's own listings through it.
#include <windows.h>

#include <iterator>
#include <vector>

#include "diag/win32/two_call.h"
#include "spooler/win32/win32_spooler.h"
#include "support/wine_check.h"

namespace {

// One answer of the scripted call: its result, the size it names and the last-error value.
struct Answer {
  BOOL ok;
  DWORD needed;
  DWORD error;
};

// Plays the answers in turn and records the buffer size of each call.
struct Script {
  std::vector<Answer> answers;
  std::vector<DWORD> sizes;
  BOOL operator()(BYTE* buffer, DWORD size, DWORD* needed) {
    sizes.push_back(buffer ? size : 0);
    const Answer& answer = answers.at(sizes.size() - 1);
    *needed = answer.needed;
    SetLastError(answer.error);
    return answer.ok;
  }
};

struct Row {
  const char* what;
  std::vector<Answer> answers;
  ReadStage stage;
  DWORD code;
  std::vector<DWORD> sizes;
};

CASE(EachEndingOfTheProtocol) {
  std::vector<Answer> growing = {{FALSE, 100, ERROR_INSUFFICIENT_BUFFER}};
  std::vector<DWORD> growingSizes = {0};
  for (DWORD i = 1; i <= kSizeRetries; ++i) {
    growing.push_back({FALSE, 100 + i, ERROR_INSUFFICIENT_BUFFER});
    growingSizes.push_back(100 + i - 1);
  }
  const Row rows[] = {
      {"nothing to list", {{TRUE, 0, 0}}, ReadStage::SizeQuerySucceeded, 0, {0}},
      {"size query refused", {{FALSE, 0, ERROR_ACCESS_DENIED}}, ReadStage::SizeQueryFailed, 5, {0}},
      {"a buffer of no size", {{FALSE, 0, ERROR_INSUFFICIENT_BUFFER}}, ReadStage::SizeQueryFailed, 122, {0}},
      {"filled", {{FALSE, 64, ERROR_INSUFFICIENT_BUFFER}, {TRUE, 64, 0}}, ReadStage::Done, 0, {0, 64}},
      {"the size grew in between",
       {{FALSE, 64, ERROR_INSUFFICIENT_BUFFER}, {FALSE, 96, ERROR_INSUFFICIENT_BUFFER}, {TRUE, 96, 0}},
       ReadStage::Done, 0, {0, 64, 96}},
      {"the fill fails", {{FALSE, 64, ERROR_INSUFFICIENT_BUFFER}, {FALSE, 64, RPC_S_SERVER_UNAVAILABLE}},
       ReadStage::FillFailed, 1722, {0, 64}},
      {"too small again without a larger size", {{FALSE, 64, ERROR_INSUFFICIENT_BUFFER}, {FALSE, 64, ERROR_INSUFFICIENT_BUFFER}},
       ReadStage::FillFailed, 122, {0, 64}},
      {"ever growing", growing, ReadStage::FillFailed, 122, growingSizes},
  };
  std::vector<Row> table(std::begin(rows), std::end(rows));
  // Only a 32-bit process surely cannot have 4 GiB; a 64-bit one might, and would zero it all.
  if (sizeof(void*) == 4) {
    table.push_back({"no memory for the size named", {{FALSE, 0xFFFFFFF0, ERROR_INSUFFICIENT_BUFFER}},
                     ReadStage::NoMemory, 8, {0}});
  }
  for (const Row& row : table) {
    Script script{row.answers, {}};
    ByteBuffer buffer;
    DWORD code = 0;
    const ReadStage stage = FillBuffer(script, buffer, code);
    if (stage != row.stage || code != row.code || script.sizes != row.sizes) {
      wcheck::Fail(__FILE__, __LINE__, std::string(row.what) + ": stage " + wcheck::Show(static_cast<int>(stage)) +
                                           ", code " + wcheck::Show(code) + ", calls " + wcheck::Show(script.sizes.size()));
    }
    if (stage == ReadStage::Done) CHECK_EQ(buffer.size(), row.sizes.back());
  }
}

// The listings this program reads, from Wine's real spooler: a listing, or none to list.
CASE(TheSpoolersListingsComeThrough) {
  Win32Spooler spooler;
  const Read<std::vector<PortInfo>> ports = spooler.Ports(2);
  REQUIRE(ports.ok());
  bool lpt1 = false;
  for (const PortInfo& port : ports.value) lpt1 = lpt1 || port.portName == u"LPT1:";
  CHECK(lpt1);
  const Read<std::vector<PrinterInfo2>> printers = spooler.LocalPrinters();
  CHECK(printers.ok() || printers.EmptyListing());
  CHECK(spooler.Drivers(u"Windows NT x86").ok() || spooler.Drivers(u"Windows NT x86").EmptyListing());
  const Read<std::u16string> directory = spooler.DriverDirectory(u"Windows NT x86");
  REQUIRE(directory.ok());
  CHECK(directory.value.find(u"w32x86") != std::u16string::npos);
  CHECK_EQ(static_cast<int>(spooler.DriverDirectory(u"No Such Environment").stage), static_cast<int>(ReadStage::FillFailed));
}

}  // namespace

int wmain() { return wcheck::RunAll(); }
