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

private:
    using Pieces = std::vector<std::pair<int, int>>;  // from x, to x
    void closeBand();
    bool joins(const Pieces& pieces);

    static constexpr std::size_t kMostLoose = 64;
    std::vector<QRect> loose_;
    std::vector<QRect> banded_;  // already sorted into bands
    Pieces band_;
    int bandTop_ = 0;
    int bandBottom_ = -2;
    Pieces pieces_;
    std::vector<Pieces> formPieces_;
};

}  // namespace kalidor
