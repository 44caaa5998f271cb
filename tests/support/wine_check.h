#pragma once
// The one checker of every Wine test program: GoogleTest needs std::mutex, which MinGW's win32
// thread model lacks. A case fails on the first REQUIRE that does not hold (its clean-up objects
// still run) and keeps going past a failed CHECK.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wcheck {

struct Stop {};  // thrown by REQUIRE: the case cannot go on

inline int failures = 0;
inline const char* current = "";

inline std::string ShowUnits(const char16_t* text, std::size_t length) {
  std::string out = "\"";
  for (std::size_t i = 0; i < length; ++i) {
    char16_t c = text[i];
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof(escape), "\\u%04X", static_cast<unsigned>(c));
      out += escape;
    }
  }
  return out + "\"";
}
inline std::string Show(const std::u16string& text) { return ShowUnits(text.data(), text.size()); }
inline std::string Show(const char16_t* text) { return Show(std::u16string(text)); }
inline std::string Show(const std::wstring& text) {
  return ShowUnits(reinterpret_cast<const char16_t*>(text.data()), text.size());
}
inline std::string Show(const wchar_t* text) { return Show(std::wstring(text)); }
inline std::string Show(const std::string& text) { return "\"" + text + "\""; }
inline std::string Show(const char* text) { return Show(std::string(text)); }
inline std::string Show(bool value) { return value ? "true" : "false"; }
inline std::string Show(std::nullopt_t) { return "none"; }
template <class T>
std::string Show(const T& value);
template <class A, class B>
std::string Show(const std::pair<A, B>& pair) {
  return "(" + Show(pair.first) + ", " + Show(pair.second) + ")";
}
template <class T>
std::string Show(const std::optional<T>& value) {
  return value ? Show(*value) : std::string("none");
}
template <class T>
std::string Show(const std::vector<T>& items) {
  std::string out = "{";
  for (std::size_t i = 0; i < items.size() && i < 64; ++i) out += (i ? ", " : "") + Show(items[i]);
  if (items.size() > 64) out += ", ... (" + std::to_string(items.size()) + " items)";
  return out + "}";
}
template <class T>
std::string Show(const T& value) {
  return std::to_string(value);
}

inline void Fail(const char* file, int line, const std::string& what) {
  ++failures;
  std::printf("%s:%d: [%s] %s\n", file, line, current, what.c_str());
  std::fflush(stdout);
}

template <class A, class B>
bool CheckEqual(const A& actual, const B& expected, const char* file, int line, const char* text) {
  if (actual == expected) return true;
  Fail(file, line, std::string(text) + "\n    actual:   " + Show(actual) + "\n    expected: " + Show(expected));
  return false;
}

// Which prefix a case is for: most run where the process width matches the prefix; the others
// are for the 32-bit installer in a 64-bit prefix.
enum class For { MatchingPrefix, Wow64Prefix };

struct Case {
  const char* name;
  For scenario;
  void (*run)();
};
inline std::vector<Case>& Cases() {
  static std::vector<Case> cases;
  return cases;
}
struct Register {
  Register(const char* name, For scenario, void (*run)()) { Cases().push_back({name, scenario, run}); }
};

// Runs the cases for this scenario; a case named in `only` runs alone.
inline int RunAll(For scenario = For::MatchingPrefix, const std::vector<std::string>& only = {}) {
  int run = 0;
  for (const Case& c : Cases()) {
    if (c.scenario != scenario) continue;
    if (!only.empty() && std::find(only.begin(), only.end(), c.name) == only.end()) continue;
    current = c.name;
    const int before = failures;
    try {
      c.run();
    } catch (const Stop&) {
    }
    ++run;
    std::printf("%s %s\n", failures == before ? "[ OK ]" : "[FAIL]", c.name);
    std::fflush(stdout);
  }
  std::printf("%d cases, %d failed checks\n", run, failures);
  return failures == 0 && run > 0 ? 0 : 1;
}

}  // namespace wcheck

#define WCASE(name, scenario)                                           \
  static void name();                                                   \
  static wcheck::Register name##_registered(#name, scenario, name);     \
  static void name()
#define CASE(name) WCASE(name, wcheck::For::MatchingPrefix)
#define WOW64_CASE(name) WCASE(name, wcheck::For::Wow64Prefix)

#define CHECK(cond) ((cond) ? (void)0 : wcheck::Fail(__FILE__, __LINE__, "CHECK(" #cond ")"))
#define CHECK_EQ(actual, expected) \
  (void)wcheck::CheckEqual((actual), (expected), __FILE__, __LINE__, "CHECK_EQ(" #actual ", " #expected ")")
#define REQUIRE(cond)                                                 \
  do {                                                                \
    if (!(cond)) {                                                    \
      wcheck::Fail(__FILE__, __LINE__, "REQUIRE(" #cond ")");         \
      throw wcheck::Stop();                                           \
    }                                                                 \
  } while (0)
#define REQUIRE_EQ(actual, expected)                                                                      \
  do {                                                                                                    \
    if (!wcheck::CheckEqual((actual), (expected), __FILE__, __LINE__, "REQUIRE_EQ(" #actual ", " #expected ")")) \
      throw wcheck::Stop();                                                                               \
  } while (0)
