// What drawing costs: Render of all 2 x 1500 lines, and one whole frame as the saver makes
// it (step, make bitmap, clear, render, copy to the window, release) beside the floor that
// no frame of this size can beat: one memset of the frame plus one memcpy of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/scene_setup.h"
#include "platform/screen_saver_library.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void BM_Render(benchmark::State& state) {
    ColorLines scene;
    SetUpBenchScene(scene, 0.13f);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP frame = CreateCompatibleBitmap(screen, kWidth, kHeight);
    SelectObject(dc, frame);
    for (auto _ : state) scene.Render(dc);
    DeleteDC(dc);
    DeleteObject(frame);
    ReleaseDC(nullptr, screen);
    scene.Clean();
}
BENCHMARK(BM_Render);

void BM_WholeFrame(benchmark::State& state) {
    WIN_WIDTH = kWidth;
    WIN_HEIGHT = kHeight;
    standin::SetTickCount(1);  // never reaches a re-targeting: every frame does the same work
    std::vector<std::uint32_t> window(std::size_t(kWidth) * kHeight);
    HWND hwnd = standin::CreateWindowHandle({window.data(), kWidth, kHeight, kWidth}, nullptr);
    ScreenSaverProc(hwnd, WM_CREATE, 0, 0);
    for (int frame = 0; frame < 1500; ++frame) ScreenSaverProc(hwnd, WM_TIMER, 1, 0);
    for (auto _ : state) {
        ScreenSaverProc(hwnd, WM_TIMER, 1, 0);
        benchmark::DoNotOptimize(window.data());
    }
    ScreenSaverProc(hwnd, WM_DESTROY, 0, 0);
    standin::DestroyWindowHandle(hwnd);
}
BENCHMARK(BM_WholeFrame)->Unit(benchmark::kMillisecond);

void BM_FrameFloor(benchmark::State& state) {
    const std::size_t pixels = std::size_t(kWidth) * kHeight;
    std::vector<std::uint32_t> frame(pixels), window(pixels);
    for (auto _ : state) {
        std::memset(frame.data(), 0, pixels * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
        std::memcpy(window.data(), frame.data(), pixels * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(window.data());
    }
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMillisecond);

}  // namespace
