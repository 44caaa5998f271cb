#pragma once
#include <windows.h>

INT_PTR CALLBACK LanguagePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ConnectionTypePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NetworkPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK UsbPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SerialPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ParallelPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void FillPortCombo(HWND page, int comboId, const char16_t* fragment);
void RefreshUsbChoices(HWND page);
