#include "platform/raster/changed_area.h"

#include <algorithm>

#include "platform/raster/floor_division.h"

namespace kalidor {

namespace {

// Pieces of a row are whole columns of this many pixels: spans in the same or
// touching columns make one piece, and the rows of one copy mostly share their
// pieces, so that a copy needs a few rectangles, not one per row.
constexpr int kColumn = 32;

// Pieces closer than this are one: a rectangle more costs the program and the
// window system about as much as repainting a few thousand pixels.
constexpr int kJoinedGap = 4 * kColumn;

int columnStart(int x) { return static_cast<int>(floorDiv(x, kColumn) * kColumn); }

// Pieces, sorted, that lie at most `gap` pixels apart joined into one.
template <int gap>
void joinPieces(std::vector<std::pair<int, int>>& pieces)
{
    pieces.resize(joinNeighbours(pieces.data(), pieces.data() + pieces.size(), [](auto& kept, const auto& next) {
        if (next.first > kept.second + gap + 1)
            return false;
        kept.second = std::max(kept.second, next.second);
        return true;
    }));
}

}  // namespace

void ChangedArea::addRow(int y, std::span<const Span> spans, int form)
{
    if (form >= 0 && form == bandForm_ && y == bandBottom_ + 1) {
        bandBottom_ = y;  // the band's last row again
        return;
    }
    bandForm_ = form;
    if (byBands_ || banded_.size() > kMostRects) {
        // Bands are all that will be repainted now: a row is its extent, and
        // one within the band's (every row, with the tiniest cells) just extends it.
        if (y == bandBottom_ + 1 && band_.size() == 1 && spans.front().x0 >= band_[0].first &&
            spans.back().x1 <= band_[0].second) {
            bandBottom_ = y;
            return;
        }
        pieces_.assign(1, {spans.front().x0, spans.back().x1});
        extend(y, pieces_);
        return;
    }
    const Pieces* pieces = nullptr;
    if (form >= 0 && static_cast<std::size_t>(form) < formPieces_.size() && !formPieces_[form].empty())
        pieces = &formPieces_[static_cast<std::size_t>(form)];
    if (!pieces) {
        pieces_.clear();
        for (const Span& s : spans)
            pieces_.emplace_back(columnStart(s.x0), columnStart(s.x1) + kColumn - 1);
        joinPieces<kJoinedGap>(pieces_);
        if (form >= 0) {
            if (formPieces_.size() <= static_cast<std::size_t>(form))
                formPieces_.resize(static_cast<std::size_t>(form) + 1);
            formPieces_[static_cast<std::size_t>(form)] = pieces_;
        }
        pieces = &pieces_;
    }
    extend(y, *pieces);
}

void ChangedArea::extend(int y, const Pieces& pieces)
{
    if (y == bandBottom_ + 1 && joins(pieces)) {
        bandBottom_ = y;
        return;
    }
    closeBand();
    band_ = pieces;
    bandTop_ = bandBottom_ = y;
}

bool ChangedArea::joins(const Pieces& pieces)
{
    // The next row of the same copies: as many pieces, each over its own. The
    // band widens to take them, so a copy's rows make one rectangle.
    if (pieces.size() != band_.size())
        return false;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (pieces[i].first > band_[i].second || pieces[i].second < band_[i].first)
            return false;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        band_[i].first = std::min(band_[i].first, pieces[i].first);
        band_[i].second = std::max(band_[i].second, pieces[i].second);
    }
    joinPieces<0>(band_);  // pieces widened into each other become one
    return true;
}

void ChangedArea::closeBand()
{
    for (const auto& [from, to] : band_)
        banded_.push_back(QRect(QPoint(from, bandTop_), QPoint(to, bandBottom_)));
    band_.clear();
}

QRegion ChangedArea::region() const
{
    std::vector<QRect> rects = banded_;
    for (const auto& [from, to] : band_)
        rects.push_back(QRect(QPoint(from, bandTop_), QPoint(to, bandBottom_)));
    if (rects.size() > kMostRects) {
        // Past a few dozen rectangles each costs more to repaint than the
        // pixels it spares: each band becomes one, from its first piece to its last.
        std::size_t kept = 0;
        for (const QRect& r : rects) {
            if (kept > 0 && rects[kept - 1].top() == r.top())
                rects[kept - 1].setRight(r.right());
            else
                rects[kept++] = r;
        }
        rects.resize(kept);
    }
    QRegion out;
    out.setRects(rects.data(), static_cast<int>(rects.size()));
    if (loose_.size() > kMostLoose) {
        // Joining many rectangles one by one costs more than repainting their box.
        QRect all;
        for (const QRect& r : loose_)
            all |= r;
        return out + all;
    }
    for (const QRect& r : loose_)
        out += r;
    return out;
}

}  // namespace kalidor
