#pragma once
// Trace lines to the debugger output and error boxes.
// The process installs its sinks once at start (tests install fakes); without them both are silent.
#include <cstdint>
#include <string>

#include "diag/debug_output.h"
#include "diag/dialogs.h"
#include "diag/format.h"
#include "diag/read.h"

constexpr std::size_t kTraceCapacity = 512;      // units (wide) or bytes (narrow), terminator included
constexpr std::size_t kErrorTextCapacity = 256;  // units, terminator included
inline constexpr char16_t kTracePrefix[] = u"Tollinder - ";
inline constexpr char kTracePrefixA[] = "Tollinder - ";

void SetDebugOutput(DebugOutput* output);
void SetDialogs(Dialogs* dialogs);
DebugOutput* CurrentDebugOutput();
Dialogs* CurrentDialogs();

// The finished lines, exposed so that their bounds can be checked without a sink.
std::u16string TraceLine(std::u16string_view format, std::initializer_list<FormatArg> args);
std::string TraceLineA(std::string_view format, std::initializer_list<FormatArg> args);
std::u16string ErrorText(std::uint32_t code, std::u16string_view text);

void DebugTraceList(std::u16string_view format, std::initializer_list<FormatArg> args);
void DebugTraceAList(std::string_view format, std::initializer_list<FormatArg> args);

template <class... Args>
void DebugTrace(std::u16string_view format, const Args&... args) {
  DebugTraceList(format, {FormatArg(args)...});
}

template <class... Args>
void DebugTraceA(std::string_view format, const Args&... args) {
  DebugTraceAList(format, {FormatArg(args)...});
}

// A box captioned "ERROR" with the text and the code, OK only; returns when it is closed.
void ShowError(WindowHandle owner, std::uint32_t code, std::u16string_view text);

// The box of an outcome that failed (none for one that did not): an error box with its code, or
// a plain one with the system's default title.
void ShowOutcome(WindowHandle owner, const Outcome& outcome);

// Any other box of the system; an absent caption gives the system's default title.
void ShowMessage(WindowHandle owner, const std::u16string& text,
                 const std::optional<std::u16string>& caption);

// A Yes/No question; true only for Yes (no sink, or any other answer, is No).
bool AskYesNo(WindowHandle owner, const std::u16string& text, const std::u16string& caption);
