#include "app/navigation.h"

namespace {

NavAction Show(WizardPage page) {
  NavAction a;
  a.kind = NavActionKind::ShowPage;
  a.page = page;
  return a;
}

NavAction Prev(bool enabled) {
  NavAction a;
  a.kind = NavActionKind::SetPrevEnabled;
  a.enabled = enabled;
  return a;
}

NavAction Check(WizardPage page, int buttonId, bool checked) {
  NavAction a;
  a.kind = NavActionKind::SetCheck;
  a.page = page;
  a.buttonId = buttonId;
  a.checked = checked;
  return a;
}

NavAction Simple(NavActionKind kind) {
  NavAction a;
  a.kind = kind;
  return a;
}

bool IsSet(std::uint32_t flag) { return flag != 0; }

void ShowPage(WizardNavigation& nav, NavActions& out, WizardPage page) {
  nav.currentPage = page;
  out.push_back(Show(page));
}

void SetPrev(WizardNavigation& nav, NavActions& out, bool enabled) {
  nav.prevEnabled = enabled;
  out.push_back(Prev(enabled));
}

}  // namespace

int ChooseStartLanguage(std::u16string_view defaultLanguage, std::uint16_t uiLanguage) {
  if (defaultLanguage == u"CHN") return IDC_CHINESE;
  if (defaultLanguage == u"ENG") return IDC_ENGLISH;
  return uiLanguage == kLanguageChinesePrc ? IDC_CHINESE : IDC_ENGLISH;
}

int ChooseStartConnectionType(std::u16string_view defaultPortType) {
  if (defaultPortType == u"COM") return IDC_TYPE_SERIAL;
  if (defaultPortType == u"ETH") return IDC_TYPE_NETWORK;
  if (defaultPortType == u"LPT") return IDC_TYPE_PARALLEL;
  return IDC_TYPE_USB;
}

const char16_t* LanguageCode(int languageButton) { return languageButton == IDC_CHINESE ? u"CHN" : u"ENG"; }

NavActions StartNavigation(WizardNavigation& nav, const InstallContext& context, int languageButton) {
  NavActions out;
  nav.currentPage = WizardPage::Language;  // created current; nothing to show yet
  SetPrev(nav, out, false);

  out.push_back(Check(WizardPage::Language, IDC_CHINESE, false));
  out.push_back(Check(WizardPage::Language, IDC_ENGLISH, false));
  out.push_back(Check(WizardPage::Language, languageButton, true));
  NavAction apply = Simple(NavActionKind::ApplyLanguage);
  apply.buttonId = languageButton;
  apply.languageCode = LanguageCode(languageButton);
  out.push_back(apply);

  for (int id : {IDC_TYPE_SERIAL, IDC_TYPE_USB, IDC_TYPE_NETWORK, IDC_TYPE_PARALLEL}) {
    out.push_back(Check(WizardPage::ConnectionType, id, false));
  }
  out.push_back(Check(WizardPage::ConnectionType, ChooseStartConnectionType(context.defaultPortType), true));

  if (IsSet(context.skipLanguage)) out.push_back(Simple(NavActionKind::NextNow));
  return out;
}

NavActions OnNext(WizardNavigation& nav, const InstallContext& context, const ConnectionChecks& checks) {
  const bool skipLanguage = IsSet(context.skipLanguage);
  const bool skipPort = IsSet(context.skipPort);
  const bool autoInstall = IsSet(context.autoInstall);
  NavActions out;
  switch (nav.currentPage) {
    case WizardPage::Language:
      ShowPage(nav, out, WizardPage::ConnectionType);
      SetPrev(nav, out, true);
      if (skipLanguage) SetPrev(nav, out, false);
      if (skipPort) out.push_back(Simple(NavActionKind::NextNow));
      break;
    case WizardPage::ConnectionType: {
      bool moved = true;
      if (checks.network) ShowPage(nav, out, WizardPage::Network);
      else if (checks.usb) ShowPage(nav, out, WizardPage::Usb);
      else if (checks.serial) ShowPage(nav, out, WizardPage::Serial);
      else if (checks.parallel) ShowPage(nav, out, WizardPage::Parallel);
      else moved = false;
      SetPrev(nav, out, true);
      if (skipPort && skipLanguage) SetPrev(nav, out, false);
      // Only the first pass may go on by itself. Without a page to go to, a queued Next would land
      // here again and again; and once the user has been handed the wizard, a later Next must not
      // start a road on a page the user never saw.
      if (skipPort && skipLanguage && autoInstall && !nav.autoNextSpent) {
        nav.autoNextSpent = true;
        if (moved) out.push_back(Simple(NavActionKind::QueueNext));
      }
      break;
    }
    case WizardPage::Network:
    case WizardPage::Usb:
    case WizardPage::Serial:
    case WizardPage::Parallel: {
      NavAction road = Simple(NavActionKind::RunInstallRoad);
      road.page = nav.currentPage;
      out.push_back(road);
      break;
    }
  }
  return out;
}

NavActions OnPrev(WizardNavigation& nav, const InstallContext& context) {
  NavActions out;
  if (nav.currentPage == WizardPage::ConnectionType) {
    ShowPage(nav, out, WizardPage::Language);
    SetPrev(nav, out, false);
    return out;
  }
  ShowPage(nav, out, WizardPage::ConnectionType);
  SetPrev(nav, out, true);
  if (IsSet(context.skipLanguage)) SetPrev(nav, out, false);
  if (IsSet(context.skipPort)) out.push_back(Simple(NavActionKind::PrevNow));
  return out;
}

NavActions OnClose() { return {Simple(NavActionKind::Quit)}; }

void RunNavigationActions(WizardNavigation& nav, const InstallContext& context, const NavActions& actions,
                          NavigationHost& host) {
  for (const NavAction& a : actions) {
    switch (a.kind) {
      case NavActionKind::ShowPage:
        host.ShowPage(a.page);
        break;
      case NavActionKind::SetPrevEnabled:
        host.SetPrevEnabled(a.enabled);
        break;
      case NavActionKind::SetCheck:
        host.SetCheck(a.page, a.buttonId, a.checked);
        break;
      case NavActionKind::ApplyLanguage:
        host.ApplyLanguage(a.buttonId, a.languageCode);
        break;
      case NavActionKind::NextNow:
        RunNavigationActions(nav, context, OnNext(nav, context, host.ReadConnectionChecks()), host);
        break;
      case NavActionKind::PrevNow:
        RunNavigationActions(nav, context, OnPrev(nav, context), host);
        break;
      case NavActionKind::QueueNext:
        host.QueueNext();
        break;
      case NavActionKind::RunInstallRoad:
        host.RunInstallRoad(a.page);
        break;
      case NavActionKind::Quit:
        host.Quit();
        break;
    }
  }
}
