#pragma once
// The wizard's window for one run, made by the entry from the run's start: where the navigation
// stands, the windows, and how the run ends. The main dialog's and the pages' procedures find it
// through their window's DWLP_USER and forward to it.
#include <windows.h>

#include <memory>

#include "app/install_road.h"
#include "app/navigation.h"
#include "app/start_up.h"
#include "app/win32/app_services.h"
#include "app/win32/wizard_windows.h"
#include "usb/port_names.h"

class Wizard : public NavigationHost {
 public:
  // start and services: the run's, made once by the entry; both outlive the wizard.
  Wizard(HINSTANCE instance, RunStart& start, AppServices& services);
  Wizard(const Wizard&) = delete;
  Wizard& operator=(const Wizard&) = delete;

  // Creates the main window and runs the message loop until the run ends; the exit code.
  int Run();

 private:
  // What a page's procedure is given at its creation.
  struct PageCreation {
    Wizard* wizard;
    WizardPage page;
  };

  static INT_PTR CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The one procedure of the six pages.
  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static Wizard* Of(HWND dialog);
  static void Attach(HWND dialog, Wizard* wizard);

  // The main dialog: its initialisation (the window's start-up), its commands (true when
  // handled), and its end.
  void Initialise(HWND mainWindow);
  bool OnCommand(int command);
  void OnDestroy();

  // The pages (page_procs.cpp).
  void CreatePages();
  void InitialisePage(WizardPage page, HWND window);
  bool OnPageCommand(HWND page, int command);
  void FillPortCombo(HWND page, int comboId, const char16_t* fragment);
  void RefreshUsbChoices(HWND page);
  // The ports as read once for all pages made at start, else a fresh read kept in fresh.
  PortSnapshot& Ports(std::unique_ptr<PortSnapshot>& fresh);

  // The window's side of the navigation's actions.
  void ShowPage(WizardPage page) override;
  void SetPrevEnabled(bool enabled) override;
  void SetCheck(WizardPage page, int buttonId, bool checked) override;
  void ApplyLanguage(int buttonId, const std::u16string& code) override;
  ConnectionChecks ReadConnectionChecks() override;
  void QueueNext() override;
  void RunInstallRoad(WizardPage page) override;
  void Quit() override;

  void CarryOut(const NavActions& actions);
  std::u16string ReadRoadText(WizardPage page);

  RunStart& start_;
  InstallContext& context_;
  AppServices& services_;
  WizardNavigation navigation_;
  WizardWindows windows_;
  // The spooler's ports while the pages are made at start; null afterwards, when a refresh reads
  // them again.
  std::unique_ptr<PortSnapshot> startPorts_;
  bool arm64Refused_ = false;
  bool roadRan_ = false;
  RoadEnd roadEnd_ = RoadEnd::Stay;
  // While a road runs (its boxes and tools have loops of their own) and once it has ended, Next,
  // Prev and close are ignored: a second road would install a second printer, and a close would
  // report the run as not installed.
  bool roadBusy_ = false;
  // Set once the quit message is posted: a window destroyed before that still ends the loop.
  bool quitPosted_ = false;
};
