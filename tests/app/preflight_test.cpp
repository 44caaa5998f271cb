// The checks before the first change, on fakes: a service that runs, stops, starts late or never,
// a clock that only moves when the preflight sleeps.
#include "app/preflight.h"

#include <gtest/gtest.h>

#include <deque>

#include "app/road_context.h"
#include "spooler/fake_print_services.h"

namespace {

class FakeService : public SpoolerService {
 public:
  // The answers in turn; the last one stays.
  std::deque<ServiceState> answers{ServiceState{}};
  int starts = 0;
  Status startResult;
  ServiceState Query() override {
    ServiceState state = answers.front();
    if (answers.size() > 1) answers.pop_front();
    return state;
  }
  Status Start() override {
    ++starts;
    return startResult;
  }
};

class FakePause : public Pause {
 public:
  std::uint64_t now = 0;
  std::vector<std::uint32_t> sleeps;
  std::uint64_t NowMs() override { return now; }
  void Sleep(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    now += milliseconds;
  }
};

class FakeSystem : public SystemProbe {
 public:
  SystemFacts facts{u"10.0.26100", u"SYSTEM", true, true, false, u"WinRT", {}};
  SystemFacts Facts() override { return facts; }
};

ServiceState State(ServiceStart start, ServiceRun run, std::uint32_t hint = 0) { return {Status{}, start, run, hint}; }

struct Bed {
  Bed() : context(RoadTestContext()) {}
  Preflight Run(RunMode mode = RunMode::Quiet) {
    return RunPreflight(mode, context, {service, pause, system, fake.spooler});
  }
  std::u16string Box() const { return fake.Boxes().empty() ? u"" : fake.Boxes().back().text; }
  InstallContext context;
  FakePrintPlatform fake;
  FakeService service;
  FakePause pause;
  FakeSystem system;
};

TEST(Preflight, EachStateOfTheSpoolerEndsAsItShould) {
  struct Case {
    const char* name;
    std::vector<ServiceState> answers;
    int exitCode;
    const char16_t* word;
    int starts;
    std::uint64_t waited;
  };
  const ServiceState running = State(ServiceStart::Other, ServiceRun::Running);
  const ServiceState stopped = State(ServiceStart::Other, ServiceRun::Stopped);
  const ServiceState pending = State(ServiceStart::Other, ServiceRun::Pending, 30000);
  const Case cases[] = {
      {"running", {running}, 0, u"", 0, 0},
      {"disabled", {State(ServiceStart::Disabled, ServiceRun::Stopped)}, 1603, u"spooler-disabled", 0, 0},
      {"stopped, then running", {stopped, pending, running}, 0, u"", 1, 4000},  // 1 s, then the hint's 3 s
      {"stopped for ever", {stopped}, 1603, u"spooler-unavailable", 1, 60000},
      {"not asked (no service manager)", {ServiceState{Status::Failed(5), {}, {}, 0}}, 0, u"", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bed bed;
    bed.service.answers.assign(c.answers.begin(), c.answers.end());
    const Preflight preflight = bed.Run();
    EXPECT_EQ(c.exitCode, preflight.exitCode);
    EXPECT_EQ(c.word, preflight.resultWord);
    EXPECT_EQ(c.starts, bed.service.starts);
    EXPECT_EQ(c.waited, bed.pause.now);
    for (std::uint32_t step : bed.pause.sleeps) EXPECT_LE(step, 10000u);
  }
}

TEST(Preflight, TheRefusalsSayWhyInTheRunsLanguage) {
  Bed bed;
  bed.service.answers = {State(ServiceStart::Disabled, ServiceRun::Stopped)};
  bed.Run();
  EXPECT_EQ(u"The Print Spooler service is disabled. Enable it and run the setup again. Nothing was changed.", bed.Box());
  Bed waited;
  waited.context.spoolerWait = u"5";
  waited.service.answers = {State(ServiceStart::Other, ServiceRun::Stopped)};
  waited.Run();
  EXPECT_EQ(u"The Print Spooler service did not start within 5 seconds. Nothing was changed.", waited.Box());
  EXPECT_EQ(5000u, waited.pause.now);
}

TEST(Preflight, TheSpoolersFirstCallIsRetriedWhileItsEndpointComesUp) {
  struct Case {
    std::uint32_t code;
    int failures;
    int exitCode;
  } cases[] = {{1722, 3, 0}, {1723, 2, 0}, {1726, 1, 0}, {1722, 1000, 1603}, {5, 1000, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Bed bed;
    for (int i = 1; i <= std::min(c.failures, 100); ++i) bed.fake.spooler.Fail("DriverDirectory", c.code, i);
    if (c.failures > 100) bed.fake.spooler.Fail("DriverDirectory", c.code);
    EXPECT_EQ(c.exitCode, bed.Run().exitCode);
  }
}

TEST(Preflight, ProtectedPrintStopsWhatInstallsAndLetsTheRestLook) {
  const std::pair<RunMode, int> cases[] = {{RunMode::Interactive, 1625},
                                           {RunMode::Quiet, 1625},
                                           {RunMode::Uninstall, 0},
                                           {RunMode::Verify, 0}};
  for (const auto& [mode, exitCode] : cases) {
    Bed bed;
    bed.system.facts.protectedPrint = true;
    const Preflight preflight = bed.Run(mode);
    EXPECT_EQ(exitCode, preflight.exitCode);
    EXPECT_EQ(exitCode ? u"blocked-by-policy" : u"", preflight.resultWord);
  }
}

TEST(Preflight, OnlyAnElevatedTokenOrSystemMayGoOn) {
  struct Case {
    bool elevated, system;
    int exitCode;
  } cases[] = {{true, false, 0}, {false, true, 0}, {false, false, 1603}};
  for (const Case& c : cases) {
    Bed bed;
    bed.system.facts.elevated = c.elevated;
    bed.system.facts.system = c.system;
    const Preflight preflight = bed.Run();
    EXPECT_EQ(c.exitCode, preflight.exitCode);
    EXPECT_EQ(c.exitCode ? u"PrinterSetup must be run as an administrator. Nothing was changed." : u"", bed.Box());
  }
}

TEST(Preflight, SpoolerWaitIsSecondsFromZeroTo3600) {
  const std::pair<const char16_t*, std::optional<std::uint32_t>> cases[] = {
      {u"", 60}, {u"0", 0}, {u"3600", 3600}, {u"3601", std::nullopt}, {u"-1", std::nullopt},
      {u"10s", std::nullopt}, {u"99999", std::nullopt}};
  for (const auto& [text, seconds] : cases) {
    InstallContext context;
    context.spoolerWait = text;
    EXPECT_EQ(seconds, SpoolerWaitSeconds(context));
  }
}

}  // namespace
