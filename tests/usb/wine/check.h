#pragma once
// A small checker for the Wine suite (GoogleTest needs std::mutex, which MinGW's win32 threads lack).
#include <cstdio>
#include <string>
#include <vector>

namespace check {

inline int failures = 0;
inline const char* current = "";

inline std::string Show(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return "\"" + out + "\"";
}
inline std::string Show(const std::string& text) { return "\"" + text + "\""; }
inline std::string Show(const char* text) { return Show(std::string(text)); }
inline std::string Show(const char16_t* text) { return Show(std::u16string(text)); }
inline std::string Show(char c) { return std::to_string(static_cast<int>(static_cast<unsigned char>(c))); }
inline std::string Show(char16_t c) { return std::to_string(static_cast<int>(c)); }
template <class T>
std::string Show(const T& value) {
  return std::to_string(value);
}
template <class T>
std::string Show(const std::vector<T>& items) {
  std::string out = "{";
  for (const T& item : items) out += (out.size() > 1 ? ", " : "") + Show(item);
  return out + "}";
}

inline void Fail(const char* file, int line, const std::string& what) {
  ++failures;
  std::printf("%s:%d: [%s] %s\n", file, line, current, what.c_str());
}

struct Case {
  const char* name;
  void (*run)();
};
inline std::vector<Case>& Cases() {
  static std::vector<Case> cases;
  return cases;
}
struct Register {
  Register(const char* name, void (*run)()) { Cases().push_back({name, run}); }
};

inline int RunAll() {
  for (const Case& c : Cases()) {
    current = c.name;
    const int before = failures;
    c.run();
    std::printf("%s %s\n", failures == before ? "[ OK ]" : "[FAIL]", c.name);
  }
  std::printf("%zu cases, %d failed checks\n", Cases().size(), failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace check

#define CASE(name)                                  \
  static void name();                               \
  static check::Register name##_registered(#name, name); \
  static void name()

#define CHECK(cond) \
  ((cond) ? (void)0 : check::Fail(__FILE__, __LINE__, "CHECK(" #cond ")"))

#define CHECK_EQ(actual, expected)                                                                       \
  do {                                                                                                   \
    const auto& a_ = (actual);                                                                           \
    const auto& e_ = (expected);                                                                         \
    if (!(a_ == e_)) check::Fail(__FILE__, __LINE__, #actual " is " + check::Show(a_) + ", expected " + check::Show(e_)); \
  } while (0)

// Ends the case when the check fails.
#define REQUIRE(cond)                                                   \
  do {                                                                  \
    if (!(cond)) {                                                      \
      check::Fail(__FILE__, __LINE__, "REQUIRE(" #cond ")");            \
      return;                                                           \
    }                                                                   \
  } while (0)
