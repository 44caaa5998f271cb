#pragma once
// The wizard's windows and the few operations on them. The handles belong to the window system.
#include <windows.h>

#include <string>

#include "app/navigation.h"
#include "app/relabel.h"
#include "config/install_context.h"

struct WizardWindows {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HWND pageArea = nullptr;
  HWND languagePage = nullptr;
  HWND connectionTypePage = nullptr;
  HWND networkPage = nullptr;
  HWND usbPage = nullptr;
  HWND serialPage = nullptr;
  HWND parallelPage = nullptr;
};

// The field that holds a page's window, and its value.
HWND& PageSlot(WizardWindows& windows, WizardPage page);
HWND PageWindow(const WizardWindows& windows, WizardPage page);
HWND WindowFor(const WizardWindows& windows, WizardWindow window);

void CenterWindow(HWND window);
void ShowPage(const WizardWindows& windows, HWND page);
void SetNavButtons(HWND mainWindow, bool prevEnabled);
// Keyboard focus left on a hidden page or a disabled button goes to Next.
void KeepFocusUsable(HWND mainWindow);
// Selects the language and relabels every control that follows it.
void ApplyLanguage(const WizardWindows& windows, InstallContext& context, const std::u16string& code);
