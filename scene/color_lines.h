#pragma once
// The picture: two swarms of lines, each winding about its own centre, and the two
// centres winding about each other.
#include <vector>

#include "motion/particle.h"
#include "platform/platform.h"

class ColorLines {
public:
    // Only the centres and the (empty) swarms; every other field waits for Init. The
    // remaining fields start at zero and no pen, as they would in static storage.
    ColorLines() = default;
    // Releases no pen: by the time the scene dies, Clean has released them.
    ~ColorLines() = default;
    ColorLines(const ColorLines&) = delete;
    ColorLines& operator=(const ColorLines&) = delete;

    // Sets the scene up: seeds the random source, makes the green pen both swarms share
    // until the first re-targeting, and puts every line, zero length, on a random point.
    // Expects empty swarms: a fresh scene or one after Clean.
    void Init();
    // Releases the pens (each once) and empties the swarms.
    void Clean();
    // One animation step: reveal one more line, re-target when the time has come, turn
    // the centres, then every head about its centre and every tail after its head.
    void Update();
    // Draws the shown lines of both swarms, interleaved by index, into `dc`.
    void Render(HDC& dc);

    int lineCount = 0;
    int chaseDistance = 0;
    int shownLines = 0;
    float turnDivisor = 0.0f;
    Particle centerA;
    Particle centerB;
    HPEN penA = nullptr;
    HPEN penB = nullptr;
    DWORD lastChange = 0;
    std::vector<Particle> headsA;
    std::vector<Particle> tailsA;
    std::vector<Particle> headsB;
    std::vector<Particle> tailsB;

private:
    void Retarget();
    void ReleasePens();
    void MoveLines(const Particle::Turn& headTurn);
};
