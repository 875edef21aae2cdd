#pragma once
// The screen-saver library's callbacks as the stand-in declares them. The saver defines
// the first three; DefScreenSaverProc hands a message to the default procedure that the
// host gave the window (see standin::CreateWindowHandle).
#include "platform/standin/win32.h"

extern "C" {
LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI RegisterDialogClasses(HANDLE instance);
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
}
