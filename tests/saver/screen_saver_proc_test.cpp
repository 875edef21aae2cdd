#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/screen_saver_library.h"
#include "platform/standin/control.h"
#include "scene/screen_extent.h"

namespace {

constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kMarker = 0x123456;

struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Message> defaultMessages;

LRESULT CALLBACK RecordingDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    defaultMessages.push_back({window, message, wParam, lParam});
    return 4242;
}

// A window as a host makes it: pixels of its own (filled with a marker, with a margin of
// marker pixels to the right of every row that no copy may touch) and a default
// procedure that records what reaches it.
class TestWindow {
public:
    TestWindow(int width, int height, int margin = 0)
        : width_(width), height_(height), stride_(width + margin),
          pixels_(std::size_t(stride_) * height, kMarker),
          handle_(standin::CreateWindowHandle({pixels_.data(), width, height, stride_}, &RecordingDefault)) {}
    ~TestWindow() { standin::DestroyWindowHandle(handle_); }

    HWND handle() const { return handle_; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ScreenSaverProc(handle_, message, wParam, lParam);
    }
    std::uint32_t at(int x, int y) const { return pixels_[std::size_t(y) * stride_ + x]; }
    void Fill(std::uint32_t pixel) { std::fill(pixels_.begin(), pixels_.end(), pixel); }
    bool MarginUntouched() const {
        for (int y = 0; y < height_; ++y) {
            for (int x = width_; x < stride_; ++x) {
                if (at(x, y) != kMarker) return false;
            }
        }
        return true;
    }
    int Count(std::uint32_t pixel) const {
        int count = 0;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) count += at(x, y) == pixel;
        }
        return count;
    }

private:
    int width_, height_, stride_;
    std::vector<std::uint32_t> pixels_;
    HWND handle_;
};

class ScreenSaverProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        WIN_WIDTH = 160;
        WIN_HEIGHT = 120;
        standin::SetTickCount(77777);
        defaultMessages.clear();
        before_ = standin::CountLiveObjects();
    }
    void TearDown() override {
        const standin::LiveObjects after = standin::CountLiveObjects();
        EXPECT_EQ(after.pens, before_.pens);
        EXPECT_EQ(after.bitmaps, before_.bitmaps);
        EXPECT_EQ(after.deviceContexts, before_.deviceContexts);
    }
    // Everything alive beyond what the test started with.
    standin::LiveObjects Extra() const {
        const standin::LiveObjects now = standin::CountLiveObjects();
        return {now.pens - before_.pens, now.bitmaps - before_.bitmaps,
                now.deviceContexts - before_.deviceContexts, now.windows - before_.windows};
    }

private:
    standin::LiveObjects before_;
};

TEST_F(ScreenSaverProcTest, CreateStartsTheTimerAndEachTickDrawsAWholeFrame) {
    TestWindow window(160, 120);
    EXPECT_EQ(window.Send(WM_CREATE), 0);
    EXPECT_EQ(standin::TimerPeriod(window.handle()), 10u);
    EXPECT_EQ(standin::TimerId(window.handle()), 1u);
    EXPECT_EQ(Extra().pens, 1);

    // Any timer id yields a frame: the first one already shows the scene after one step.
    EXPECT_EQ(window.Send(WM_TIMER, 99), 0);
    EXPECT_EQ(window.Count(kMarker), 0) << "the whole window is covered by the frame";
    for (int frame = 0; frame < 60; ++frame) window.Send(WM_TIMER, 1);
    EXPECT_GT(window.Count(kGreen), 0);
    EXPECT_EQ(window.Count(kGreen) + window.Count(0), 160 * 120) << "only black and green";
    EXPECT_EQ(Extra().bitmaps, 0);
    EXPECT_EQ(Extra().deviceContexts, 0);
    EXPECT_TRUE(defaultMessages.empty());

    EXPECT_EQ(window.Send(WM_DESTROY), 0);
    EXPECT_EQ(standin::TimerPeriod(window.handle()), 0u);
    EXPECT_EQ(Extra().pens, 0);
}

TEST_F(ScreenSaverProcTest, OtherMessagesGoToTheDefaultProcedureUnchanged) {
    TestWindow window(16, 12);
    // Before WM_CREATE too: the scene is built on the first message, drawn on none.
    EXPECT_EQ(window.Send(WM_SETCURSOR, 3, 4), 4242);
    EXPECT_EQ(window.Send(WM_PAINT), 4242);
    EXPECT_EQ(window.Send(WM_CLOSE, 5, -6), 4242);
    EXPECT_EQ(window.Send(WM_KEYDOWN, 65), 4242);
    ASSERT_EQ(defaultMessages.size(), 4u);
    EXPECT_EQ(defaultMessages[0].message, WM_SETCURSOR);
    EXPECT_EQ(defaultMessages[0].wParam, 3u);
    EXPECT_EQ(defaultMessages[0].lParam, 4);
    EXPECT_EQ(defaultMessages[2].lParam, -6);
    EXPECT_EQ(defaultMessages[3].window, window.handle());
    EXPECT_EQ(window.Count(kMarker), 16 * 12);
}

