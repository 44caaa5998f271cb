#include <gtest/gtest.h>

#include "app/fake_nav_host.h"
#include "app/navigation.h"

namespace {

struct Flags {
  std::uint32_t skipLanguage, skipPort, autoInstall;
};

InstallContext ContextWith(Flags f, std::u16string portType = u"", std::u16string language = u"") {
  InstallContext c;
  c.skipLanguage = f.skipLanguage;
  c.skipPort = f.skipPort;
  c.autoInstall = f.autoInstall;
  c.defaultPortType = portType;
  c.defaultLanguage = language;
  return c;
}

// Actions written compactly: "show type", "prev on", "check 1008", "uncheck 1010",
// "apply 1007 ENG", "next now", "prev now", "queue next", "road usb", "quit".
std::vector<std::string> Describe(const NavActions& actions) {
  std::vector<std::string> out;
  for (const NavAction& a : actions) {
    switch (a.kind) {
      case NavActionKind::ShowPage: out.push_back(std::string("show ") + PageName(a.page)); break;
      case NavActionKind::SetPrevEnabled: out.push_back(a.enabled ? "prev on" : "prev off"); break;
      case NavActionKind::SetCheck:
        out.push_back((a.checked ? "check " : "uncheck ") + std::to_string(a.buttonId));
        EXPECT_EQ(a.buttonId <= IDC_ENGLISH ? WizardPage::Language : WizardPage::ConnectionType, a.page);
        break;
      case NavActionKind::ApplyLanguage:
        out.push_back("apply " + std::to_string(a.buttonId) + " " +
                      std::string(a.languageCode.begin(), a.languageCode.end()));
        break;
      case NavActionKind::NextNow: out.push_back("next now"); break;
      case NavActionKind::PrevNow: out.push_back("prev now"); break;
      case NavActionKind::QueueNext: out.push_back("queue next"); break;
      case NavActionKind::RunInstallRoad: out.push_back(std::string("road ") + PageName(a.page)); break;
      case NavActionKind::Quit: out.push_back("quit"); break;
    }
  }
  return out;
}

using Lines = std::vector<std::string>;

const WizardPage kConnectionPages[] = {WizardPage::Network, WizardPage::Usb, WizardPage::Serial,
                                       WizardPage::Parallel};
const WizardPage kAllPages[] = {WizardPage::Language, WizardPage::ConnectionType, WizardPage::Network,
                                WizardPage::Usb,      WizardPage::Serial,         WizardPage::Parallel};

}  // namespace

TEST(ChooseStartLanguage, ConfiguredCodeElseSystemLanguage) {
  struct Case {
    const char16_t* configured;
    std::uint16_t ui;
    int expected;
  };
  const Case cases[] = {
      {u"CHN", 0x0409, IDC_CHINESE}, {u"ENG", 0x0804, IDC_ENGLISH}, {u"", 0x0804, IDC_CHINESE},
      {u"", 0x0404, IDC_ENGLISH},    {u"", 0x0409, IDC_ENGLISH},    {u"chn", 0x0409, IDC_ENGLISH},
      {u"eng", 0x0804, IDC_CHINESE}, {u"CHN ", 0x0409, IDC_ENGLISH}, {u"", 0, IDC_ENGLISH},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ChooseStartLanguage(c.configured, c.ui))
        << std::string(c.configured, c.configured + std::char_traits<char16_t>::length(c.configured)) << " "
        << c.ui;
  }
}

TEST(ChooseStartConnectionType, ExactCodesElseUsb) {
  struct Case {
    const char16_t* configured;
    int expected;
  };
  const Case cases[] = {{u"COM", IDC_TYPE_SERIAL}, {u"ETH", IDC_TYPE_NETWORK}, {u"LPT", IDC_TYPE_PARALLEL},
                        {u"USB", IDC_TYPE_USB},    {u"", IDC_TYPE_USB},        {u"eth", IDC_TYPE_USB},
                        {u"lpt", IDC_TYPE_USB},    {u"ETH ", IDC_TYPE_USB},    {u"COMX", IDC_TYPE_USB}};
  for (const Case& c : cases) EXPECT_EQ(c.expected, ChooseStartConnectionType(c.configured));
}

