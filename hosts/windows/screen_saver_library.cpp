// Our screen-saver library: the program around a saver's callbacks. It reads the command
// line Windows hands a .scr, makes the one window (full screen or inside a preview),
// runs the message loop and wakes the user's desktop on input. Built when the
// toolchain's own library is missing or empty (Debian ships an empty libscrnsave.a).
//
// WinMain lives in the same object as DefScreenSaverProc on purpose: a saver that calls
// DefScreenSaverProc pulls this object, and with it the entry point, out of any archive.
#include <windowsx.h>

#include <cstdint>

#include "hosts/windows/command_line.h"
#include "platform/screen_saver_library.h"

// The library's globals that scrnsave.h declares for savers to read.
extern "C" {
HINSTANCE hMainInstance = nullptr;
HWND hMainWindow = nullptr;
WINBOOL fChildPreview = FALSE;
}

namespace {

// The name Windows itself gives screen-saver windows; tools look for it.
constexpr char kWindowClass[] = "WindowsScreenSaverClass";
constexpr char kWindowTitle[] = "Screen Saver";

// Where the pointer stood when the full-screen window was made. Windows sends a
// WM_MOUSEMOVE when the window appears even though nothing moved; only a different
// position means the user is back.
POINT g_startCursor{};
bool g_startCursorKnown = false;
// Input comes in bursts; one WM_CLOSE is enough.
bool g_closing = false;

LRESULT CALLBACK LibraryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        hMainWindow = window;
        if (!fChildPreview) {
            ShowCursor(FALSE);
            g_startCursorKnown = GetCursorPos(&g_startCursor) != FALSE;
        }
        break;
    case WM_DESTROY:
        // Posted before the saver sees WM_DESTROY so that the loop ends whatever the saver
        // does with the message.
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return ScreenSaverProc(window, message, wParam, lParam);
}

void CloseSaver(HWND window) {
    if (g_closing) return;
    g_closing = true;
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// True when the pointer reported by a WM_MOUSEMOVE stands somewhere else than where it
// stood when the window was made.
bool PointerMoved(HWND window, LPARAM lParam) {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &at);
    if (!g_startCursorKnown) {
        // GetCursorPos can fail (on a secure desktop, say); the first report stands in.
        g_startCursor = at;
        g_startCursorKnown = true;
        return false;
    }
    return at.x != g_startCursor.x || at.y != g_startCursor.y;
}

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = LibraryWindowProc;
    windowClass.hInstance = instance;
    // A saver may carry its icon as resource ID_APP; ours carries none, and no icon is
    // fine for a window that never shows a caption.
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ID_APP));
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

int RunSaverWindow(HINSTANCE instance, HWND previewParent) {
    if (!RegisterWindowClass(instance) || !RegisterDialogClasses(instance)) {
        MessageBoxA(nullptr, "RegisterClasses() failed", kWindowTitle, MB_OK | MB_ICONSTOP);
        return 0;
    }

    HWND window = nullptr;
    if (previewParent) {
        RECT client{};
        GetClientRect(previewParent, &client);
        window = CreateWindowExA(0, kWindowClass, kWindowTitle, WS_CHILD | WS_VISIBLE, 0, 0,
                                 client.right - client.left, client.bottom - client.top,
                                 previewParent, nullptr, instance, nullptr);
    } else {
        window = CreateWindowExA(WS_EX_TOPMOST, kWindowClass, kWindowTitle, WS_POPUP | WS_VISIBLE,
                                 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                 GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance,
                                 nullptr);
    }
    if (!window) return 0;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

// The saver's dialog procedure is declared to return BOOL, a dialog procedure INT_PTR; on
// 64-bit Windows the upper half of the register would be whatever was left there, so the
// call goes through a procedure of the right type instead of a cast.
INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return ScreenSaverConfigureDialog(dialog, message, wParam, lParam);
}

int RunConfigureDialog(HINSTANCE instance) {
    RegisterDialogClasses(instance);
    // Without a dialog template in the saver's resources this fails at once, which is
    // how a saver without settings says it has none.
    DialogBoxParamA(instance, MAKEINTRESOURCEA(DLG_SCRNSAVECONFIGURE), GetForegroundWindow(),
                    ConfigureDialogProc, 0);
    return 0;
}

}  // namespace

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A preview lives and dies with its parent; it takes no input of its own.
    if (fChildPreview) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_MOUSEMOVE:
        if (PointerMoved(window, lParam)) CloseSaver(window);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_XBUTTONDOWN:
        // Not passed on: Alt or F10 would otherwise start menu mode on the way out.
        CloseSaver(window);
        return 0;
    case WM_ACTIVATEAPP:
        if (!wParam) CloseSaver(window);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) CloseSaver(window);
        break;
    case WM_SYSCOMMAND:
        // Already saving: a second saver must not start, and closing is ours to decide.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_CLOSE) return 0;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    hMainInstance = instance;
    const windows_host::SaverCommand command =
        windows_host::ParseSaverCommandLine(arguments ? arguments : "", UINTPTR_MAX);

    switch (command.mode) {
    case windows_host::SaverMode::FullScreen:
        return RunSaverWindow(instance, nullptr);
    case windows_host::SaverMode::Preview: {
        const HWND parent = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(command.window));
        if (!parent || !IsWindow(parent)) return 0;
        fChildPreview = TRUE;
        return RunSaverWindow(instance, parent);
    }
    case windows_host::SaverMode::ChangePassword:
        // Windows NT and later keep the password themselves; there is nothing to do.
        return 0;
    case windows_host::SaverMode::Configure:
        return RunConfigureDialog(instance);
    }
    return 0;
}
