#pragma once
// A scene on a known screen with a clock that moves only when told, and a check that
// every test leaves as many pens alive as it found.
#include <gtest/gtest.h>

#include "platform/standin/control.h"
#include "scene/color_lines.h"
#include "scene/screen_extent.h"

class SceneTest : public ::testing::Test {
protected:
    static constexpr DWORD kStart = 1'000'000;

    void SetUp() override {
        savedWidth_ = WIN_WIDTH;
        savedHeight_ = WIN_HEIGHT;
        WIN_WIDTH = 1920;
        WIN_HEIGHT = 1080;
        standin::SetTickCount(kStart);
        pensBefore_ = standin::CountLiveObjects().pens;
    }

    void TearDown() override {
        scene.Clean();
        EXPECT_EQ(standin::CountLiveObjects().pens, pensBefore_) << "the scene leaked a pen";
        WIN_WIDTH = savedWidth_;
        WIN_HEIGHT = savedHeight_;
    }

    int LivePens() const { return standin::CountLiveObjects().pens - pensBefore_; }

    // Steps once `elapsed` milliseconds after the last re-targeting, so that the time
    // test certainly fires (over 7000) or certainly does not (4000 or less).
    void StepAfter(DWORD elapsed) {
        standin::SetTickCount(scene.lastChange + elapsed);
        scene.Update();
    }

    static standin::PenInfo Describe(HPEN pen) {
        standin::PenInfo info;
        EXPECT_TRUE(standin::DescribePen(pen, info)) << "not a live pen";
        return info;
    }

    ColorLines scene;

private:
    int savedWidth_ = 0;
    int savedHeight_ = 0;
    int pensBefore_ = 0;
};
