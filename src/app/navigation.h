#pragma once
// The wizard's movement between its six pages, free of any window system: the operations update
// WizardNavigation and return the actions the window layer carries out, in order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/install_context.h"
#include "resources/resource_ids.h"

enum class WizardPage { Language, ConnectionType, Network, Usb, Serial, Parallel };

struct WizardNavigation {
  WizardPage currentPage = WizardPage::Language;
  bool prevEnabled = false;  // Next is always enabled
  // The automatic Next of the three skip flags had its one chance; from then on the user leads.
  bool autoNextSpent = false;
};

// Check states of 1008, 1009, 1010 and 1011 as read when Next is pressed.
struct ConnectionChecks {
  bool network = false;
  bool usb = false;
  bool serial = false;
  bool parallel = false;
};

enum class NavActionKind {
  ShowPage,        // page: hide the shown page, show this one
  SetPrevEnabled,  // enabled: the state of Prev (1001); Next stays enabled
  SetCheck,        // page, buttonId, checked: BM_SETCHECK; a button the page lacks is left alone
  ApplyLanguage,   // buttonId (1006/1007), languageCode ("CHN"/"ENG"): as a click on that button
  NextNow,         // run OnNext at once (nested), with the check states read at that moment
  PrevNow,         // run OnPrev at once (nested)
  QueueNext,       // post Next: it runs after the current command and all it nested
  RunInstallRoad,  // page: the connection page whose road to run
  Quit,            // post the quit message
};

struct NavAction {
  NavActionKind kind = NavActionKind::Quit;
  WizardPage page = WizardPage::Language;
  int buttonId = 0;
  bool enabled = false;
  bool checked = false;
  std::u16string languageCode;

  bool operator==(const NavAction& o) const {
    return kind == o.kind && page == o.page && buttonId == o.buttonId && enabled == o.enabled &&
           checked == o.checked && languageCode == o.languageCode;
  }
};

using NavActions = std::vector<NavAction>;

constexpr std::uint16_t kLanguageChinesePrc = 0x0804;

// 1006 (Chinese) or 1007 (English); exact, case-sensitive comparisons.
int ChooseStartLanguage(std::u16string_view defaultLanguage, std::uint16_t uiLanguage);
// 1008, 1009, 1010 or 1011; anything but "COM", "ETH" and "LPT" gives USB.
int ChooseStartConnectionType(std::u16string_view defaultPortType);

// "CHN" for the Chinese button, else "ENG".
const char16_t* LanguageCode(int languageButton);

// The start-up choices, once the pages exist and before the window is shown; languageButton is the
// start language as ChooseStartLanguage chose it.
NavActions StartNavigation(WizardNavigation& nav, const InstallContext& context, int languageButton);
NavActions OnNext(WizardNavigation& nav, const InstallContext& context, const ConnectionChecks& checks);
NavActions OnPrev(WizardNavigation& nav, const InstallContext& context);
NavActions OnClose();

// The window's side of the actions, for RunNavigationActions.
class NavigationHost {
 public:
  virtual ~NavigationHost() = default;
  virtual void ShowPage(WizardPage page) = 0;
  virtual void SetPrevEnabled(bool enabled) = 0;
  virtual void SetCheck(WizardPage page, int buttonId, bool checked) = 0;
  virtual void ApplyLanguage(int buttonId, const std::u16string& code) = 0;
  virtual ConnectionChecks ReadConnectionChecks() = 0;
  virtual void QueueNext() = 0;
  virtual void RunInstallRoad(WizardPage page) = 0;
  virtual void Quit() = 0;
};

// Carries out actions in order; NextNow and PrevNow run their command at once through the same
// host, so a nested command's actions all happen before the rest of the outer list.
void RunNavigationActions(WizardNavigation& nav, const InstallContext& context, const NavActions& actions,
                          NavigationHost& host);
