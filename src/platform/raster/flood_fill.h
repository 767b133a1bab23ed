#pragma once
// Filling a region of a picture: the pixels of one colour joined to a seed up,
// down, left and right. The region is found and written run by run along the
// rows, from a stack of runs still to look beside, kept on the heap: a region of
// any shape (a spiral one pixel wide over a 4K picture) costs memory in
// proportion to its runs at most, never the call stack.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kalidor {

// A picture's pixels, rows `stride` pixels apart.
struct PixelPlane {
    std::uint32_t* bits = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;

    std::uint32_t* row(int y) const { return bits + y * stride; }
};

// Told of every run of a fill just before it is written, to keep what it
// covers (the history's tiles, the area to repaint).
class RunSink {
public:
    virtual void beforeRun(int y, int x0, int x1) = 0;

protected:
    ~RunSink() = default;
};

class FloodFill {
public:
    // Writes `value` over the region of pixel (x, y): every pixel of its colour
    // reached from it through pixels of that colour. False, writing nothing,
    // where (x, y) lies off the plane or has `value` already.
    bool fill(const PixelPlane& plane, int x, int y, std::uint32_t value, RunSink& sink);

private:
    // Row `y`'s run from x0 to x1 is written; the row y + dy beside it is still
    // to be looked at.
    struct Pending {
        int y;
        int x0;
        int x1;
        int dy;
    };
    std::vector<Pending> stack_;  // kept from seed to seed, for its memory
};

}  // namespace kalidor
