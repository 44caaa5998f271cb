#include "fake_call_log.h"

#include <cstdio>

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F) {
      out.push_back(static_cast<char>(unit));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
      out += escaped;
    }
  }
  return out;
}

std::string Quoted(const std::u16string& text) { return "\"" + Narrow(text) + "\""; }

std::string Quoted(const std::optional<std::u16string>& text) { return text ? Quoted(*text) : "null"; }

std::vector<std::string> CallLog::Named(const std::string& method) const {
  std::vector<std::string> named;
  for (const std::string& call : calls) {
    if (call.compare(0, method.size() + 1, method + "(") == 0) named.push_back(call);
  }
  return named;
}

std::vector<std::string> CallLog::Methods() const {
  std::vector<std::string> methods;
  for (const std::string& call : calls) methods.push_back(call.substr(0, call.find('(')));
  return methods;
}

void FailureSwitch::Fail(const std::string& method, std::uint32_t error, int onlyCall) {
  rules_[method] = Rule{error, onlyCall, 0};
}

std::optional<std::uint32_t> FailureSwitch::Check(const std::string& method) {
  auto rule = rules_.find(method);
  if (rule == rules_.end()) return std::nullopt;
  ++rule->second.seen;
  if (rule->second.onlyCall != 0 && rule->second.seen != rule->second.onlyCall) return std::nullopt;
  return rule->second.error;
}
