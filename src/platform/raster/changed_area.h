#pragma once
// The part of a picture one drawing call changed, kept as a few rectangles so
// that a small stroke repaints little even when its copies lie far apart.

#include <vector>

#include <QRect>

namespace kalidor {

class ChangedArea {
public:
    void add(const QRect& r)
    {
        if (!r.isEmpty())
            rects_.push_back(r);
    }

    // A row of pixels from x0 to x1; rows that follow one another form one band.
    void addRow(int y, int x0, int x1)
    {
        if (!rects_.empty() && rects_.back().bottom() + 1 == y) {
            rects_.back() |= QRect(QPoint(x0, y), QPoint(x1, y));
            return;
        }
        rects_.push_back(QRect(QPoint(x0, y), QPoint(x1, y)));
    }

    // Past a handful of pieces one rectangle repaints faster than many.
    std::vector<QRect> rects() const
    {
        if (rects_.size() <= kMostPieces)
            return rects_;
        QRect all;
        for (const QRect& r : rects_)
            all |= r;
        return {all};
    }

private:
    static constexpr std::size_t kMostPieces = 16;
    std::vector<QRect> rects_;
};

}  // namespace kalidor
