#include "app/install_lock.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

namespace {

// Answers as Windows does, from queues the case fills; records the calls.
class FakeLockSystem : public LockSystem {
 public:
  bool boundary = true;
  std::deque<std::uint32_t> createNamespace;  // empty: 0
  std::deque<std::uint32_t> openNamespace;
  std::uint32_t mutex = 0;
  std::vector<std::u16string> calls;

  bool MakeAdministratorsBoundary() override {
    calls.push_back(u"boundary");
    return boundary;
  }
  std::uint32_t CreateNamespace() override { return Next(createNamespace, u"create namespace"); }
  std::uint32_t OpenNamespace() override { return Next(openNamespace, u"open namespace"); }
  std::uint32_t MakeMutex(const std::u16string& name) override {
    calls.push_back(u"mutex " + name);
    return mutex;
  }

 private:
  std::uint32_t Next(std::deque<std::uint32_t>& answers, const char16_t* call) {
    calls.push_back(call);
    if (answers.empty()) return 0;
    const std::uint32_t answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

constexpr std::uint32_t kExists = 183;
constexpr std::uint32_t kDenied = 5;
constexpr std::uint32_t kInvalidHandle = 6;  // the name is a squatter's event

TEST(TakeInstallLock, TakenOnlyWhenThisRunMadeTheMutex) {
  using V = LockVerdict;
  struct Case {
    const char* what;
    std::function<void(FakeLockSystem&)> arrange;
    LockOutcome expected;
    std::vector<std::u16string> calls;
  } cases[] = {
      {"namespace made, mutex made", [](FakeLockSystem&) {}, {V::Taken, 0, true},
       {u"boundary", u"create namespace", u"mutex PrinterSetup\\Install"}},
      {"namespace of another run, mutex free", [](FakeLockSystem& s) { s.createNamespace = {kExists}; },
       {V::Taken, 0, true}, {u"boundary", u"create namespace", u"open namespace", u"mutex PrinterSetup\\Install"}},
      {"another run holds the mutex",
       [](FakeLockSystem& s) {
         s.createNamespace = {kExists};
         s.mutex = kExists;
       },
       {V::HeldElsewhere, kExists, true},
       {u"boundary", u"create namespace", u"open namespace", u"mutex PrinterSetup\\Install"}},
      {"namespace went away before it was opened",
       [](FakeLockSystem& s) {
         s.createNamespace = {kExists, 0};
         s.openNamespace = {2};
       },
       {V::Taken, 0, true},
       {u"boundary", u"create namespace", u"open namespace", u"create namespace", u"mutex PrinterSetup\\Install"}},
      {"namespace keeps going away",
       [](FakeLockSystem& s) {
         s.createNamespace = {kExists, kExists, kExists};
         s.openNamespace = {2, 2, 2};
       },
       {V::Unavailable, 2, true},
       {u"boundary", u"create namespace", u"open namespace", u"create namespace", u"open namespace",
        u"create namespace", u"open namespace"}},
      {"not an administrator: the namespace is refused", [](FakeLockSystem& s) { s.createNamespace = {kDenied}; },
       {V::Unavailable, kDenied, true}, {u"boundary", u"create namespace"}},
      {"namespace there but not to be opened",
       [](FakeLockSystem& s) {
         s.createNamespace = {kExists, kExists, kExists};
         s.openNamespace = {kDenied, kDenied, kDenied};
       },
       {V::Unavailable, kDenied, true},
       {u"boundary", u"create namespace", u"open namespace", u"create namespace", u"open namespace",
        u"create namespace", u"open namespace"}},
      {"mutex fails in the namespace", [](FakeLockSystem& s) { s.mutex = 1450; }, {V::Unavailable, 1450, true},
       {u"boundary", u"create namespace", u"mutex PrinterSetup\\Install"}},
      {"no namespaces: the global name", [](FakeLockSystem& s) { s.boundary = false; }, {V::Taken, 0, false},
       {u"boundary", u"mutex Global\\PrinterSetup.Install"}},
      {"no namespaces, held", [](FakeLockSystem& s) {
         s.boundary = false;
         s.mutex = kExists;
       },
       {V::HeldElsewhere, kExists, false}, {u"boundary", u"mutex Global\\PrinterSetup.Install"}},
      {"no namespaces, held by another account", [](FakeLockSystem& s) {
         s.boundary = false;
         s.mutex = kDenied;
       },
       {V::HeldElsewhere, kDenied, false}, {u"boundary", u"mutex Global\\PrinterSetup.Install"}},
      {"no namespaces, an event squats the name", [](FakeLockSystem& s) {
         s.boundary = false;
         s.mutex = kInvalidHandle;
       },
       {V::Unavailable, kInvalidHandle, false}, {u"boundary", u"mutex Global\\PrinterSetup.Install"}},
  };
  for (const Case& c : cases) {
    FakeLockSystem system;
    c.arrange(system);
    EXPECT_EQ(c.expected, TakeInstallLock(system)) << c.what;
    EXPECT_EQ(c.calls, system.calls) << c.what;
  }
}

TEST(LockRefusalText, SaysWhyAndThatNothingChanged) {
  EXPECT_EQ(u"Another printer installation is running. Nothing was changed.",
            LockRefusalText({LockVerdict::HeldElsewhere, kExists, true}));
  EXPECT_EQ(u"The lock that keeps installations apart cannot be taken (error 6). Nothing was changed.",
            LockRefusalText({LockVerdict::Unavailable, kInvalidHandle, false}));
}

}  // namespace
