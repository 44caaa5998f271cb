#pragma once
// The wizard's window for one run, made by the entry from the run's start: where the navigation
// stands, the windows, and how the run ends. The dialog procedures reach it through their
// window's DWLP_USER and forward to it.
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

  // The wizard a main or page dialog was created for.
  static Wizard* Of(HWND dialog);
  // Records the wizard passed as a dialog's creation parameter, for Of.
  static Wizard* Attach(HWND dialog, LPARAM parameter);

  InstallContext& Context() { return context_; }
  WizardWindows& Windows() { return windows_; }
  AppServices& Services() { return services_; }
  // The spooler's ports as read once for all pages made at start; null afterwards, when a
  // refresh reads them again.
  PortSnapshot* StartPorts() { return startPorts_.get(); }

  // The main dialog's initialisation and its commands (true when handled).
  void Initialise(HWND mainWindow);
  bool OnCommand(int command);

  // The window's side of the navigation's actions.
  void ShowPage(WizardPage page) override;
  void SetPrevEnabled(bool enabled) override;
  void SetCheck(WizardPage page, int buttonId, bool checked) override;
  void ApplyLanguage(int buttonId, const std::u16string& code) override;
  ConnectionChecks ReadConnectionChecks() override;
  void QueueNext() override;
  void RunInstallRoad(WizardPage page) override;
  void Quit() override;

 private:
  void CarryOut(const NavActions& actions);
  std::u16string ReadRoadText(WizardPage page);

  RunStart& start_;
  InstallContext& context_;
  AppServices& services_;
  WizardNavigation navigation_;
  WizardWindows windows_;
  std::unique_ptr<PortSnapshot> startPorts_;
  bool roadRan_ = false;
  RoadEnd roadEnd_ = RoadEnd::Stay;
  // While a road runs (its boxes and tools have loops of their own) and once it has ended, Next,
  // Prev and close are ignored: a second road would install a second printer, and a close would
  // report the run as not installed.
  bool roadBusy_ = false;
};

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
