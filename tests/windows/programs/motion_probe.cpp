// Steps moving points a million times from a fixed set of starts and prints the spiral's
// known arrivals and a digest of every result's bits. Built for Windows and for Linux, the
// two printouts must be the same: the Windows runtime's cosine and sine, and its compiler
// flags, must not move a single float.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "motion/particle.h"

namespace {

// A fixed stream of inputs that does not depend on either runtime's rand.
std::uint32_t state = 12345;
float NextCoordinate() {
    state = state * 1664525u + 1013904223u;
    return float(int(state >> 16) % 4000 - 1000) + float(state & 0xFF) / 256.0f;
}

std::uint64_t digest = 14695981039346656037ull;
void Mix(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    digest = (digest ^ bits) * 1099511628211ull;
}

}  // namespace

int main() {
    for (const float speed : {3.0f, 7.0f, 1.0f}) {
        Particle p(600, 400, speed);
        int call = 1;
        while (call < 1000 && !p.RotateTo(500, 400, 0.13f)) ++call;
        std::printf("spiral at speed %g arrives on call %d at (%.9g, %.9g)\n", speed, call, p.x, p.y);
    }
    const float speeds[] = {7, 6, 5, 4, 3, 2, 1, -1, -2};
    for (int i = 0; i < 1000000; ++i) {
        Particle head(NextCoordinate(), NextCoordinate(), speeds[i % 9]);
        Particle tail(NextCoordinate(), NextCoordinate(), speeds[i % 9]);
        const float cx = NextCoordinate(), cy = NextCoordinate();
        Mix(float(head.RotateTo(cx, cy, i % 5 ? 0.13f : 1.0f)));
        tail.ChasePoint(head.x, head.y, 20.0f);
        Mix(head.x);
        Mix(head.y);
        Mix(tail.x);
        Mix(tail.y);
    }
    std::printf("digest of a million steps: %016llx\n", static_cast<unsigned long long>(digest));
    return 0;
}
