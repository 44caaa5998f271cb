#include "diag/diagnostics.h"

namespace {
DebugOutput* g_output = nullptr;
Dialogs* g_dialogs = nullptr;

constexpr std::size_t kPrefixLength = sizeof(kTracePrefix) / sizeof(kTracePrefix[0]) - 1;
}  // namespace

void SetDebugOutput(DebugOutput* output) { g_output = output; }
void SetDialogs(Dialogs* dialogs) { g_dialogs = dialogs; }
DebugOutput* CurrentDebugOutput() { return g_output; }
Dialogs* CurrentDialogs() { return g_dialogs; }

std::u16string TraceLine(std::u16string_view format, std::initializer_list<FormatArg> args) {
  // The message gets what the prefix leaves of the buffer; a longer one is cut.
  return std::u16string(kTracePrefix) + FormatWideList(kTraceCapacity - kPrefixLength, format, args);
}

std::string TraceLineA(std::string_view format, std::initializer_list<FormatArg> args) {
  return std::string(kTracePrefixA) + FormatNarrowList(kTraceCapacity - kPrefixLength, format, args);
}

std::u16string ErrorText(std::uint32_t code, std::u16string_view text) {
  // Cut the caller's text rather than the code: the code is what support asks for.
  std::u16string tail = FormatWide(kErrorTextCapacity, u" - ERROR CODE: %u\r\n", code);
  std::size_t room = kErrorTextCapacity - 1 - tail.size();
  std::u16string head(text.substr(0, text.size() < room ? text.size() : room));
  return head + tail;
}

void DebugTraceList(std::u16string_view format, std::initializer_list<FormatArg> args) {
  if (g_output) g_output->OutputDebugStringW(TraceLine(format, args));
}

void DebugTraceAList(std::string_view format, std::initializer_list<FormatArg> args) {
  if (g_output) g_output->OutputDebugStringA(TraceLineA(format, args));
}

void ShowError(WindowHandle owner, std::uint32_t code, std::u16string_view text) {
  if (g_dialogs) g_dialogs->MessageBoxW(owner, ErrorText(code, text), std::u16string(u"ERROR"), kMbOk);
}

void ShowMessage(WindowHandle owner, const std::u16string& text,
                 const std::optional<std::u16string>& caption) {
  if (g_dialogs) g_dialogs->MessageBoxW(owner, text, caption, kMbOk);
}

bool AskYesNo(WindowHandle owner, const std::u16string& text, const std::u16string& caption) {
  constexpr std::uint32_t kMbYesNoQuestion = 0x00000004 | 0x00000020;  // MB_YESNO | MB_ICONQUESTION
  constexpr int kIdYes = 6;
  return g_dialogs && g_dialogs->MessageBoxW(owner, text, caption, kMbYesNoQuestion) == kIdYes;
}

void ShowOutcome(WindowHandle owner, const Outcome& outcome) {
  if (outcome.ok()) return;
  if (outcome.plain) {
    ShowMessage(owner, outcome.call, std::nullopt);
  } else {
    ShowError(owner, outcome.code, outcome.call);
  }
}