TEST(StartNavigation, ChoicesInOrder) {
  struct Case {
    Flags flags;
    const char16_t* portType;
    const char16_t* language;
    std::uint16_t ui;
    Lines expected;
  };
  const Lines english = {"prev off", "uncheck 1006", "uncheck 1007", "check 1007", "apply 1007 ENG",
                         "uncheck 1010", "uncheck 1009", "uncheck 1008", "uncheck 1011"};
  auto with = [&](Lines tail) {
    Lines all = english;
    all.insert(all.end(), tail.begin(), tail.end());
    return all;
  };
  const Case cases[] = {
      {{0, 0, 0}, u"ETH", u"", 0x0409, with({"check 1008"})},
      {{1, 0, 0}, u"", u"ENG", 0x0804, with({"check 1009", "next now"})},
      {{0, 1, 1}, u"LPT", u"", 0x0409, with({"check 1011"})},  // Next now only for skipLanguage
      {{2, 1, 1}, u"COM", u"ENG", 0x0409, with({"check 1010", "next now"})},
      {{0, 0, 0}, u"", u"", 0x0804,
       {"prev off", "uncheck 1006", "uncheck 1007", "check 1006", "apply 1006 CHN", "uncheck 1010",
        "uncheck 1009", "uncheck 1008", "uncheck 1011", "check 1009"}},
  };
  for (const Case& c : cases) {
    WizardNavigation nav;
    nav.currentPage = WizardPage::Usb;
    nav.prevEnabled = true;
    const int language = ChooseStartLanguage(c.language, c.ui);
    EXPECT_EQ(c.expected, Describe(StartNavigation(nav, ContextWith(c.flags, c.portType, c.language), language)));
    EXPECT_EQ(WizardPage::Language, nav.currentPage);
    EXPECT_FALSE(nav.prevEnabled);
  }
}

// Every move between pages, under the flag combinations that change it.
TEST(Transitions, NextFromTheLanguagePage) {
  struct Case {
    Flags flags;
    Lines expected;
    bool prev;
  };
  const Case cases[] = {
      {{0, 0, 0}, {"show type", "prev on"}, true},
      {{1, 0, 0}, {"show type", "prev on", "prev off"}, false},
      {{0, 1, 0}, {"show type", "prev on", "next now"}, true},
      {{1, 1, 1}, {"show type", "prev on", "prev off", "next now"}, false},
      {{0, 0, 1}, {"show type", "prev on"}, true},
  };
  for (const Case& c : cases) {
    WizardNavigation nav;
    EXPECT_EQ(c.expected, Describe(OnNext(nav, ContextWith(c.flags), {})));
    EXPECT_EQ(WizardPage::ConnectionType, nav.currentPage);
    EXPECT_EQ(c.prev, nav.prevEnabled);
  }
}

