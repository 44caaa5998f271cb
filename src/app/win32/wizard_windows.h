#pragma once
// The wizard's windows and the few operations on them. The handles belong to the window system.
#include <windows.h>

#include <string>

#include "app/navigation.h"
#include "app/relabel.h"

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
  HWND currentPage = nullptr;
};

WizardWindows& Windows();

HWND PageWindow(WizardPage page);
HWND WindowFor(WizardWindow window);

void CenterWindow(HWND window);
void ShowPage(HWND page);
HWND CurrentPage();
void CreatePages(HWND mainWindow);
void SetNavButtons(HWND mainWindow, bool prevEnabled);
// Keyboard focus left on a hidden page or a disabled button goes to Next.
void KeepFocusUsable(HWND mainWindow);
void ApplyLanguage(const std::u16string& code);
