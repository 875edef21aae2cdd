// Plays the display control panel for the preview test: makes a window, starts the saver
// with "/p <that window>", checks the child the saver puts into it, and destroys the
// window once the test script has looked at the screen.
//
//   preview_parent.exe <saver.scr> <stop file>
//
// Prints "ready <x> <y> <width> <height>" (the parent's client area on the screen) when the
// child is in place, then waits for the stop file to exist. Each check prints one
// "check <name>: ok|FAIL ..." line; the exit code is 0 only when all passed.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 450;
constexpr DWORD kChildTimeoutMs = 20000;
constexpr DWORD kStopTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 15000;

int g_failures = 0;

void Check(const char* name, bool passed, const std::string& detail = {}) {
    std::printf("check %s: %s%s%s\n", name, passed ? "ok" : "FAIL", detail.empty() ? "" : " ",
                detail.c_str());
    std::fflush(stdout);
    if (!passed) ++g_failures;
}

// Keeps the parent responsive while waiting; a cross-process child is created and
// destroyed through messages to the parent's thread.
void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

HWND MakeParent(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // White, so that any part of the client area the child does not cover shows.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "ColorlinesPreviewParent";
    if (!RegisterClassA(&windowClass)) return nullptr;

    // A frame and caption, so that the window's size and its client size differ.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    HWND parent = CreateWindowExA(0, windowClass.lpszClassName, "Preview parent", style, 40, 60,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance, nullptr);
    if (parent) {
        ShowWindow(parent, SW_SHOWNORMAL);
        UpdateWindow(parent);
    }
    return parent;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: preview_parent <saver.scr> <stop file>\n");
        return 2;
    }
    const char* saverPath = argv[1];
    const char* stopFile = argv[2];

    HWND parent = MakeParent(GetModuleHandleA(nullptr));
    Check("parent-created", parent != nullptr);
    if (!parent) return 1;
    PumpFor(200);

    std::string commandLine = "\"" + std::string(saverPath) + "\" /p " +
                              std::to_string(reinterpret_cast<std::uintptr_t>(parent));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver{};
    const bool started = CreateProcessA(saverPath, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &saver) != FALSE;
    Check("saver-started", started, commandLine);
    if (!started) return 1;

    HWND child = nullptr;
    for (DWORD waited = 0; waited < kChildTimeoutMs && !child; waited += 50) {
        PumpFor(50);
        child = GetWindow(parent, GW_CHILD);
    }
    Check("child-appeared", child != nullptr);

    if (child) {
        Check("one-child", GetWindow(child, GW_HWNDNEXT) == nullptr);
        DWORD owner = 0;
        GetWindowThreadProcessId(child, &owner);
        Check("child-belongs-to-saver", owner == saver.dwProcessId);
        Check("child-visible", IsWindowVisible(child) != FALSE);

        RECT parentClient{};
        GetClientRect(parent, &parentClient);
        RECT childRect{};
        GetWindowRect(child, &childRect);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&childRect), 2);
        char detail[160];
        std::snprintf(detail, sizeof detail, "child (%ld,%ld)-(%ld,%ld), parent client %ldx%ld",
                      childRect.left, childRect.top, childRect.right, childRect.bottom,
                      parentClient.right, parentClient.bottom);
        Check("child-fills-client", childRect.left == 0 && childRect.top == 0 &&
                                        childRect.right == parentClient.right &&
                                        childRect.bottom == parentClient.bottom &&
                                        parentClient.right == kClientWidth &&
                                        parentClient.bottom == kClientHeight,
              detail);

        POINT origin{0, 0};
        ClientToScreen(parent, &origin);
        std::printf("ready %ld %ld %d %d\n", origin.x, origin.y, kClientWidth, kClientHeight);
        std::fflush(stdout);

        DWORD waited = 0;
        while (!FileExists(stopFile) && waited < kStopTimeoutMs) {
            PumpFor(50);
            waited += 50;
        }
        Check("told-to-stop", FileExists(stopFile));
    }

    // The control panel ends a preview by destroying the window it lent; the saver must
    // notice and end by itself.
    DestroyWindow(parent);
    DWORD waited = 0;
    while (WaitForSingleObject(saver.hProcess, 0) == WAIT_TIMEOUT && waited < kExitTimeoutMs) {
        PumpFor(50);
        waited += 50;
    }
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(saver.hProcess, &exitCode);
    Check("saver-ended-with-parent", exitCode != STILL_ACTIVE,
          "after " + std::to_string(waited) + " ms");
    if (exitCode == STILL_ACTIVE) {
        TerminateProcess(saver.hProcess, 1);
    } else {
        Check("saver-exit-code-0", exitCode == 0, "exit code " + std::to_string(exitCode));
    }
    CloseHandle(saver.hThread);
    CloseHandle(saver.hProcess);
    return g_failures == 0 ? 0 : 1;
}