TEST_F(ScreenSaverProcTest, EraseBackgroundTouchesNothing) {
    TestWindow window(16, 12);
    window.Send(WM_CREATE);
    EXPECT_EQ(window.Send(WM_ERASEBKGND), 0);
    EXPECT_EQ(window.Count(kMarker), 16 * 12);
    EXPECT_TRUE(defaultMessages.empty());
    window.Send(WM_DESTROY);
}

TEST_F(ScreenSaverProcTest, DestroyThenCreateSetsTheSceneUpAfresh) {
    TestWindow window(160, 120);
    window.Send(WM_CREATE);
    for (int frame = 0; frame < 20; ++frame) window.Send(WM_TIMER, 1);
    window.Send(WM_DESTROY);
    EXPECT_EQ(Extra().pens, 0);

    window.Send(WM_CREATE);
    EXPECT_EQ(Extra().pens, 1);
    window.Send(WM_TIMER, 1);
    // One step after set-up shows exactly one line per swarm: at most 2 x 20-odd pixels.
    EXPECT_LE(window.Count(kGreen), 2);
    window.Send(WM_DESTROY);
}

// The preview window is far smaller than the screen; the frame keeps the screen's size and
// lands at the window's origin, so the preview shows the top-left of the full picture.
TEST_F(ScreenSaverProcTest, APreviewShowsTheTopLeftOfTheFullFrame) {
    TestWindow full(160, 120);
    full.Send(WM_CREATE);  // the same tick count gives the same seed, so the same scene
    for (int frame = 0; frame < 300; ++frame) full.Send(WM_TIMER, 1);
    full.Send(WM_DESTROY);

    TestWindow preview(40, 30, 8);
    preview.Send(WM_CREATE);
    for (int frame = 0; frame < 300; ++frame) preview.Send(WM_TIMER, 1);
    preview.Send(WM_DESTROY);

    ASSERT_GT(full.Count(kGreen), 0);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) ASSERT_EQ(preview.at(x, y), full.at(x, y)) << x << ", " << y;
    }
    EXPECT_TRUE(preview.MarginUntouched()) << "the copy must be clipped to the window";
}

std::string FailingCall(const ::testing::TestParamInfo<standin::Failure>& info) {
    switch (info.param) {
    case standin::Failure::GetDC: return "GetDC";
    case standin::Failure::CreateCompatibleBitmap: return "CreateCompatibleBitmap";
    case standin::Failure::CreateCompatibleDC: return "CreateCompatibleDC";
    case standin::Failure::CreatePen: return "CreatePen";
    }
    return "unknown";
}

class LostFrameTest : public ScreenSaverProcTest,
                      public ::testing::WithParamInterface<standin::Failure> {};

TEST_P(LostFrameTest, AFailedObjectLosesOneFrameAndReleasesWhatWasMade) {
    TestWindow window(160, 120);
    window.Send(WM_CREATE);
    for (int frame = 0; frame < 30; ++frame) window.Send(WM_TIMER, 1);
    window.Fill(kMarker);

    standin::FailNext(GetParam());
    window.Send(WM_TIMER, 1);
    EXPECT_EQ(window.Count(kMarker), 160 * 120) << "a lost frame must not reach the window";
    EXPECT_EQ(Extra().bitmaps, 0);
    EXPECT_EQ(Extra().deviceContexts, 0);

    window.Send(WM_TIMER, 1);
    EXPECT_EQ(window.Count(kMarker), 0);
    EXPECT_GT(window.Count(kGreen), 0);
    window.Send(WM_DESTROY);
}

INSTANTIATE_TEST_SUITE_P(Failures, LostFrameTest,
                         ::testing::Values(standin::Failure::GetDC,
                                           standin::Failure::CreateCompatibleBitmap,
                                           standin::Failure::CreateCompatibleDC),
                         FailingCall);

TEST_F(ScreenSaverProcTest, AfterManyFramesOnlyTheScenesPensLive) {
    TestWindow window(160, 120);
    window.Send(WM_CREATE);
    for (int frame = 0; frame < 5000; ++frame) {
        standin::AdvanceTickCount(10);
        window.Send(WM_TIMER, 1);
        if (frame >= 999 && frame % 500 == 499) {
            const standin::LiveObjects extra = Extra();
            ASSERT_EQ(extra.bitmaps, 0);
            ASSERT_EQ(extra.deviceContexts, 0);
            ASSERT_EQ(extra.pens, 2) << "past the first re-targeting each swarm has its pen";
        }
    }
    window.Send(WM_DESTROY);
    EXPECT_EQ(Extra().pens, 0);
}

}  // namespace