TEST(Transitions, NextFromTheConnectionTypePage) {
  struct Case {
    ConnectionChecks checks;
    Flags flags;
    WizardPage page;
    Lines expected;
  };
  const Case cases[] = {
      {{true, false, false, false}, {0, 0, 0}, WizardPage::Network, {"show network", "prev on"}},
      {{false, true, false, false}, {0, 0, 0}, WizardPage::Usb, {"show usb", "prev on"}},
      {{false, false, true, false}, {0, 0, 0}, WizardPage::Serial, {"show serial", "prev on"}},
      {{false, false, false, true}, {0, 0, 0}, WizardPage::Parallel, {"show parallel", "prev on"}},
      {{false, true, true, true}, {0, 0, 0}, WizardPage::Usb, {"show usb", "prev on"}},  // first checked wins
      {{false, false, false, false}, {0, 0, 0}, WizardPage::ConnectionType, {"prev on"}},
      {{false, true, false, false}, {0, 1, 0}, WizardPage::Usb, {"show usb", "prev on"}},
      {{false, true, false, false}, {1, 0, 1}, WizardPage::Usb, {"show usb", "prev on"}},
      {{false, true, false, false}, {1, 1, 0}, WizardPage::Usb, {"show usb", "prev on", "prev off"}},
      {{true, false, false, false}, {1, 1, 1}, WizardPage::Network,
       {"show network", "prev on", "prev off", "queue next"}},
      // Nothing to move to: no queued Next, which would only come back here.
      {{false, false, false, false}, {1, 1, 1}, WizardPage::ConnectionType, {"prev on", "prev off"}},
  };
  for (const Case& c : cases) {
    WizardNavigation nav{WizardPage::ConnectionType, false};
    EXPECT_EQ(c.expected, Describe(OnNext(nav, ContextWith(c.flags), c.checks)));
    EXPECT_EQ(c.page, nav.currentPage);
    EXPECT_EQ(c.expected.back() == "prev on", nav.prevEnabled);
  }
}

TEST(Transitions, NextOnAConnectionPageRunsItsRoadOnly) {
  for (WizardPage page : kConnectionPages) {
    for (bool prev : {false, true}) {
      WizardNavigation nav{page, prev};
      EXPECT_EQ(Lines{std::string("road ") + PageName(page)},
                Describe(OnNext(nav, ContextWith({1, 1, 1}), {true, true, false, false})));
      EXPECT_EQ(page, nav.currentPage);
      EXPECT_EQ(prev, nav.prevEnabled);
    }
  }
}

TEST(Transitions, PrevFromTheConnectionTypePage) {
  for (Flags flags : {Flags{0, 0, 0}, Flags{1, 1, 1}}) {
    WizardNavigation nav{WizardPage::ConnectionType, true};
    EXPECT_EQ((Lines{"show language", "prev off"}), Describe(OnPrev(nav, ContextWith(flags))));
    EXPECT_EQ(WizardPage::Language, nav.currentPage);
    EXPECT_FALSE(nav.prevEnabled);
  }
}

TEST(Transitions, PrevFromAnyOtherPage) {
  struct Case {
    Flags flags;
    Lines expected;
    bool prev;
  };
  const Case cases[] = {
      {{0, 0, 0}, {"show type", "prev on"}, true},
      {{1, 0, 0}, {"show type", "prev on", "prev off"}, false},
      {{0, 1, 0}, {"show type", "prev on", "prev now"}, true},
      {{1, 1, 0}, {"show type", "prev on", "prev off", "prev now"}, false},
  };
  for (WizardPage page : {WizardPage::Language, WizardPage::Network, WizardPage::Usb, WizardPage::Serial,
                          WizardPage::Parallel}) {
    for (const Case& c : cases) {
      WizardNavigation nav{page, true};
      EXPECT_EQ(c.expected, Describe(OnPrev(nav, ContextWith(c.flags)))) << PageName(page);
      EXPECT_EQ(WizardPage::ConnectionType, nav.currentPage);
      EXPECT_EQ(c.prev, nav.prevEnabled);
    }
  }
}

TEST(Transitions, CloseQuitsFromAnyPage) {
  EXPECT_EQ(Lines{"quit"}, Describe(OnClose()));
  for (WizardPage page : kAllPages) {
    FakeNavHost host;
    host.context = ContextWith({0, 0, 0});
    host.Start(0x0409);
    host.nav.currentPage = page;
    host.PressCancel();
    EXPECT_TRUE(host.quit);
    EXPECT_TRUE(host.roads.empty());
    EXPECT_EQ(page, host.nav.currentPage);
  }
}

