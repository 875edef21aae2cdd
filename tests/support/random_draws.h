#pragma once
// The C runtime's generator is the scene's only source of chance. Tests steer a step by
// seeding it with a seed whose next draws have the residues the case needs.
#include <cstdlib>
#include <functional>
#include <vector>

inline std::vector<int> DrawsAfterSeed(unsigned seed, int count) {
    std::srand(seed);
    std::vector<int> draws(count);
    for (int& draw : draws) draw = std::rand();
    return draws;
}

// The first seed from 1 on whose next `count` draws satisfy `wanted`.
inline unsigned SeedWhoseDraws(int count, const std::function<bool(const std::vector<int>&)>& wanted) {
    for (unsigned seed = 1;; ++seed) {
        if (wanted(DrawsAfterSeed(seed, count))) return seed;
    }
}
