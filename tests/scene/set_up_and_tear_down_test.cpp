#include <cmath>

#include "tests/scene/scene_fixture.h"
#include "tests/support/random_draws.h"

namespace {

using SetUpTest = SceneTest;

TEST_F(SetUpTest, InitPutsEveryLineZeroLengthOnARandomWholePixel) {
    scene.Init();
    EXPECT_EQ(scene.lineCount, 1500);
    EXPECT_EQ(scene.chaseDistance, 20);
    EXPECT_EQ(scene.shownLines, 0);
    EXPECT_EQ(scene.turnDivisor, 1.0f);
    ASSERT_EQ(scene.headsA.size(), 1500u);
    ASSERT_EQ(scene.tailsA.size(), 1500u);
    ASSERT_EQ(scene.headsB.size(), 1500u);
    ASSERT_EQ(scene.tailsB.size(), 1500u);
    for (int i = 0; i < 1500; ++i) {
        const Particle& p = scene.headsA[i];
        for (const Particle* q : {&scene.tailsA[i], &scene.headsB[i], &scene.tailsB[i]}) {
            ASSERT_EQ(q->x, p.x);
            ASSERT_EQ(q->y, p.y);
            ASSERT_EQ(q->speed, 1.0f);
        }
        ASSERT_EQ(p.speed, 1.0f);
        ASSERT_EQ(p.x, std::floor(p.x));
        ASSERT_EQ(p.y, std::floor(p.y));
        ASSERT_TRUE(p.x >= 0 && p.x < 1920 && p.y >= 0 && p.y < 1080) << p.x << ", " << p.y;
    }
    for (const Particle* centre : {&scene.centerA, &scene.centerB}) {
        EXPECT_EQ(centre->x, 960.0f);
        EXPECT_EQ(centre->y, 540.0f);
        EXPECT_EQ(centre->speed, 3.0f);
    }
}

TEST_F(SetUpTest, BothSwarmsShareOneGreenPenUntilTheFirstRetargeting) {
    scene.Init();
    EXPECT_EQ(scene.penA, scene.penB);
    EXPECT_EQ(LivePens(), 1);
    const standin::PenInfo pen = Describe(scene.penA);
    EXPECT_EQ(pen.style, PS_SOLID);
    EXPECT_EQ(pen.width, 1);
    EXPECT_EQ(pen.color, 0x0000FF00u);
}

TEST_F(SetUpTest, InitSeedsFromTheTickCountAndDrawsYBeforeX) {
    standin::SetTickCount(424242);
    scene.Init();
    const std::vector<int> r = DrawsAfterSeed(424242, 4);
    EXPECT_EQ(scene.headsA[0].x, float(r[1] % 1920));
    EXPECT_EQ(scene.headsA[0].y, float(r[0] % 1080));
    EXPECT_EQ(scene.headsA[1].x, float(r[3] % 1920));
    EXPECT_EQ(scene.headsA[1].y, float(r[2] % 1080));
    EXPECT_EQ(scene.lastChange, 424242u);
}

TEST_F(SetUpTest, CentresSitOnTheWholePixelMiddleOfAnOddScreen) {
    WIN_WIDTH = 1365;
    WIN_HEIGHT = 767;
    scene.Init();
    EXPECT_EQ(scene.centerA.x, 682.0f);
    EXPECT_EQ(scene.centerA.y, 383.0f);
    EXPECT_EQ(scene.centerB.x, 682.0f);
    EXPECT_EQ(scene.centerB.y, 383.0f);
}

TEST_F(SetUpTest, EveryLineEndIsACopyOfItsOwn) {
    scene.Init();
    const Particle tailA = scene.tailsA[5], headB = scene.headsB[5], tailB = scene.tailsB[5];
    scene.headsA[5].x += 7;
    scene.headsA[5].speed = 4;
    EXPECT_EQ(scene.tailsA[5].x, tailA.x);
    EXPECT_EQ(scene.headsB[5].x, headB.x);
    EXPECT_EQ(scene.tailsB[5].x, tailB.x);
    EXPECT_EQ(scene.tailsB[5].speed, 1.0f);
}

TEST_F(SetUpTest, CleanReleasesTheSharedPenOnceAndEmptiesTheSwarms) {
    scene.Init();
    for (int step = 0; step < 25; ++step) StepAfter(10);
    scene.Clean();
    EXPECT_EQ(LivePens(), 0);
    EXPECT_TRUE(scene.headsA.empty() && scene.tailsA.empty() && scene.headsB.empty() &&
                scene.tailsB.empty());
    EXPECT_EQ(scene.lineCount, 1500);
    EXPECT_EQ(scene.shownLines, 25);
}

TEST_F(SetUpTest, CleanAfterARetargetingReleasesTwoPensEachOnce) {
    scene.Init();
    StepAfter(7001);
    ASSERT_NE(scene.penA, scene.penB);
    EXPECT_EQ(LivePens(), 2);
    scene.Clean();
    EXPECT_EQ(LivePens(), 0);
}

TEST_F(SetUpTest, CleaningTwiceReleasesNothingTheSecondTime) {
    scene.Init();
    StepAfter(7001);
    scene.Clean();
    scene.Clean();  // a second release of either pen would fail the test
    EXPECT_EQ(LivePens(), 0);
}

TEST_F(SetUpTest, InitAfterCleanSetsTheSceneUpAfresh) {
    scene.Init();
    for (int step = 0; step < 10; ++step) StepAfter(10);
    StepAfter(7001);
    scene.Clean();
    scene.Init();
    EXPECT_EQ(scene.headsA.size(), 1500u);
    EXPECT_EQ(scene.tailsB.size(), 1500u);
    EXPECT_EQ(scene.shownLines, 0);
    EXPECT_EQ(scene.turnDivisor, 1.0f);
    EXPECT_EQ(scene.penA, scene.penB);
    EXPECT_EQ(Describe(scene.penA).color, 0x0000FF00u);
    EXPECT_EQ(LivePens(), 1);
}

TEST_F(SetUpTest, CleanOnASceneNeverSetUpReleasesNothing) {
    scene.Clean();
    EXPECT_TRUE(scene.headsA.empty());
    EXPECT_EQ(LivePens(), 0);
}

TEST_F(SetUpTest, DestroyingASceneReleasesNoPen) {
    HPEN pen = nullptr;
    {
        ColorLines other;
        other.Init();
        pen = other.penA;
    }
    EXPECT_EQ(LivePens(), 1);
    DeleteObject(pen);
}

TEST_F(SetUpTest, AScreenWithNoExtentDoesNotDivideByZero) {
    WIN_WIDTH = 0;
    WIN_HEIGHT = 0;
    scene.Init();
    StepAfter(7001);
    // Every random coordinate is 0, so both centres stand on the origin.
    for (const Particle* centre : {&scene.centerA, &scene.centerB}) {
        EXPECT_EQ(centre->x, 0.0f);
        EXPECT_EQ(centre->y, 0.0f);
    }
}

}  // namespace
