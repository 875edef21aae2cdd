// Linked only with the toolchain's screen-saver library. The system and that library are
// both archives; the linker takes a member only to settle a name already wanted, and
// WinMain is wanted only after both have been passed. Naming the saver's callbacks here
// makes the system's member wanted first, whose call to DefScreenSaverProc then brings in
// the library's member with WinMain.
#include "platform/screen_saver_library.h"

extern "C" {
extern const struct ColorlinesCallbacks {
    LRESULT(WINAPI* saverProc)(HWND, UINT, WPARAM, LPARAM);
    WINBOOL(WINAPI* configureDialog)(HWND, UINT, WPARAM, LPARAM);
    WINBOOL(WINAPI* registerDialogClasses)(HANDLE);
} colorlines_callbacks;
const ColorlinesCallbacks colorlines_callbacks = {ScreenSaverProc, ScreenSaverConfigureDialog,
                                                  RegisterDialogClasses};
}
