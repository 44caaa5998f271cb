#include "diag/install_log.h"

#include "diag/diagnostics.h"
#include "diag/format.h"

namespace {

constexpr std::size_t kTimestampCapacity = 32;  // "YYYY-MM-DD HH:MM:SS.mmm" and room for odd values

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

std::string TimestampText(const LocalTime& time) {
  return FormatNarrow(kTimestampCapacity, "%04d-%02d-%02d %02d:%02d:%02d.%03d", time.year, time.month, time.day,
                      time.hour, time.minute, time.second, time.millisecond);
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t code = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                            (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      AppendUtf8(out, code);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8(out, 0xFFFD);  // half a pair is no character; UTF-8 has no way to hold it
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::u16string EscapeLineBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'\r') {
      out += u"\\r";
    } else if (c == u'\n') {
      out += u"\\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::u16string_view WithoutTrailingLineBreaks(std::u16string_view text) {
  while (!text.empty() && IsLineBreak(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string_view ResultWord(int exitCode, RunKind kind) {
  const bool removal = kind == RunKind::Removal;
  if (kind == RunKind::Verification && exitCode == 0) return u"compliant";
  if (kind == RunKind::Verification && exitCode == 1) return u"not compliant";
  switch (exitCode) {
    case 0: return removal ? u"removed" : u"installed";
    case 1602: return removal ? u"not removed" : u"not installed";  // ERROR_INSTALL_USEREXIT
    case 1603: return u"failed";         // ERROR_INSTALL_FAILURE
    case 1618: return u"already running";  // ERROR_INSTALL_ALREADY_RUNNING
    case 1625: return u"blocked-by-policy";  // ERROR_INSTALL_PACKAGE_REJECTED
    case 1633: return u"platform-unsupported";  // ERROR_INSTALL_PLATFORM_UNSUPPORTED
    case 1639: return u"invalid command line";  // ERROR_INVALID_COMMAND_LINE
    default: return u"exit code";
  }
}

std::u16string InstallLogPathUnder(std::u16string_view programData) {
  std::u16string path(programData);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  return path + kInstallLogFolder + u'\\' + kInstallLogName;
}

std::vector<std::u16string> FolderChain(std::u16string_view filePath) {
  auto isSeparator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  // Where the root ends: the part of the path that names a drive or a share, not a folder.
  std::size_t root = 0;
  std::u16string_view rest = filePath;
  auto skipPrefix = [&](std::u16string_view prefix) {
    if (rest.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      char16_t c = rest[i];
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
      if (isSeparator(prefix[i]) ? !isSeparator(c) : c != prefix[i]) return false;
    }
    root += prefix.size();
    rest.remove_prefix(prefix.size());
    return true;
  };
  // Skips n components, each with the separator after it.
  auto skipComponents = [&](int n) {
    for (int k = 0; k < n; ++k) {
      std::size_t length = 0;
      while (length < rest.size() && !isSeparator(rest[length])) ++length;
      if (length < rest.size()) ++length;
      root += length;
      rest.remove_prefix(length);
    }
  };
  bool unc = false;
  if (skipPrefix(u"\\\\?\\") || skipPrefix(u"\\\\.\\")) {
    unc = skipPrefix(u"UNC\\");
  } else if (skipPrefix(u"\\\\")) {
    unc = true;
  }
  if (unc) {
    skipComponents(2);  // server and share
  } else if (rest.size() >= 2 && rest[1] == u':') {
    root += 2;
    rest.remove_prefix(2);
    if (!rest.empty() && isSeparator(rest.front())) {
      ++root;
      rest.remove_prefix(1);
    }
  } else if (!rest.empty() && isSeparator(rest.front())) {
    ++root;  // the current drive's root
    rest.remove_prefix(1);
  }
  std::vector<std::u16string> chain;
  for (std::size_t i = root; i < filePath.size(); ++i) {
    if (isSeparator(filePath[i]) && i > 0 && !isSeparator(filePath[i - 1])) {
      chain.emplace_back(filePath.substr(0, i));
    }
  }
  return chain;
}

void InstallLog::Line(std::u16string_view text) {
  if (!file_) return;
  std::string line = TimestampText(clock_.Now()) + ' ' + Utf8FromUtf16(EscapeLineBreaks(text));
  if (!file_->Append(line)) ++failedLines_;
}

void InstallLog::Box(std::optional<std::u16string_view> caption, std::u16string_view text) {
  std::u16string line = u"box: ";
  line += caption ? *caption : std::u16string_view(u"Error");
  line += u": ";
  line += WithoutTrailingLineBreaks(text);
  Line(line);
}

void InstallLog::Result(int exitCode, RunKind kind, std::u16string_view word) {
  Line(FormatWide(64, u"result: %d ", exitCode) + std::u16string(word.empty() ? ResultWord(exitCode, kind) : word));
}

std::unique_ptr<LogFile> OpenRunLog(LogFiles& files, const std::optional<std::u16string>& requestedPath, bool quiet) {
  std::optional<std::u16string> path = requestedPath;
  if (!path && quiet) {
    path = files.DefaultPath();
    if (!path) {
      DebugTrace(u"Install log: no %%ProgramData%% folder, no log is written");
      return nullptr;
    }
  }
  if (!path) return nullptr;
  // A missing folder is not fatal by itself: the open below says whether the file can be had.
  files.CreateFoldersOf(*path);
  std::unique_ptr<LogFile> file = files.Open(*path);
  if (!file) DebugTrace(u"Install log: cannot open %s, no log is written", *path);
  return file;
}
