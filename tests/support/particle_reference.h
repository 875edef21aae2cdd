#pragma once
// The moving point's rules transcribed the slow, literal way: all arithmetic in double,
// narrowed to float only at the named points. Particle is written for speed; tests and
// fuzzers check it against this bit for bit.
#include <cmath>

namespace particle_reference {

inline float N(double value) { return static_cast<float>(value); }

struct Reference {
    float x, y, speed;

    bool MoveTo(float tx, float ty) {
        if (speed >= std::fabs(double(x) - double(tx)) && speed >= std::fabs(double(y) - double(ty)))
            return true;
        if (x == tx) {
            y = ty > y ? N(double(y) + double(speed)) : N(double(y) - double(speed));
            return false;
        }
        if (y == ty) {
            x = tx > x ? N(double(x) + double(speed)) : N(double(x) - double(speed));
            return false;
        }
        const float ady = N(std::fabs(double(ty) - double(y)));
        const float adx = N(std::fabs(double(tx) - double(x)));
        const float ratio = N(double(ady) / double(adx));
        if (adx >= ady) {
            x = tx > x ? N(double(x) + double(speed)) : N(double(x) - double(speed));
            y = ty > y ? N(double(y) + double(speed) * double(ratio))
                       : N(double(y) - double(speed) * double(ratio));
        } else if (ady > adx) {
            x = tx > x ? N(double(x) + double(speed) / double(ratio))
                       : N(double(x) - double(speed) / double(ratio));
            y = ty > y ? N(double(y) + double(speed)) : N(double(y) - double(speed));
        }
        return false;
    }

    bool RotateTo(float cx, float cy, float divisor) {
        const float PI = 3.14159274f;
        const float dx = N(double(cx) - double(x));
        const float dy = N(double(cy) - double(y));
        const float theta = N((double(PI) + double(PI)) / double(divisor));
        const double a = -double(theta);
        const float rx = N(std::cos(a) * double(dx) - std::sin(a) * double(dy));
        const float ry = N(std::sin(a) * double(dx) + std::cos(a) * double(dy));
        return MoveTo(N(double(rx) + double(cx)), N(double(ry) + double(cy)));
    }

    bool ChasePoint(float tx, float ty, float distance) {
        const float sx = N((double(tx) - double(x)) * (double(tx) - double(x)));
        const float sy = N((double(ty) - double(y)) * (double(ty) - double(y)));
        const float sd = N(double(distance) * double(distance));
        if (double(sx) + double(sy) > double(sd)) return MoveTo(tx, ty);
        return false;
    }
};

}  // namespace particle_reference
