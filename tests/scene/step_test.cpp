#include <cstdlib>

#include "tests/scene/scene_fixture.h"
#include "tests/support/random_draws.h"

namespace {

using StepTest = SceneTest;

TEST_F(StepTest, RevealsOneLinePerStepUpToTheLineCount) {
    scene.Init();
    for (int step = 1; step <= 1502; ++step) {
        StepAfter(0);
        ASSERT_EQ(scene.shownLines, step < 1500 ? step : 1500);
    }
}

struct TimeCase {
    DWORD elapsed;
    int residue;  // of the threshold draw modulo 4: 4000 + 1000 * residue ms
    bool retargets;
};

class TimeTest : public SceneTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeTest, RetargetsOnlyPastTheDrawnThreshold) {
    const TimeCase c = GetParam();
    scene.Init();
    const DWORD before = scene.lastChange;
    std::srand(SeedWhoseDraws(1, [&](const std::vector<int>& r) { return r[0] % 4 == c.residue; }));
    StepAfter(c.elapsed);
    EXPECT_EQ(scene.lastChange != before, c.retargets);
    EXPECT_EQ(scene.penA != scene.penB, c.retargets);
}

INSTANTIATE_TEST_SUITE_P(Table, TimeTest,
                         ::testing::Values(TimeCase{4000, 0, false}, TimeCase{4001, 0, true},
                                           TimeCase{4001, 1, false}, TimeCase{5001, 1, true},
                                           TimeCase{6000, 2, false}, TimeCase{6001, 2, true},
                                           TimeCase{7000, 3, false}, TimeCase{7001, 3, true},
                                           TimeCase{0xFFFFFFFF, 3, true}));

TEST_F(StepTest, ElapsedTimeIsTakenAcrossTheTickCountsWrap) {
    const unsigned anyResidue = SeedWhoseDraws(1, [](const std::vector<int>& r) { return r[0] % 4 == 0; });

    standin::SetTickCount(0xFFFFFF00);  // 256 ms before the wrap
    scene.Init();
    standin::SetTickCount(0x00000010);  // 272 ms later
    std::srand(anyResidue);
    scene.Update();
    EXPECT_EQ(scene.lastChange, 0xFFFFFF00u) << "a step just after the wrap saw a huge elapsed time";

    standin::SetTickCount(0x00000F01);  // 4097 ms after set-up
    std::srand(anyResidue);
    scene.Update();
    EXPECT_EQ(scene.lastChange, 0x00000F01u);
}

// Follows the draws of one re-targeting: threshold, centre A's x and y, the turn divisor,
// swarm A's green, swarm B's red, and the speed.
TEST_F(StepTest, RetargetingDrawsCentresDivisorColoursAndSpeedInOrder) {
    scene.Init();
    const unsigned seed = SeedWhoseDraws(7, [](const std::vector<int>& r) { return r[6] % 10 != 7; });
    const std::vector<int> r = DrawsAfterSeed(seed, 7);
    std::srand(seed);
    StepAfter(7001);

    EXPECT_EQ(scene.lastChange, kStart + 7001);
    EXPECT_EQ(scene.turnDivisor, r[3] % 50 > 9 ? 0.13f : 1.0f);
    EXPECT_EQ(Describe(scene.penA).color, RGB(255, r[4] % 255, 0));
    EXPECT_EQ(Describe(scene.penB).color, RGB(r[5] % 255, 255, 0));
    EXPECT_EQ(Describe(scene.penA).style, PS_SOLID);
    EXPECT_EQ(Describe(scene.penB).width, 1);
    EXPECT_EQ(LivePens(), 2) << "the shared green pen must be released exactly once";

    const float speed = float(7 - r[6] % 10);
    for (const auto* swarm : {&scene.headsA, &scene.tailsA, &scene.headsB, &scene.tailsB}) {
        for (const Particle& end : *swarm) ASSERT_EQ(end.speed, speed);
    }

    // Centre B mirrors A through the middle; then A turns about B, and B about where A went.
    Particle a(float(r[1] % 1920), float(r[2] % 1080), 3);
    Particle b(1920 - a.x, 1080 - a.y, 3);
    a.RotateTo(b.x, b.y, 0.13f);
    b.RotateTo(a.x, a.y, 0.13f);
    EXPECT_EQ(scene.centerA.x, a.x);
    EXPECT_EQ(scene.centerA.y, a.y);
    EXPECT_EQ(scene.centerB.x, b.x);
    EXPECT_EQ(scene.centerB.y, b.y);
}

TEST_F(StepTest, ASpeedResidueOfSevenIsDrawnAgain) {
    scene.Init();
    std::srand(SeedWhoseDraws(9, [](const std::vector<int>& r) {
        return r[6] % 10 == 7 && r[7] % 10 == 7 && r[8] % 10 == 2;
    }));
    StepAfter(7001);
    EXPECT_EQ(scene.headsA[0].speed, 5.0f);
    EXPECT_EQ(scene.tailsB[1499].speed, 5.0f);
}