// The whole start-up with the two-button connection-type page, for every combination of flags.
TEST(StartUp, SkipFlagCombinations) {
  struct Case {
    Flags flags;
    WizardPage page;
    bool prev;
    int roads;  // install roads run without a click
  };
  const Case cases[] = {
      {{0, 0, 0}, WizardPage::Language, false, 0},       {{1, 0, 0}, WizardPage::ConnectionType, false, 0},
      {{0, 1, 0}, WizardPage::Language, false, 0},       {{1, 1, 0}, WizardPage::Usb, false, 0},
      {{1, 1, 1}, WizardPage::Usb, false, 1},            {{0, 0, 1}, WizardPage::Language, false, 0},
      {{1, 0, 1}, WizardPage::ConnectionType, false, 0}, {{0, 1, 1}, WizardPage::Language, false, 0},
      {{7, 2, 3}, WizardPage::Usb, false, 1},  // any non-zero counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.flags.skipLanguage) + std::to_string(c.flags.skipPort) +
                 std::to_string(c.flags.autoInstall));
    FakeNavHost host;
    host.context = ContextWith(c.flags);
    host.Start(0x0409);
    EXPECT_EQ(c.page, host.nav.currentPage);
    EXPECT_EQ(c.page, host.shown);
    EXPECT_EQ(c.prev, host.prevEnabled);
    EXPECT_EQ(c.prev, host.nav.prevEnabled);
    ASSERT_EQ(static_cast<std::size_t>(c.roads), host.roads.size());
    if (c.roads) {
      EXPECT_EQ(WizardPage::Usb, host.roads[0]);
      EXPECT_TRUE(host.roadsAfterShown[0]);
    }
    EXPECT_TRUE(host.QueueEmpty());
    EXPECT_EQ(u"ENG", host.language);
    EXPECT_TRUE(host.IsChecked(IDC_ENGLISH));
    EXPECT_FALSE(host.IsChecked(IDC_CHINESE));
    EXPECT_TRUE(host.IsChecked(IDC_TYPE_USB));
    EXPECT_FALSE(host.IsChecked(IDC_TYPE_NETWORK));
  }
}

TEST(StartUp, BothSkipsNestTwoNextsAndPostOneAfterShowing) {
  FakeNavHost host;
  host.context = ContextWith({1, 1, 1}, u"ETH");
  host.Start(0x0804);
  const Lines expected = {
      "prev off", "uncheck 1006", "uncheck 1007", "check 1006", "apply 1006 CHN", "uncheck 1010",
      "uncheck 1009", "uncheck 1008", "uncheck 1011", "check 1008",
      "show type", "prev on", "prev off",                        // first nested Next
      "show network", "prev on", "prev off", "queue next",       // second nested Next
      "window shown", "road network",                            // the posted Next
  };
  EXPECT_EQ(expected, host.log);
  EXPECT_EQ(3, host.nextCommands);
}

TEST(StartUp, SkipLanguageAloneKeepsPrevOffOnTheTypePage) {
  FakeNavHost host;
  host.context = ContextWith({1, 0, 0});
  host.Start(0x0409);
  EXPECT_EQ(WizardPage::ConnectionType, host.shown);
  EXPECT_FALSE(host.prevEnabled);
  host.PressNext();
  EXPECT_EQ(WizardPage::Usb, host.shown);
  EXPECT_TRUE(host.prevEnabled);
  host.PressPrev();
  EXPECT_EQ(WizardPage::ConnectionType, host.shown);
  EXPECT_FALSE(host.prevEnabled);
}

TEST(StartUp, SkipPortAlonePassesOverTheTypePageBothWays) {
  FakeNavHost host;
  host.context = ContextWith({0, 1, 0});
  host.Start(0x0409);
  EXPECT_EQ(WizardPage::Language, host.shown);
  host.PressNext();
  EXPECT_EQ(WizardPage::Usb, host.shown);
  EXPECT_TRUE(host.prevEnabled);
  host.PressPrev();
  EXPECT_EQ(WizardPage::Language, host.shown);
  EXPECT_FALSE(host.prevEnabled);
  EXPECT_EQ(WizardPage::Language, host.nav.currentPage);
}

