#include "diag/log_sinks.h"

#include "diag/diagnostics.h"

void LogDebugOutput::OutputDebugStringW(const std::u16string& line) {
  if (next_) next_->OutputDebugStringW(line);
  log_.Line(WithoutTrailingLineBreaks(line));
}

void LogDebugOutput::OutputDebugStringA(const std::string& line) {
  if (next_) next_->OutputDebugStringA(line);
  std::u16string wide;
  wide.reserve(line.size());
  for (char c : line) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  log_.Line(WithoutTrailingLineBreaks(wide));
}

int QuietDialogs::MessageBoxW(WindowHandle, const std::u16string& text, const std::optional<std::u16string>& caption,
                              std::uint32_t) {
  log_.Box(caption, text);
  return kBoxAnsweredOk;
}

int LoggedDialogs::MessageBoxW(WindowHandle owner, const std::u16string& text,
                               const std::optional<std::u16string>& caption, std::uint32_t type) {
  // Logged before it is shown: the box may wait for a long time, or the process may end under it.
  log_.Box(caption, text);
  return next_ ? next_->MessageBoxW(owner, text, caption, type) : 0;
}

ScopedLogSinks::ScopedLogSinks(InstallLog& log, bool quiet)
    : previousOutput_(CurrentDebugOutput()),
      previousDialogs_(CurrentDialogs()),
      output_(log, previousOutput_),
      quietDialogs_(log),
      loggedDialogs_(log, previousDialogs_) {
  SetDebugOutput(&output_);
  SetDialogs(quiet ? static_cast<Dialogs*>(&quietDialogs_) : &loggedDialogs_);
}

ScopedLogSinks::~ScopedLogSinks() {
  SetDebugOutput(previousOutput_);
  SetDialogs(previousDialogs_);
}
