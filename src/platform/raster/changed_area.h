#pragma once
// The part of a picture one drawing call changed, kept as rectangles close
// around what was drawn, so that a stroke whose copies lie far apart repaints
// little: on a 4K canvas every pixel repainted costs the program and the
// window system alike.

#include <span>
#include <utility>
#include <vector>

#include <QRect>
#include <QRegion>

#include "platform/raster/line_raster.h"

namespace kalidor {

class ChangedArea {
public:
    void add(const QRect& r)
    {
        if (!r.isEmpty())
            loose_.push_back(r);
    }

    // Row y's spans, sorted and apart, rows coming top to bottom. Rows of the
    // same `form` (0 or more) have the same spans, so their pieces are found once.
    void addRow(int y, std::span<const Span> spans, int form);

    // The changed area as rectangles that do not overlap, top to bottom.
    QRegion region() const;

    // Past this many rectangles a band of rows is one: each rectangle costs the
    // program and the window system about as much as a few thousand pixels.
    static constexpr std::size_t kMostRects = 32;
    // Rows to come are taken whole, from their first span to their last, for
    // a call that will have more copies than rectangles to show them.
    void byBands() { byBands_ = true; }

private:
    using Pieces = std::vector<std::pair<int, int>>;  // from x, to x
    void closeBand();
    void extend(int y, const Pieces& pieces);
    bool joins(const Pieces& pieces);

    static constexpr std::size_t kMostLoose = 64;
    std::vector<QRect> loose_;
    std::vector<QRect> banded_;  // already sorted into bands
    Pieces band_;
    int bandTop_ = 0;
    int bandBottom_ = -2;
    int bandForm_ = -1;  // the form of the band's last row
    Pieces pieces_;
    std::vector<Pieces> formPieces_;
    bool byBands_ = false;
};

}  // namespace kalidor