TEST_F(StepTest, OnAOnePixelScreenCentreBIsTheFarCornerAndNeitherCentreMoves) {
    // The reflection of 0 is the full extent, not extent - 1.
    WIN_WIDTH = 1;
    WIN_HEIGHT = 1;
    scene.Init();
    StepAfter(7001);
    EXPECT_EQ(scene.centerA.x, 0.0f);
    EXPECT_EQ(scene.centerA.y, 0.0f);
    EXPECT_EQ(scene.centerB.x, 1.0f);
    EXPECT_EQ(scene.centerB.y, 1.0f);
}

TEST_F(StepTest, CentresOnOnePointStayUntilTheNextRetargeting) {
    scene.Init();  // both centres in the middle of the screen
    for (int step = 0; step < 100; ++step) StepAfter(10);
    EXPECT_EQ(scene.centerA.x, 960.0f);
    EXPECT_EQ(scene.centerB.y, 540.0f);

    WIN_WIDTH = 4;
    WIN_HEIGHT = 4;
    std::srand(SeedWhoseDraws(3, [](const std::vector<int>& r) { return r[1] % 4 == 2 && r[2] % 4 == 2; }));
    StepAfter(7001);
    for (int step = 0; step < 100; ++step) {
        StepAfter(10);
        ASSERT_EQ(scene.centerA.x, 2.0f);
        ASSERT_EQ(scene.centerA.y, 2.0f);
        ASSERT_EQ(scene.centerB.x, 2.0f);
        ASSERT_EQ(scene.centerB.y, 2.0f);
    }
}

TEST_F(StepTest, AnArrivingHeadIsReseededWithItsTailOnOneNewPoint) {
    scene.Init();
    // Half a pixel from centre A with speed 1 and divisor 1: this head arrives now.
    scene.headsA[0].x = scene.centerA.x + 0.5f;
    scene.headsA[0].y = scene.centerA.y;
    scene.tailsA[0].x = 100;
    scene.tailsA[0].y = 100;
    const unsigned seed = SeedWhoseDraws(1, [](const std::vector<int>& r) { return r[0] % 4 != 0; });
    const std::vector<int> r = DrawsAfterSeed(seed, 3);
    std::srand(seed);
    StepAfter(10);
    EXPECT_EQ(scene.headsA[0].x, float(r[1] % 1920));
    EXPECT_EQ(scene.headsA[0].y, float(r[2] % 1080));
    EXPECT_EQ(scene.tailsA[0].x, scene.headsA[0].x);
    EXPECT_EQ(scene.tailsA[0].y, scene.headsA[0].y);
    EXPECT_EQ(scene.headsA[0].speed, 1.0f);
    EXPECT_EQ(scene.tailsA[0].speed, 1.0f);
}

TEST_F(StepTest, TailsChaseTheirHeadsOnlyFromBeyondTheChaseDistance) {
    scene.Init();
    // Heads far from their centres, tails 30 and 10 pixels behind them.
    scene.headsA[0] = Particle(100, 100, 1);
    scene.tailsA[0] = Particle(70, 100, 1);
    scene.headsB[0] = Particle(100, 900, 1);
    scene.tailsB[0] = Particle(100, 910, 1);
    StepAfter(10);
    EXPECT_EQ(scene.tailsA[0].x, 71.0f);
    EXPECT_EQ(scene.tailsB[0].x, 100.0f);
    EXPECT_EQ(scene.tailsB[0].y, 910.0f);
}

TEST_F(StepTest, WithANegativeSpeedNoHeadArrivesAndAPlainStepDrawsOnce) {
    scene.Init();
    for (auto* swarm : {&scene.headsA, &scene.tailsA, &scene.headsB, &scene.tailsB}) {
        for (Particle& end : *swarm) {
            end = Particle(scene.centerA.x, scene.centerA.y, -2);  // on the centre: would arrive
        }
    }
    std::srand(5);
    StepAfter(10);
    const int next = std::rand();
    EXPECT_EQ(next, DrawsAfterSeed(5, 2)[1]);
    EXPECT_NE(scene.headsA[0].y, scene.centerA.y) << "the head should have stepped away";
}

TEST_F(StepTest, AMinuteOfStepsKeepsTheSceneWhole) {
    scene.Init();
    DWORD lastChange = scene.lastChange;
    int retargetings = 0;
    for (int step = 0; step < 6000; ++step) {
        standin::AdvanceTickCount(10);
        scene.Update();
        if (scene.lastChange == lastChange) continue;
        lastChange = scene.lastChange;
        ++retargetings;
        EXPECT_EQ(LivePens(), 2);
        const float speed = scene.headsA[0].speed;
        for (const auto* swarm : {&scene.headsA, &scene.tailsA, &scene.headsB, &scene.tailsB}) {
            ASSERT_EQ(swarm->size(), 1500u);
            for (const Particle& end : *swarm) ASSERT_EQ(end.speed, speed);
        }
    }
    EXPECT_GE(retargetings, 60 / 7);
    EXPECT_EQ(scene.shownLines, 1500);
    EXPECT_EQ(scene.centerA.speed, 3.0f);
    EXPECT_EQ(scene.centerB.speed, 3.0f);
}

}  // namespace
