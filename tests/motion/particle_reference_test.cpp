// Particle is written for speed: single float operations stand in for "double, then
// narrowed" wherever the two agree, and a Turn is worked out once per frame. This checks it
// against a slow transcription of the rules, all in double and narrowed only at the named
// points, on random inputs from every corner of the float range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "motion/particle.h"
#include "tests/support/particle_reference.h"

namespace {

using particle_reference::Reference;

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Floats of every kind: ordinary screen coordinates, tiny and huge magnitudes,
// subnormals, exact neighbours of other values, infinities and NaN.
class FloatSource {
public:
    explicit FloatSource(unsigned seed) : random_(seed) {}
    float operator()() {
        switch (random_() % 6) {
        case 0: return std::uniform_real_distribution<float>(-4000, 4000)(random_);
        case 1: return float(int(random_() % 4000) - 1000);  // whole pixels, often equal
        case 2: {
            const std::uint32_t bits = random_();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;  // anything at all, NaN and infinities included
        }
        case 3: return std::ldexp(std::uniform_real_distribution<float>(-1, 1)(random_), int(random_() % 280) - 150);
        case 4: return std::nextafter(last_, random_() % 2 ? 1e30f : -1e30f);
        default: return float(int(random_() % 10) - 2);  // the speeds the scene uses, and 0
        }
    }
    float Remember(float value) { return last_ = value; }

private:
    std::mt19937 random_;
    float last_ = 0;
};

::testing::AssertionResult Agree(const Particle& p, const Reference& r, bool a, bool b) {
    if (a == b && SameBits(p.x, r.x) && SameBits(p.y, r.y) && SameBits(p.speed, r.speed))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hexfloat << "particle (" << p.x << ", " << p.y
                                         << ") " << a << ", reference (" << r.x << ", " << r.y
                                         << ") " << b;
}

TEST(ParticleReferenceTest, EveryStepAgreesBitForBitWithTheRules) {
    FloatSource next(2024);
    for (int i = 0; i < 300000; ++i) {
        const float x = next.Remember(next()), y = next(), speed = next();
        const float tx = next(), ty = next.Remember(next());
        Particle p(x, y, speed);
        Reference r{x, y, speed};
        ASSERT_TRUE(Agree(p, r, p.MoveTo(tx, ty), r.MoveTo(tx, ty)))
            << std::hexfloat << "MoveTo from (" << x << ", " << y << ") speed " << speed << " to ("
            << tx << ", " << ty << ")";

        for (const float divisor : {1.0f, 0.13f}) {
            Particle q(x, y, speed);
            Reference s{x, y, speed};
            ASSERT_TRUE(Agree(q, s, q.RotateTo(tx, ty, divisor), s.RotateTo(tx, ty, divisor)))
                << std::hexfloat << "RotateTo from (" << x << ", " << y << ") speed " << speed
                << " about (" << tx << ", " << ty << ") divisor " << divisor;
        }

        const float distance = i % 2 ? 20.0f : next();
        Particle c(x, y, speed);
        Reference d{x, y, speed};
        ASSERT_TRUE(Agree(c, d, c.ChasePoint(tx, ty, distance), d.ChasePoint(tx, ty, distance)))
            << std::hexfloat << "ChasePoint from (" << x << ", " << y << ") speed " << speed
            << " after (" << tx << ", " << ty << ") distance " << distance;
    }
}

}  // namespace
