#include <climits>
#include <limits>
#include <vector>

#include "scene/device_coordinate.h"
#include "tests/scene/scene_fixture.h"

namespace {

using Call = standin::DrawingCall;
using Kind = standin::DrawingCall::Kind;

// A small memory device context with a black bitmap, as the frame loop hands Render.
class Canvas {
public:
    Canvas(int width, int height)
        : screen_(GetDC(nullptr)),
          dc_(CreateCompatibleDC(screen_)),
          bitmap_(CreateCompatibleBitmap(screen_, width, height)) {
        SelectObject(dc_, bitmap_);
        BitBlt(dc_, 0, 0, width, height, nullptr, 0, 0, BLACKNESS);
    }
    ~Canvas() {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
        ReleaseDC(nullptr, screen_);
    }
    HDC& dc() { return dc_; }
    COLORREF at(int x, int y) { return GetPixel(dc_, x, y); }

private:
    HDC screen_;
    HDC dc_;
    HBITMAP bitmap_;
};

using RenderTest = SceneTest;

TEST_F(RenderTest, NothingShownMakesNoCallAndKeepsTheDevicesPen) {
    scene.Init();
    Canvas canvas(8, 8);
    standin::StartRecordingDrawingCalls();
    scene.Render(canvas.dc());
    EXPECT_TRUE(standin::StopRecordingDrawingCalls().empty());
    EXPECT_EQ(standin::SelectedPen(canvas.dc()), nullptr);
}

TEST_F(RenderTest, OneShownLineIsSixCallsInOrderLeavingPenBSelected) {
    scene.Init();
    StepAfter(7001);  // two pens of their own
    scene.shownLines = 1;
    scene.headsA[0] = Particle(12.9f, -0.7f, 1);
    scene.tailsA[0] = Particle(-1.5f, 3.99f, 1);
    scene.headsB[0] = Particle(5, 6, 1);
    scene.tailsB[0] = Particle(5, 6, 1);  // zero length: still moved to and drawn
    Canvas canvas(8, 8);
    HDC dc = canvas.dc();
    standin::StartRecordingDrawingCalls();
    scene.Render(canvas.dc());
    const std::vector<Call> expected = {
        {Kind::SelectObject, dc, scene.penA, 0, 0}, {Kind::MoveToEx, dc, nullptr, 12, 0},
        {Kind::LineTo, dc, nullptr, -1, 3},         {Kind::SelectObject, dc, scene.penB, 0, 0},
        {Kind::MoveToEx, dc, nullptr, 5, 6},        {Kind::LineTo, dc, nullptr, 5, 6}};
    EXPECT_EQ(standin::StopRecordingDrawingCalls(), expected);
    EXPECT_EQ(standin::SelectedPen(canvas.dc()), scene.penB);
    EXPECT_EQ(canvas.dc(), dc) << "Render must not change the handle";
}

TEST_F(RenderTest, TheSharedGreenPenIsStillSelectedTwicePerIndex) {
    scene.Init();
    scene.shownLines = 3;
    Canvas canvas(8, 8);
    standin::StartRecordingDrawingCalls();
    scene.Render(canvas.dc());
    int selections = 0;
    for (const Call& call : standin::StopRecordingDrawingCalls()) {
        if (call.kind == Kind::SelectObject) {
            ++selections;
            EXPECT_EQ(call.object, scene.penA);
        }
    }
    EXPECT_EQ(selections, 6);
}

TEST_F(RenderTest, ALineDrawnLaterCoversTheLinesBeforeIt) {
    WIN_WIDTH = 20;
    WIN_HEIGHT = 20;
    scene.Init();
    StepAfter(7001);
    scene.shownLines = 5;
    for (int i = 0; i < 5; ++i) {  // lines 0 to 2 out of the way, at zero length
        scene.headsA[i] = scene.tailsA[i] = scene.headsB[i] = scene.tailsB[i] = Particle(0, 19, 1);
    }
    scene.headsA[3] = Particle(0, 10, 1);  // A3 across row 10
    scene.tailsA[3] = Particle(20, 10, 1);
    scene.headsB[3] = Particle(10, 0, 1);  // B3 down column 10
    scene.tailsB[3] = Particle(10, 20, 1);
    scene.headsA[4] = Particle(0, 5, 1);   // A4 across row 5
    scene.tailsA[4] = Particle(20, 5, 1);
    Canvas canvas(20, 20);
    scene.Render(canvas.dc());

    standin::PenInfo a, b;
    ASSERT_TRUE(standin::DescribePen(scene.penA, a));
    ASSERT_TRUE(standin::DescribePen(scene.penB, b));
    ASSERT_NE(a.color, b.color);
    EXPECT_EQ(canvas.at(10, 5), a.color) << "A line 4 is drawn after B line 3";
    EXPECT_EQ(canvas.at(10, 10), b.color) << "B line 3 is drawn after A line 3";
    EXPECT_EQ(canvas.at(3, 10), a.color);
    EXPECT_EQ(canvas.at(10, 15), b.color);
    EXPECT_EQ(canvas.at(3, 3), 0u);
}

struct CoordinateCase {
    float value;
    int device;
};

class DeviceCoordinateTest : public ::testing::TestWithParam<CoordinateCase> {};

TEST_P(DeviceCoordinateTest, TruncatesTowardZeroAndSaturatesBeyondTheIntRange) {
    EXPECT_EQ(ToDeviceCoordinate(GetParam().value), GetParam().device);
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, DeviceCoordinateTest,
    ::testing::Values(CoordinateCase{12.9f, 12}, CoordinateCase{-0.7f, 0},
                      CoordinateCase{-1.5f, -1}, CoordinateCase{3.99f, 3},
                      CoordinateCase{2147483520.0f, 2147483520},  // the largest float below 2^31
                      CoordinateCase{-2147483648.0f, INT_MIN}, CoordinateCase{2147483648.0f, INT_MAX},
                      CoordinateCase{-2147483904.0f, INT_MIN}, CoordinateCase{3e9f, INT_MAX},
                      CoordinateCase{-1e30f, INT_MIN}, CoordinateCase{kInf, INT_MAX},
                      CoordinateCase{-kInf, INT_MIN},
                      CoordinateCase{std::numeric_limits<float>::quiet_NaN(), 0}));

}  // namespace
