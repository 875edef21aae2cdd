// The yardstick for the saver's frame cost under Wine: the same window, the same 10 ms
// timer and the same per-frame GDI work as the saver (a screen-sized bitmap made, cleared,
// 3000 lines of 20 pixels drawn with two pens taking turns, copied to the window and
// released), but no scene. In "timer" mode it only counts the timer ticks, which tells
// how many frames a program can get at all.
//
//   gdi_baseline.exe timer|lines <seconds>
//
// Prints one line: mode, frames, wall seconds, frames per second, CPU seconds of this
// process and CPU milliseconds per frame.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kLines = 3000;
constexpr int kLineLength = 20;

bool g_drawLines = false;
DWORD g_startTick = 0;
DWORD g_endTick = 0;
double g_startCpu = 0.0;
double g_wallSeconds = 0.0;
double g_cpuSeconds = 0.0;
long g_frames = 0;
HPEN g_pens[2] = {nullptr, nullptr};
std::uint32_t g_random = 12345u;
int g_width = 0;
int g_height = 0;

int NextRandom(int below) {
    g_random = g_random * 1664525u + 1013904223u;
    return static_cast<int>((g_random >> 8) % static_cast<std::uint32_t>(below));
}

void DrawFrame(HWND window) {
    HDC windowDc = GetDC(window);
    if (!windowDc) return;
    HBITMAP frame = CreateCompatibleBitmap(windowDc, g_width, g_height);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    if (frame && memoryDc) {
        SelectObject(memoryDc, frame);
        BitBlt(memoryDc, 0, 0, g_width, g_height, nullptr, 0, 0, BLACKNESS);
        for (int i = 0; i < kLines; ++i) {
            SelectObject(memoryDc, g_pens[i & 1]);
            const int x = NextRandom(g_width - kLineLength);
            const int y = NextRandom(g_height - kLineLength);
            MoveToEx(memoryDc, x, y, nullptr);
            // Lines at every angle, 20 pixels long.
            const int dx = NextRandom(kLineLength + 1);
            LineTo(memoryDc, x + dx, y + kLineLength - dx);
        }
        BitBlt(windowDc, 0, 0, g_width, g_height, memoryDc, 0, 0, SRCCOPY);
    }
    if (memoryDc) DeleteDC(memoryDc);
    if (frame) DeleteObject(frame);
    ReleaseDC(window, windowDc);
}

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1.0;
    return Seconds(kernel) + Seconds(user);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        ++g_frames;
        if (g_drawLines) DrawFrame(window);
        if (static_cast<LONG>(GetTickCount() - g_endTick) >= 0) {
            // Taken here: tearing the window down costs Wine a while and is no frame.
            g_wallSeconds = static_cast<double>(GetTickCount() - g_startTick) / 1000.0;
            g_cpuSeconds = CpuSeconds() - g_startCpu;
            DestroyWindow(window);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "timer") != 0 && std::strcmp(argv[1], "lines") != 0)) {
        std::fprintf(stderr, "usage: gdi_baseline timer|lines <seconds>\n");
        return 2;
    }
    g_drawLines = std::strcmp(argv[1], "lines") == 0;
    const int seconds = std::atoi(argv[2]);
    if (seconds <= 0) return 2;

    g_width = GetSystemMetrics(SM_CXSCREEN);
    g_height = GetSystemMetrics(SM_CYSCREEN);
    g_pens[0] = CreatePen(PS_SOLID, 1, RGB(255, 128, 0));
    g_pens[1] = CreatePen(PS_SOLID, 1, RGB(128, 255, 0));

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "ColorlinesGdiBaseline";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "GDI baseline",
                                  WS_POPUP | WS_VISIBLE, 0, 0, g_width, g_height, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;

    g_startCpu = CpuSeconds();
    g_startTick = GetTickCount();
    g_endTick = g_startTick + static_cast<DWORD>(seconds) * 1000u;
    SetTimer(window, 1, 10, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);

    const double wall = g_wallSeconds;
    const double cpu = g_cpuSeconds;
    std::printf("%s frames %ld wall_s %.2f fps %.1f cpu_s %.2f cpu_ms_per_frame %.3f\n", argv[1],
                g_frames, wall, wall > 0 ? g_frames / wall : 0.0, cpu,
                g_frames ? 1000.0 * cpu / g_frames : 0.0);
    DeleteObject(g_pens[0]);
    DeleteObject(g_pens[1]);
    return 0;
}
