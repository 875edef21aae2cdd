#pragma once
// The part of the Win32 API that the system and its Linux hosts use, declared by us and
// implemented by the stand-in. Names, types and constant values are those the platform
// documents, so the same code compiles against this and against <windows.h>.
#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using LONG = std::int32_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using COLORREF = DWORD;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// Handles are opaque: the stand-in hands out numbers that it never reuses, so that a
// released or made-up handle is told apart from a live one.
struct StandinWindow;
struct StandinDeviceContext;
struct StandinPen;
struct StandinBitmap;
struct StandinInstance;
using HANDLE = void*;
using HGDIOBJ = void*;
using HWND = StandinWindow*;
using HDC = StandinDeviceContext*;
using HPEN = StandinPen*;
using HBITMAP = StandinBitmap*;
using HINSTANCE = StandinInstance*;

struct POINT {
    LONG x;
    LONG y;
};
using LPPOINT = POINT*;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
    return COLORREF(red) | COLORREF(green) << 8 | COLORREF(blue) << 16;
}
constexpr BYTE GetRValue(COLORREF color) { return BYTE(color); }
constexpr BYTE GetGValue(COLORREF color) { return BYTE(color >> 8); }
constexpr BYTE GetBValue(COLORREF color) { return BYTE(color >> 16); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Window messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_MBUTTONDOWN = 0x0207;

// Screen metrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// Pens and raster operations.
constexpr int PS_SOLID = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BLACKNESS = 0x00000042;

using TIMERPROC = void(CALLBACK*)(HWND, UINT, UINT_PTR, DWORD);
using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

// Kernel and C-runtime-adjacent.
DWORD WINAPI GetTickCount();

// Window manager.
int WINAPI GetSystemMetrics(int index);
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure);
BOOL WINAPI KillTimer(HWND window, UINT_PTR id);

// Graphics.
HPEN WINAPI CreatePen(int style, int width, COLORREF color);
HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height);
HDC WINAPI CreateCompatibleDC(HDC dc);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
BOOL WINAPI DeleteDC(HDC dc);
BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL WINAPI LineTo(HDC dc, int x, int y);
BOOL WINAPI BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rasterOperation);
COLORREF WINAPI GetPixel(HDC dc, int x, int y);
