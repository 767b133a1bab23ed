#pragma once
// Where the copies of a stroke step go, as plain data that every mode hands to
// one drawing call.
//
// A step is a few shapes (segments) and a symmetry. Every shape is mapped by
// every point operation of the symmetry, and every mapped shape is then moved
// over the cells of its lattice:
//
//     copies = { op(shape) + k * a + j * b : op, shape, cell (k, j) }
//
// Normal is one shape, the identity and one cell. Centric hands over its N
// copies as shapes, each end point the rounded turn of the stored one, with the
// mirror across the centre's vertical as a second operation. Pattern hands over
// the one segment of the first cell of its loop on a lattice of cells; with
// Mirror the lattice is two cells by two and the quilt's four turnings are four
// operations, each a turning plus the offset of its cell in the pair.
//
// The surface paints the union of all copies in one pass: each operation's
// shape is made once (a mirrored one from the pixels of the shape it mirrors,
// where that gives the pixels drawing it would), then laid over the lattice by
// whole-pixel moves, so that the cost follows the pixels covered, not the
// number of copies. A copy that a turn off whole pixels (60 degrees) or a
// lattice vector off whole pixels (a hexagonal lattice's second one) puts
// between pixels has its ends rounded to whole pixels, each copy from its own
// exact place, so none lies more than half a pixel from it; along a row of
// cells whose step is whole, those copies are one shape moved by whole pixels.
// The copies' order, which `forEachCopy` gives, matters only to a draw mode
// that is not copy pen.
//
// With `movesPixels`, an operation's copy is not drawn from its mapped ends:
// it is the pixels of the shape itself moved by the operation, read as a map
// of pixel centres (see `pixelMap`). Moved pixels are the operation's image by
// their making, whatever a line's pixels are, so a picture drawn that way is
// exactly as symmetric as its operations; and the shape is drawn only once.

#include <algorithm>
#include <array>
#include <climits>
#include <span>
#include <vector>

#include "platform/segment.h"

namespace kalidor {

// The Chess rule: the parity of a cell's column plus row. Negative sums keep
// their low bit, so -1 has parity 1.
constexpr int cellParity(long long column, long long row) { return static_cast<int>((column + row) & 1); }

// p -> M p + t: x' = xx x + xy y + tx, y' = yx x + yy y + ty.
struct PointOp {
    double xx = 1, xy = 0, yx = 0, yy = 1;
    double tx = 0, ty = 0;
    // The lattice's cells this operation's copies take, where fewer than the
    // lattice has (the quilt's odd columns and rows may be one short); -1: all.
    int columns = -1;
    int rows = -1;

    static PointOp shift(double dx, double dy) { return PointOp{1, 0, 0, 1, dx, dy}; }
    // x -> 2 c - x.
    static PointOp mirrorX(double c) { return PointOp{-1, 0, 0, 1, 2 * c, 0}; }

    // The shape moved by the operation: `place` without a further move.
    Segment apply(const Segment& s) const;
    // The copy moved on by (dx, dy): where the operation or the move is not
    // whole, its ends rounded to whole pixels (halves up) from their exact places.
    Segment place(const Segment& s, double dx = 0, double dy = 0) const { return place(ends(s), dx, dy); }
    // The same from the shape's ends under the operation, found once for many moves.
    using Ends = std::array<double, 4>;
    Ends ends(const Segment& s) const;
    Segment place(const Ends& e, double dx, double dy) const;
    bool wholeMatrix() const;
    // Whether the matrix only exchanges and turns over the axes (entries 0 and
    // +-1, one of each row nonzero): such an operation maps pixels onto pixels.
    bool permutesAxes() const;
    // Whether the matrix is a mirror along the axes or none (entries 0 off the
    // diagonal, +-1 on it): such a copy is the pixels of another moved.
    bool axisTurn() const { return xy == 0 && yx == 0 && (xx == 1 || xx == -1) && (yy == 1 || yy == -1); }
    bool operator==(const PointOp&) const = default;
};

// Cells (k, j), k = 0 .. columns - 1 and j = 0 .. rows - 1, at k a + j b.
struct Lattice {
    double ax = 0, ay = 0;
    double bx = 0, by = 0;
    int columns = 1;
    int rows = 1;
    // With `chess`, only the cells whose k + j has the parity `phase`.
    bool chess = false;
    int phase = 0;
    // The cells end, in row-major order, just before (endRow, endColumn): a
    // step cut short where a copy left 16 bits. At start, all of them.
    int endRow = INT_MAX;
    int endColumn = 0;
    // The cells were chosen so that along every row the copies run on past
    // both sides of the canvas: each row of the picture then repeats its
    // pattern every step of a, which the surface may use.
    bool fillsRows = false;

