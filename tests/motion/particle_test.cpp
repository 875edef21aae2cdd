#include "motion/particle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>
#include <random>

namespace {

constexpr float kSpiral = 0.13f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Point {
    float x;
    float y;
};

// Bitwise equality: the moving point is exact to the last bit, and NaN == NaN here.
bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

::testing::AssertionResult IsAt(const Particle& p, Point expected) {
    if (SameBits(p.x, expected.x) && SameBits(p.y, expected.y)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::setprecision(9) << "point is at (" << p.x << ", "
                                         << p.y << "), expected (" << expected.x << ", "
                                         << expected.y << ")";
}

TEST(ParticleTest, ConstructorsSetTheFieldsInOrder) {
    const Particle still;
    EXPECT_TRUE(IsAt(still, {0, 0}));
    EXPECT_EQ(still.speed, 1.0f);
    const Particle given(4.5f, -2.0f, 7.0f);
    EXPECT_TRUE(IsAt(given, {4.5f, -2.0f}));
    EXPECT_EQ(given.speed, 7.0f);
}

struct MoveCase {
    float speed;
    Point target;
    bool arrived;
    Point after;
};

class MoveToTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveToTest, StepsFromTheOrigin) {
    const MoveCase& c = GetParam();
    Particle p(0, 0, c.speed);
    EXPECT_EQ(p.MoveTo(c.target.x, c.target.y), c.arrived);
    EXPECT_TRUE(IsAt(p, c.after));
    EXPECT_EQ(p.speed, c.speed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MoveToTest,
    ::testing::Values(
        // Along the straight line: the larger distance shrinks by the speed.
        MoveCase{3, {10, 5}, false, {3, 1.5f}}, MoveCase{3, {5, 10}, false, {1.5f, 3}},
        MoveCase{3, {-10, 5}, false, {-3, 1.5f}},
        // Equal distances take the x-major branch.
        MoveCase{3, {4, 4}, false, {3, 3}},
        // Same column, same row.
        MoveCase{3, {0, -7}, false, {0, -3}}, MoveCase{3, {3.5f, 0}, false, {3, 0}},
        // The ratio is narrowed before it scales the step.
        MoveCase{1, {3, 1}, false, {1, 0.33333334f}},
        // The rim of the square arrival box counts as arrived, corners included.
        MoveCase{3, {3, 3}, true, {0, 0}}, MoveCase{3, {3, -3}, true, {0, 0}},
        MoveCase{3, {-3, 0}, true, {0, 0}},
        // On the target: arrived for any speed >= 0; a negative speed never arrives and
        // the same-column rule sends it downward.
        MoveCase{0, {0, 0}, true, {0, 0}}, MoveCase{5, {0, 0}, true, {0, 0}},
        MoveCase{-2, {0, 0}, false, {0, 2}},
        // Speed 0 stands still.
        MoveCase{0, {5, 5}, false, {0, 0}},
        // A negative speed flees along the joining line.
        MoveCase{-2, {10, 5}, false, {-2, -1}}));

TEST(ParticleTest, MoveToFromAStartOffTheOriginKeepsTheStepOnTheLine) {
    Particle p(100, 200, 2);
    EXPECT_FALSE(p.MoveTo(90, 230));  // y-major: x moves by speed / ratio
    EXPECT_TRUE(IsAt(p, {99.3333359f, 202}));
}

TEST(ParticleTest, RotateWithDivisorOneRunsStraightAtTheCentre) {
    Particle p(600, 450, 3);
    EXPECT_FALSE(p.RotateTo(500, 400, 1.0f));
    EXPECT_TRUE(IsAt(p, {597, 448.5f}));

    Particle q(510, 400, 3);
    for (const float x : {507.0f, 504.0f, 501.0f}) {
        EXPECT_FALSE(q.RotateTo(500, 400, 1.0f));
        EXPECT_TRUE(IsAt(q, {x, 400}));
    }
    for (int call = 0; call < 3; ++call) {
        EXPECT_TRUE(q.RotateTo(500, 400, 1.0f));
        EXPECT_TRUE(IsAt(q, {501, 400}));
    }
}

TEST(ParticleTest, RotateWithTheSpiralDivisorTurnsCounterClockwiseOnScreen) {
    Particle p(600, 400, 3);
    EXPECT_FALSE(p.RotateTo(500, 400, kSpiral));
    // Up (smaller y) and to the left: counter-clockwise about the centre on the screen.
    EXPECT_TRUE(IsAt(p, {597.92926f, 397}));
}

struct SpiralCase {
    float speed;
    int firstArrival;
};

class SpiralTest : public ::testing::TestWithParam<SpiralCase> {};

TEST_P(SpiralTest, FirstArrivesOnAFixedCall) {
    const SpiralCase c = GetParam();
    Particle p(600, 400, c.speed);
    int call = 1;
    while (call < 1000 && !p.RotateTo(500, 400, kSpiral)) ++call;
    EXPECT_EQ(call, c.firstArrival);
    if (c.speed == 3) {
        EXPECT_TRUE(IsAt(p, {499.82385f, 396.83115f}));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SpiralTest,
                         ::testing::Values(SpiralCase{3, 57}, SpiralCase{7, 28}, SpiralCase{1, 163}));

TEST(ParticleTest, AParticleOnItsCentreHasArrivedForAnySpeedNotBelowZero) {
    for (const float speed : {0.0f, 1.0f, 3.0f, 7.0f}) {
        for (const float divisor : {1.0f, kSpiral}) {
            Particle p(250, 125, speed);
            EXPECT_TRUE(p.RotateTo(250, 125, divisor)) << "speed " << speed;
            EXPECT_TRUE(IsAt(p, {250, 125}));
        }
    }
}

TEST(ParticleTest, ANegativeSpeedNeverArrivesAndLeavesTheCentre) {
    Particle p(510, 400, -2);
    for (int call = 0; call < 50; ++call) EXPECT_FALSE(p.RotateTo(500, 400, 1.0f));
    EXPECT_GT(p.x, 600.0f);
}

struct ChaseCase {
    float speed;
    Point target;
    Point after;
};

class ChasePointTest : public ::testing::TestWithParam<ChaseCase> {};

TEST_P(ChasePointTest, StepsOnlyWhenFartherThanTheDistance) {
    const ChaseCase& c = GetParam();
    Particle p(0, 0, c.speed);
    EXPECT_FALSE(p.ChasePoint(c.target.x, c.target.y, 20));
    EXPECT_TRUE(IsAt(p, c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChasePointTest,
    ::testing::Values(
        // Exactly 20 away is near enough.
        ChaseCase{3, {12, 16}, {0, 0}}, ChaseCase{3, {20, 0}, {0, 0}},
        ChaseCase{3, {21, 0}, {3, 0}}, ChaseCase{3, {15, 15}, {3, 3}},
        ChaseCase{-2, {30, 40}, {-1.5f, -2}}));

TEST(ParticleTest, ChaseReturnsWhatTheStepReturns) {
    // Farther than the distance in the circle, yet inside a huge arrival box.
    Particle p(0, 0, 50);
    EXPECT_TRUE(p.ChasePoint(30, 30, 20));
    EXPECT_TRUE(IsAt(p, {0, 0}));
}

// NaN in any field or argument sends every comparison to its other branch: no step ever
// reports arrival, and nothing traps (the sanitizer build runs this too).
TEST(ParticleTest, NaNNeverArrives) {
    const Particle starts[] = {{kNaN, 0, 3}, {0, kNaN, 3}, {0, 0, kNaN}, {0, 0, 3}};
    const Point targets[] = {{kNaN, 0}, {0, kNaN}, {1, 1}};
    for (const Particle& start : starts) {
        for (const Point& target : targets) {
            const bool clean = !std::isnan(start.x) && !std::isnan(start.y) &&
                               !std::isnan(start.speed) && !std::isnan(target.x) &&
                               !std::isnan(target.y);
            if (clean) continue;
            Particle a = start, b = start, c = start;
            EXPECT_FALSE(a.MoveTo(target.x, target.y));
            EXPECT_FALSE(b.RotateTo(target.x, target.y, kSpiral));
            EXPECT_FALSE(c.ChasePoint(target.x, target.y, 20));
        }
    }
    Particle d(0, 0, 3);
    EXPECT_FALSE(d.RotateTo(0, 0, kNaN));
    EXPECT_FALSE(d.ChasePoint(100, 0, kNaN));
}

TEST(ParticleTest, NaNInTheGeneralCaseLeavesThePointAlone) {
    // Off column and row, but the NaN target makes both axis tests fail.
    Particle p(0, 0, 3);
    EXPECT_FALSE(p.MoveTo(kNaN, kNaN));
    EXPECT_TRUE(IsAt(p, {0, 0}));
}

TEST(ParticleTest, InfinitiesPassThroughTheArithmetic) {
    Particle far(kInf, 0, 3);
    EXPECT_FALSE(far.MoveTo(0, 10));  // ratio 0: x steps, y stays
    EXPECT_TRUE(IsAt(far, {kInf, 0}));
    Particle near(0, 0, kInf);
    EXPECT_TRUE(near.MoveTo(1e30f, -1e30f));
    Particle chaser(0, 0, 3);
    EXPECT_FALSE(chaser.ChasePoint(3e38f, 0, 20));  // the narrowed square overflows to infinity
    EXPECT_TRUE(IsAt(chaser, {3, 0}));
}

// Found by fuzzing: when both axis distances overflow a float, the ratio is infinity over
// infinity. The rules give a NaN coordinate there, and the step keeps to the rules; the
// saver's points stay within a few screens of each other, far from this.
TEST(ParticleTest, DistancesPastTheFloatRangeOnBothAxesFollowTheRulesIntoNaN) {
    const float x = -2.0337188e38f, speed = 3.3961514e38f;
    Particle p(x, 3.3961773e38f, speed);
    EXPECT_FALSE(p.MoveTo(3.3961514e38f, -3.3961514e38f));
    EXPECT_EQ(p.x, x + speed);  // the x step is still taken
    EXPECT_TRUE(std::isnan(p.y));
}

// The frame step hands RotateTo a Turn worked out once; every result must be the one the
// straightforward per-call cosine and sine give.
bool ReferenceRotateTo(Particle& p, float cx, float cy, float divisor) {
    const float PI = 3.14159274f;
    const float dx = static_cast<float>(double(cx) - p.x);
    const float dy = static_cast<float>(double(cy) - p.y);
    const float theta = static_cast<float>((double(PI) + PI) / divisor);
    const double a = -double(theta);
    const float rx = static_cast<float>(std::cos(a) * dx - std::sin(a) * dy);
    const float ry = static_cast<float>(std::sin(a) * dx + std::cos(a) * dy);
    return p.MoveTo(static_cast<float>(double(rx) + cx), static_cast<float>(double(ry) + cy));
}

TEST(ParticleTest, APrecomputedTurnGivesBitIdenticalSteps) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-3000.0f, 3000.0f);
    const float speeds[] = {7, 6, 5, 4, 3, 2, 1, -1, -2};
    for (const float divisor : {1.0f, kSpiral}) {
        const Particle::Turn turn(divisor);
        for (int i = 0; i < 20000; ++i) {
            Particle fast(coordinate(random), coordinate(random), speeds[i % 9]);
            Particle reference = fast;
            const float cx = coordinate(random), cy = coordinate(random);
            ASSERT_EQ(fast.RotateTo(cx, cy, turn), ReferenceRotateTo(reference, cx, cy, divisor));
            ASSERT_TRUE(IsAt(fast, {reference.x, reference.y}));
        }
    }
}

TEST(ParticleTest, APositiveStepNeverEndsFartherFromTheTargetOnEitherAxis) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(-5000.0f, 5000.0f);
    std::uniform_real_distribution<float> speed(0.01f, 50.0f);
    for (int i = 0; i < 50000; ++i) {
        Particle p(coordinate(random), coordinate(random), speed(random));
        const float tx = coordinate(random), ty = coordinate(random);
        const double beforeX = std::fabs(double(tx) - p.x), beforeY = std::fabs(double(ty) - p.y);
        const Particle before = p;
        if (p.MoveTo(tx, ty)) {
            ASSERT_TRUE(IsAt(p, {before.x, before.y}));
            continue;
        }
        ASSERT_LE(std::fabs(double(tx) - p.x), beforeX);
        ASSERT_LE(std::fabs(double(ty) - p.y), beforeY);
        ASSERT_EQ(p.speed, before.speed);
    }
}

}  // namespace
