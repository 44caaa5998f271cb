#pragma once
// A window layer in memory for the navigation: pages that offer only some buttons, check states
// kept by the buttons, posted Next commands on a queue that runs once the window is shown, and a
// log of everything done, so that whole start-up flows can be followed.
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/navigation.h"

inline const char* PageName(WizardPage page) {
  switch (page) {
    case WizardPage::Language: return "language";
    case WizardPage::ConnectionType: return "type";
    case WizardPage::Network: return "network";
    case WizardPage::Usb: return "usb";
    case WizardPage::Serial: return "serial";
    case WizardPage::Parallel: return "parallel";
  }
  return "?";
}

class FakeNavHost : public NavigationHost {
 public:
  WizardNavigation nav;
  InstallContext context;
  // The shipped connection-type page offers network and USB only.
  std::set<int> offered = {IDC_CHINESE, IDC_ENGLISH, IDC_TYPE_NETWORK, IDC_TYPE_USB};
  std::map<int, bool> checked;
  WizardPage shown = WizardPage::Language;  // the pages are created with the language page current
  bool prevEnabled = true;                  // whatever the template says until start-up sets it
  bool windowShown = false;
  bool quit = false;
  std::u16string language;
  std::vector<WizardPage> roads;       // install roads run, in order
  std::vector<bool> roadsAfterShown;   // whether the window was on screen for each
  std::vector<std::string> log;
  int nextCommands = 0;   // Next commands handled, nested and queued ones included
  int queuedHandled = 0;  // posted Next commands taken from the queue

  // The start-up inside window creation (with the language the run chose at its start), then the
  // window shown and the message loop draining posted commands (a bound stops a command that keeps
  // posting itself).
  void Start(std::uint16_t uiLanguage) {
    const int language = ChooseStartLanguage(context.defaultLanguage, uiLanguage);
    RunNavigationActions(nav, context, StartNavigation(nav, context, language), *this);
    windowShown = true;
    log.push_back("window shown");
    Drain();
  }

  void Drain() {
    while (!queue_.empty() && queuedHandled < 20) {
      queue_.pop_front();
      ++queuedHandled;
      HandleNext();
    }
  }

  bool QueueEmpty() const { return queue_.empty(); }

  void PressNext() {
    HandleNext();
    Drain();
  }
  void PressPrev() {
    RunNavigationActions(nav, context, OnPrev(nav, context), *this);
    Drain();
  }
  void PressCancel() { RunNavigationActions(nav, context, OnClose(), *this); }

  // A click on an automatic radio button: it checks itself and unchecks its page's others.
  void Click(int id) {
    if (!offered.count(id)) return;
    bool languageButton = id == IDC_CHINESE || id == IDC_ENGLISH;
    for (auto& entry : checked) {
      if ((entry.first == IDC_CHINESE || entry.first == IDC_ENGLISH) == languageButton) entry.second = false;
    }
    checked[id] = true;
  }

  bool IsChecked(int id) const {
    auto it = checked.find(id);
    return it != checked.end() && it->second;
  }

  void ShowPage(WizardPage page) override {
    shown = page;
    log.push_back(std::string("show ") + PageName(page));
  }
  void SetPrevEnabled(bool enabled) override {
    prevEnabled = enabled;
    log.push_back(enabled ? "prev on" : "prev off");
  }
  void SetCheck(WizardPage, int buttonId, bool on) override {
    log.push_back((on ? "check " : "uncheck ") + std::to_string(buttonId));
    if (offered.count(buttonId)) checked[buttonId] = on;
  }
  void ApplyLanguage(int buttonId, const std::u16string& code) override {
    language = code;
    log.push_back("apply " + std::to_string(buttonId) + " " + std::string(code.begin(), code.end()));
  }
  ConnectionChecks ReadConnectionChecks() override {
    ++nextCommands;
    return {IsChecked(IDC_TYPE_NETWORK), IsChecked(IDC_TYPE_USB), IsChecked(IDC_TYPE_SERIAL),
            IsChecked(IDC_TYPE_PARALLEL)};
  }
  void QueueNext() override {
    log.push_back("queue next");
    queue_.push_back(IDC_NEXT);
  }
  void RunInstallRoad(WizardPage page) override {
    roads.push_back(page);
    roadsAfterShown.push_back(windowShown);
    log.push_back(std::string("road ") + PageName(page));
  }
  void Quit() override {
    quit = true;
    log.push_back("quit");
  }

 private:
  std::deque<int> queue_;

  void HandleNext() { RunNavigationActions(nav, context, OnNext(nav, context, ReadConnectionChecks()), *this); }
};