    bool has(int k, int j) const;
    // No cells at all: none along a side, or the end before the first.
    bool empty() const { return columns <= 0 || rows <= 0 || endRow < 0 || (endRow == 0 && endColumn <= 0); }
    // Whether the cells step along the axes by whole pixels.
    bool axisAligned() const;
    // The move of cell (k, j): k a + j b, exactly.
    void move(int k, int j, double& dx, double& dy) const;
    int columnsOf(const PointOp& op) const { return op.columns < 0 ? columns : std::min(op.columns, columns); }
    int rowsOf(const PointOp& op) const { return op.rows < 0 ? rows : std::min(op.rows, rows); }
    bool operator==(const Lattice&) const = default;
};

struct Symmetry {
    std::vector<PointOp> ops{PointOp{}};
    Lattice lattice;
    // Each operation's copies are the pixels of the shapes themselves moved
    // by the operation (where it permutes the axes), not drawn from mapped ends.
    bool movesPixels = false;

    // One cell: the copies are the operations' shapes themselves.
    bool oneCell() const { return lattice.columns == 1 && lattice.rows == 1; }
    bool operator==(const Symmetry&) const = default;
};

// The cells an operation's copies take, along the rows of the lattice: each
// with its place (k, j) and its move.
template <class Cell>
void forEachCell(const Lattice& l, const PointOp& op, Cell cell)
{
    for (int j = 0; j < l.rowsOf(op); ++j)
        for (int k = 0; k < l.columnsOf(op); ++k) {
            if (!l.has(k, j))
                continue;
            double dx = 0, dy = 0;
            l.move(k, j, dx, dy);
            cell(k, j, dx, dy);
        }
}

// Every copy in drawing order: operation by operation, shape by shape, cell by
// cell along the rows of the lattice.
template <class Copy>
void forEachCopy(std::span<const Segment> shapes, const Symmetry& sym, Copy copy)
{
    for (const PointOp& op : sym.ops)
        for (const Segment& shape : shapes)
            forEachCell(sym.lattice, op, [&](int, int, double dx, double dy) { copy(op.place(shape, dx, dy)); });
}

// The copies, appended in drawing order.
void expandCopies(std::span<const Segment> shapes, const Symmetry& sym, std::vector<Segment>& out);

// An operation as a map of pixels: pixel (i, j) goes to (xx i + xy j + ox,
// yx i + yy j + oy).
struct PixelMap {
    int xx = 1, xy = 0, yx = 0, yy = 1;
    long long ox = 0, oy = 0;
    bool transposes() const { return xy != 0; }
    bool operator==(const PixelMap&) const = default;
};

// The map of pixels that an operation permuting the axes makes of lines
// `width` wide: where their ends' places go, the centres of their pixels go.
// Odd widths end on pixel centres, even ones on pixel corners, so the same
// operation on ends moves pixels by one less where it turns an axis over at an
// even width. Where the operation puts centres between pixels (a shift by half
// a pixel), they go to the pixel up and left of that place.
PixelMap pixelMap(const PointOp& op, int width);

}  // namespace kalidor