TEST(StartUp, EthernetPreselectedLeadsToTheNetworkPage) {
  FakeNavHost host;
  host.context = ContextWith({0, 0, 0}, u"ETH");
  host.Start(0x0409);
  host.PressNext();
  EXPECT_EQ(WizardPage::ConnectionType, host.shown);
  EXPECT_TRUE(host.IsChecked(IDC_TYPE_NETWORK));
  host.PressNext();
  EXPECT_EQ(WizardPage::Network, host.shown);
  host.PressNext();
  EXPECT_EQ(std::vector<WizardPage>{WizardPage::Network}, host.roads);
}

TEST(StartUp, LowerCaseEthPreselectsUsb) {
  FakeNavHost host;
  host.context = ContextWith({1, 1, 0}, u"eth");
  host.Start(0x0409);
  EXPECT_EQ(WizardPage::Usb, host.shown);
}

TEST(StartUp, SerialOrParallelWithTheTwoButtonPageWaitsForAChoice) {
  for (const char16_t* type : {u"COM", u"LPT"}) {
    FakeNavHost host;
    host.context = ContextWith({0, 0, 0}, type);
    host.Start(0x0409);
    EXPECT_FALSE(host.IsChecked(IDC_TYPE_NETWORK) || host.IsChecked(IDC_TYPE_USB));
    host.PressNext();
    host.PressNext();
    EXPECT_EQ(WizardPage::ConnectionType, host.shown);
    host.Click(IDC_TYPE_NETWORK);
    host.PressNext();
    EXPECT_EQ(WizardPage::Network, host.shown);
  }
}

TEST(StartUp, AllFlagsWithNothingCheckedWaitOnTheTypePage) {
  for (const char16_t* type : {u"COM", u"LPT"}) {
    FakeNavHost host;
    host.context = ContextWith({1, 1, 1}, type);
    host.Start(0x0409);
    EXPECT_EQ(WizardPage::ConnectionType, host.shown);
    EXPECT_FALSE(host.prevEnabled);
    EXPECT_EQ(0, host.queuedHandled);
    EXPECT_TRUE(host.roads.empty());
    // The user chooses and Next moves on; the user, not an automatic Next, then starts the road
    // from the page just shown.
    host.Click(IDC_TYPE_USB);
    host.PressNext();
    EXPECT_EQ(WizardPage::Usb, host.shown);
    EXPECT_TRUE(host.roads.empty());
    EXPECT_TRUE(host.QueueEmpty());
    host.PressNext();
    EXPECT_EQ(std::vector<WizardPage>{WizardPage::Usb}, host.roads);
  }
}

TEST(StartUp, TheAutomaticNextComesOnceOnly) {
  // All flags: the road starts by itself once. When it keeps the wizard (no USB device chosen),
  // going back and forward again shows the connection page instead of starting another road.
  FakeNavHost host;
  host.context = ContextWith({1, 1, 1});
  host.Start(0x0409);
  ASSERT_EQ(std::vector<WizardPage>{WizardPage::Usb}, host.roads);
  host.PressPrev();
  EXPECT_EQ(WizardPage::Language, host.shown);
  host.PressNext();
  EXPECT_EQ(WizardPage::Usb, host.shown);
  EXPECT_EQ(1u, host.roads.size());
  EXPECT_EQ(1, host.queuedHandled);
}

TEST(RunNavigationActions, NestedCommandRunsBeforeTheRestOfItsList) {
  FakeNavHost host;
  host.context = ContextWith({0, 0, 0});
  host.nav = {WizardPage::Language, false};
  NavAction next;
  next.kind = NavActionKind::NextNow;
  NavAction prev;
  prev.kind = NavActionKind::SetPrevEnabled;
  prev.enabled = false;
  RunNavigationActions(host.nav, host.context, {next, prev}, host);
  EXPECT_EQ((Lines{"show type", "prev on", "prev off"}), host.log);
}
