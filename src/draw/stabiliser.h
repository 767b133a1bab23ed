#pragma once
// A steady hand: the drawn point follows the pointer a few moves behind, each
// point the value at its own time of a curve fitted to the pointer's positions
// around it (a local quadratic, weighted most at its middle). A quadratic
// follows a curve's bend, so arcs stay round while the shake averages out;
// the price is a lag of a few moves, made up at the release. Each point goes
// to the whole pixel nearest the curve across its way (not simply the nearest
// pixel), so that the pixels' grid does not shake it again.

#include <deque>
#include <vector>

#include "editor/editor_state.h"

namespace kalidor {

enum class Steadiness { Off, Light, Strong };

// Off, Light, Strong, Off again.
Steadiness nextSteadiness(Steadiness s);

// How many moves the drawn point trails the pointer by.
int stabiliserLag(Steadiness s);

struct Stabiliser {
    Steadiness level = Steadiness::Off;  // Off: no stroke is being steadied
    int16 buttons = 0;                   // the last move's, for the points owed at the end
    struct Place {
        double x, y;
    };
    std::deque<Place> seen;  // the pointer's last positions, the stroke's first among them while it is recent
    long long first = 0;     // the stroke's move number of seen.front()
    long long next = 0;      // the move number of the next point to yield
};

// A stroke starts at (x, y), its first point drawn as it is; Off steadies none.
void stabiliserStart(Stabiliser& s, Steadiness level, double x, double y);
// The pointer moved to (x, y): the points the stroke now draws to, in order,
// on whole pixels.
std::vector<Stabiliser::Place> stabiliserMove(Stabiliser& s, double x, double y);
// The stroke ends: the points it still owes, the last the pointer's last position.
std::vector<Stabiliser::Place> stabiliserFinish(Stabiliser& s);

}  // namespace kalidor
