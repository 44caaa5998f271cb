#pragma once
// The six pages' dialog procedures; each is created with its Wizard as creation parameter.
#include <windows.h>

INT_PTR CALLBACK LanguagePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ConnectionTypePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NetworkPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK UsbPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SerialPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ParallelPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
