#pragma once
// The 17 plane symmetry groups that Pattern draws under, as a table: each a
// lattice and the operations that, with the lattice's translations, make it.
// Adding a group is adding a row.

#include <span>
#include <string_view>
#include <vector>

#include "platform/int16.h"
#include "platform/symmetry.h"

namespace kalidor {

// The lattice of cells a group repeats over, from the pattern point (PX, PY):
//   rectangular a = (PX, 0), b = (0, PY);
//   centred, the same cells with their centres too: every copy also moved by (1/2, 1/2);
//   square a = (PX, 0), b = (0, PX);
//   hexagonal a = (PX, 0), b = (-PX / 2, round(PX sqrt 3 / 2)): every row of
//   cells is whole pixels below the one before, and the picture repeats every
//   PX across and two rows down.
enum class LatticeShape { Rectangular, Centred, Square, Hexagonal };

// An operation on fractional coordinates (x, y), where the point is x a + y b:
// (x, y) -> (xx x + xy y + hx / 2, yx x + yy y + hy / 2).
struct GroupOp {
    int xx, xy, yx, yy;
    int hx = 0, hy = 0;
};

struct WallpaperGroup {
    std::string_view name;   // the short international name, "p4m"
    std::string_view words;  // what it does, in a few words
    LatticeShape lattice;
    std::span<const GroupOp> ops;  // the centred lattice's (1/2, 1/2) not among them
};

constexpr int kGroupCount = 17;
constexpr int kP1 = 0;  // plain shifts: Pattern as it always was

// The groups in their usual order, p1 first; an index out of range gives p1.
const WallpaperGroup& wallpaperGroup(int index);
// The index of the group of that name, or -1.
int groupIndex(std::string_view name);

// The cell vectors a and b, in pixels, for cells of PX by PY (their sizes,
// whatever their signs: a lattice and its negative are the same lattice).
struct CellVectors {
    double ax = 0, ay = 0, bx = 0, by = 0;
};
CellVectors cellVectors(LatticeShape shape, int16 patternX, int16 patternY);

// The group's operations in canvas pixels, on places (not on the ends of
// lines), the centring included: p -> M p + t with M = B F B^-1, t = B f, B
// the cell vectors as columns. Matrix entries within rounding of a whole
// number are that number.
std::vector<PointOp> pixelOps(const WallpaperGroup& group, const CellVectors& cell);

// How many times the operation's matrix must be applied to give the identity
// (1 for shifts, 2 for mirrors and half turns, 3, 4 or 6 for turns).
int order(const GroupOp& op);
// Whether it turns the plane over (a mirror or a glide).
bool turnsOver(const GroupOp& op);

}  // namespace kalidor
