// The stand-in must behave like the platform where the saver relies on it, and must catch
// the misuses that the platform would let pass quietly.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/standin/control.h"
#include "tests/support/standin_faults.h"

namespace {

class GdiObjectsTest : public ::testing::Test {
protected:
    void SetUp() override { before_ = standin::CountLiveObjects(); }
    void TearDown() override {
        const standin::LiveObjects after = standin::CountLiveObjects();
        EXPECT_EQ(after.pens, before_.pens);
        EXPECT_EQ(after.bitmaps, before_.bitmaps);
        EXPECT_EQ(after.deviceContexts, before_.deviceContexts);
    }

private:
    standin::LiveObjects before_;
};

TEST_F(GdiObjectsTest, APenRemembersWhatItWasMadeWith) {
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 128, 0));
    standin::PenInfo info;
    ASSERT_TRUE(standin::DescribePen(pen, info));
    EXPECT_EQ(info.style, PS_SOLID);
    EXPECT_EQ(info.width, 1);
    EXPECT_EQ(info.color, 0x000080FFu);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(standin::DescribePen(pen, info));
}

TEST_F(GdiObjectsTest, MisusesAreFaults) {
    const HPEN pen = CreatePen(PS_SOLID, 1, 0);
    DeleteObject(pen);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HPEN selected = CreatePen(PS_SOLID, 1, 0);
    SelectObject(memory, selected);

    ExpectStandinFaults expect;
    EXPECT_FALSE(DeleteObject(pen));                        // released twice
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(0x7777770)));  // never handed out
    EXPECT_FALSE(DeleteObject(selected));                   // still selected
    EXPECT_FALSE(DeleteObject(memory));                     // a device context
    EXPECT_EQ(ReleaseDC(nullptr, memory), 0);               // a memory device context
    EXPECT_FALSE(DeleteDC(screen));                         // a window's device context
    ASSERT_EQ(expect.faults().size(), 6u);
    EXPECT_NE(expect.faults()[0].find("released already"), std::string::npos);
    EXPECT_NE(expect.faults()[1].find("never handed out"), std::string::npos);

    // Once its device context is gone the pen is selected nowhere and may go.
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_TRUE(DeleteObject(selected));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(GdiObjectsTest, ReleasingNothingIsNoFault) {
    // What a failed creation leaves behind is passed on and released quietly, as on the
    // platform.
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_EQ(ReleaseDC(nullptr, nullptr), 0);
}

TEST_F(GdiObjectsTest, SelectObjectReturnsWhatWasSelectedBefore) {
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP first = CreateCompatibleBitmap(screen, 4, 4);
    const HBITMAP second = CreateCompatibleBitmap(screen, 4, 4);
    const HPEN pen = CreatePen(PS_SOLID, 1, 0);

    const HGDIOBJ stockBitmap = SelectObject(memory, first);
    ASSERT_NE(stockBitmap, nullptr);
    EXPECT_EQ(SelectObject(memory, second), first);
    const HGDIOBJ stockPen = SelectObject(memory, pen);
    ASSERT_NE(stockPen, nullptr);
    EXPECT_EQ(SelectObject(memory, stockPen), pen);
    EXPECT_EQ(SelectObject(screen, first), nullptr) << "a window's device context holds no bitmap";

    // A bitmap sits in one device context at a time.
    const HDC other = CreateCompatibleDC(screen);
    EXPECT_EQ(SelectObject(other, second), nullptr);
    EXPECT_EQ(SelectObject(memory, stockBitmap), second);
    EXPECT_NE(SelectObject(other, second), nullptr);

    DeleteDC(other);
    DeleteDC(memory);
    DeleteObject(first);
    DeleteObject(second);
    DeleteObject(pen);
    ReleaseDC(nullptr, screen);
}

// Two surfaces of known content, copied with every kind of overhang.
class BlitTest : public GdiObjectsTest {
protected:
    void SetUp() override {
        GdiObjectsTest::SetUp();
        screen_ = GetDC(nullptr);
        from_ = MakeCanvas(6, 4, fromBitmap_);
        to_ = MakeCanvas(5, 5, toBitmap_);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                const HPEN pen = pens_.emplace_back(CreatePen(PS_SOLID, 1, RGB(x + 1, y + 1, 0)));
                const HGDIOBJ previous = SelectObject(from_, pen);
                if (!stockPen_) stockPen_ = previous;
                MoveToEx(from_, x, y, nullptr);
                LineTo(from_, x + 1, y);
            }
        }
        SelectObject(from_, stockPen_);
    }
    void TearDown() override {
        DeleteDC(from_);
        DeleteDC(to_);
        DeleteObject(fromBitmap_);
        DeleteObject(toBitmap_);
        for (HPEN pen : pens_) DeleteObject(pen);
        ReleaseDC(nullptr, screen_);
        GdiObjectsTest::TearDown();
    }
    HDC MakeCanvas(int width, int height, HBITMAP& bitmap) {
        const HDC dc = CreateCompatibleDC(screen_);
        bitmap = CreateCompatibleBitmap(screen_, width, height);
        SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, width, height, nullptr, 0, 0, BLACKNESS);
        return dc;
    }
    // The source pixel copied to (x, y), or 0 where nothing may have been copied.
    COLORREF Expected(int x, int y, int dx, int dy, int w, int h, int sx, int sy) {
        if (x < dx || y < dy || x >= dx + w || y >= dy + h) return 0;
        const int fx = x - dx + sx, fy = y - dy + sy;
        if (fx < 0 || fy < 0 || fx >= 6 || fy >= 4) return 0;
        return RGB(fx + 1, fy + 1, 0);
    }

    HDC screen_ = nullptr, from_ = nullptr, to_ = nullptr;
    HBITMAP fromBitmap_ = nullptr, toBitmap_ = nullptr;
    HGDIOBJ stockPen_ = nullptr;
    std::vector<HPEN> pens_;
};

TEST_F(BlitTest, CopiesOnlyWhereBothSurfacesHavePixels) {
    struct Case {
        int dx, dy, w, h, sx, sy;
    };
    for (const Case c : {Case{0, 0, 5, 5, 0, 0}, Case{-2, 1, 9, 9, 0, 0}, Case{1, 1, 3, 2, 4, 3},
                         Case{2, -1, 4, 4, -1, 2}, Case{0, 0, 100000, 100000, -50000, -50000},
                         Case{0, 0, -3, 4, 0, 0}}) {
        BitBlt(to_, 0, 0, 5, 5, nullptr, 0, 0, BLACKNESS);
        EXPECT_TRUE(BitBlt(to_, c.dx, c.dy, c.w, c.h, from_, c.sx, c.sy, SRCCOPY));
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                ASSERT_EQ(GetPixel(to_, x, y), Expected(x, y, c.dx, c.dy, c.w, c.h, c.sx, c.sy))
                    << "case " << c.dx << "," << c.dy << " " << c.w << "x" << c.h << " from "
                    << c.sx << "," << c.sy << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(GetPixel(to_, 5, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(to_, 0, -1), CLR_INVALID);
}

TEST_F(BlitTest, BlacknessClearsTheClippedRectangleOnly) {
    BitBlt(to_, 0, 0, 5, 5, from_, 0, 0, SRCCOPY);
    EXPECT_TRUE(BitBlt(to_, 3, -10, 1000, 12, nullptr, 0, 0, BLACKNESS));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool cleared = x >= 3 && y < 2;
            ASSERT_EQ(GetPixel(to_, x, y), cleared ? 0 : Expected(x, y, 0, 0, 5, 5, 0, 0)) << x << "," << y;
        }
    }
}

}  // namespace
