#include "platform/raster/reduced_view.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kalidor {

namespace {

constexpr int kFactors[] = {4, 8, 16};

// The blocks of `factor` a side that hold any of `area`.
QRect blocksOf(const QRect& area, int factor)
{
    const int x0 = area.left() / factor;
    const int y0 = area.top() / factor;
    return QRect(QPoint(x0, y0), QPoint(area.right() / factor, area.bottom() / factor));
}

// Each pixel of `blocks` in `level`: the average of its block of `kept`,
// cut by the picture's `size`.
void average(const QImage& kept, QSize size, int factor, const QRect& blocks, QImage& level)
{
    std::vector<std::array<std::uint32_t, 4>> sums(static_cast<std::size_t>(blocks.width()));
    for (int by = blocks.top(); by <= blocks.bottom(); ++by) {
        std::fill(sums.begin(), sums.end(), std::array<std::uint32_t, 4>{});
        const int y0 = by * factor;
        const int y1 = std::min(y0 + factor, size.height());
        for (int y = y0; y < y1; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(kept.constScanLine(y));
            for (int bx = blocks.left(); bx <= blocks.right(); ++bx) {
                auto& s = sums[static_cast<std::size_t>(bx - blocks.left())];
                const int x0 = bx * factor;
                const int x1 = std::min(x0 + factor, size.width());
                for (int x = x0; x < x1; ++x) {
                    s[0] += qRed(row[x]);
                    s[1] += qGreen(row[x]);
                    s[2] += qBlue(row[x]);
                }
                s[3] += static_cast<std::uint32_t>(x1 - x0);
            }
        }
        auto* out = reinterpret_cast<QRgb*>(level.scanLine(by));
        for (int bx = blocks.left(); bx <= blocks.right(); ++bx) {
            const auto& s = sums[static_cast<std::size_t>(bx - blocks.left())];
            const std::uint32_t n = std::max<std::uint32_t>(s[3], 1);
            out[bx] = qRgb(static_cast<int>((s[0] + n / 2) / n), static_cast<int>((s[1] + n / 2) / n),
                           static_cast<int>((s[2] + n / 2) / n));
        }
    }
}

// The pixels of a level along one axis that widget pixel `w` shows, with the
// length of picture each gives it.
struct Tap {
    int at;
    float weight;
};

void taps(int w, int origin, double perPixel, int factor, int length, std::vector<Tap>& out)
{
    out.clear();
    const double p0 = std::max(0.0, (w - origin) * perPixel);
    const double p1 = std::min(static_cast<double>(length), (w + 1 - origin) * perPixel);
    for (int j = static_cast<int>(p0 / factor); j * factor < p1; ++j) {
        const double from = std::max(p0, static_cast<double>(j * factor));
        const double to = std::min({p1, static_cast<double>((j + 1) * factor), static_cast<double>(length)});
        if (to > from)
            out.push_back({j, static_cast<float>(to - from)});
    }
}

}  // namespace

void ReducedView::changed(const QRegion& area)
{
    for (Level& l : levels_)
        for (const QRect& r : area)
            l.stale += blocksOf(r, l.factor);
}

const QImage& ReducedView::level(const QImage& kept, int factor, const QRect& needed)
{
    auto it = std::find_if(levels_.begin(), levels_.end(), [factor](const Level& l) { return l.factor == factor; });
    if (it == levels_.end()) {
        Level l;
        l.factor = factor;
        l.image = QImage((size_.width() + factor - 1) / factor, (size_.height() + factor - 1) / factor,
                         QImage::Format_RGB32);
        l.stale = QRegion(l.image.rect());
        levels_.push_back(std::move(l));
        it = levels_.end() - 1;
    }
    const QRegion due = it->stale & (needed & it->image.rect());
    for (const QRect& r : due)
        average(kept, size_, factor, r, it->image);
    it->stale -= due;
    return it->image;
}

namespace {

// Along one axis, for each of `count` screen pixels from `from`: the level
// pixels under it and the length of picture each gives it, in 1/64 pixel.
struct Taps {
    std::vector<int> first;  // per screen pixel, its taps' start in `at`; one more at the end
    std::vector<int> at;
    std::vector<std::uint32_t> weight;
};

Taps tapsOf(int from, int count, int origin, double perPixel, int factor, int length)
{
    Taps out;
    std::vector<Tap> one;
    out.first.assign(static_cast<std::size_t>(count) + 1, 0);
    for (int i = 0; i < count; ++i) {
        taps(from + i, origin, perPixel, factor, length, one);
        for (const Tap& t : one) {
            out.at.push_back(t.at);
            out.weight.push_back(static_cast<std::uint32_t>(std::lround(t.weight * 64)));
        }
        out.first[static_cast<std::size_t>(i) + 1] = static_cast<int>(out.at.size());
    }
    return out;
}

// At a halving each screen pixel is a whole block: one pixel of `source` (a
// level of `factor`), or the plain average of two by two. Writes the screen
// pixels of `area` whose blocks lie wholly inside the picture and returns
// them; nothing at any other zoom.
QRect wholeBlocks(const QImage& source, int whole, int factor, QPoint origin, QSize size, const QRect& area,
                  QImage& out)
{
    if (whole != factor && whole != 2 * factor)
        return {};
    const QRect blocks =
        QRect(origin, QPoint(origin.x() + size.width() / whole - 1, origin.y() + size.height() / whole - 1)) & area;
    const int m = whole / factor;
    for (int y = blocks.top(); y <= blocks.bottom(); ++y) {
        const int sy = (y - origin.y()) * m;
        const auto* r0 = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
        const auto* r1 = reinterpret_cast<const QRgb*>(source.constScanLine(sy + m - 1));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y - area.top()));
        for (int x = blocks.left(); x <= blocks.right(); ++x) {
            const int sx = (x - origin.x()) * m;
            if (m == 1) {
                line[x - area.left()] = r0[sx];
                continue;
            }
            const QRgb a = r0[sx], b = r0[sx + 1], c = r1[sx], d = r1[sx + 1];
            line[x - area.left()] = qRgb((qRed(a) + qRed(b) + qRed(c) + qRed(d) + 2) / 4,
                                         (qGreen(a) + qGreen(b) + qGreen(c) + qGreen(d) + 2) / 4,
                                         (qBlue(a) + qBlue(b) + qBlue(c) + qBlue(d) + 2) / 4);
        }
    }
    return blocks;
}

// One screen pixel: its taps' pixels of `source`, weighted; `beyond` where
// no picture is under it.
QRgb weightedPixel(const QImage& source, const Taps& across, int x, const Taps& down, int y, QRgb beyond)
{
    std::uint64_t red = 0, green = 0, blue = 0, n = 0;
    for (int j = down.first[static_cast<std::size_t>(y)]; j < down.first[static_cast<std::size_t>(y) + 1]; ++j) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(down.at[static_cast<std::size_t>(j)]));
        const std::uint32_t wy = down.weight[static_cast<std::size_t>(j)];
        for (int i = across.first[static_cast<std::size_t>(x)]; i < across.first[static_cast<std::size_t>(x) + 1]; ++i) {
            const std::uint32_t w = wy * across.weight[static_cast<std::size_t>(i)];
            const QRgb p = src[across.at[static_cast<std::size_t>(i)]];
            red += w * static_cast<std::uint32_t>(qRed(p));
            green += w * static_cast<std::uint32_t>(qGreen(p));
            blue += w * static_cast<std::uint32_t>(qBlue(p));
            n += w;
        }
    }
    return n == 0 ? beyond
                  : qRgb(static_cast<int>((red + n / 2) / n), static_cast<int>((green + n / 2) / n),
                         static_cast<int>((blue + n / 2) / n));
}

}  // namespace

void ReducedView::render(const QImage& kept, QSize size, double scale, QPoint origin, const QRect& area, QRgb beyond,
                         QImage& out)
{
    if (size != size_) {
        size_ = size;
        levels_.clear();
    }
    if (out.size() != area.size() || out.format() != QImage::Format_RGB32)
        out = QImage(area.size(), QImage::Format_RGB32);
    const double perPixel = 1 / scale;
    // The coarsest level no coarser than a screen pixel.
    int factor = 1;
    for (const int f : kFactors)
        if (f <= perPixel * (1 + 1e-9))
            factor = f;
    const QRect shownPicture(QPoint(static_cast<int>(std::floor((area.left() - origin.x()) * perPixel)),
                                    static_cast<int>(std::floor((area.top() - origin.y()) * perPixel))),
                             QPoint(static_cast<int>(std::ceil((area.right() + 1 - origin.x()) * perPixel)),
                                    static_cast<int>(std::ceil((area.bottom() + 1 - origin.y()) * perPixel))));
    const QImage& source = factor == 1 ? kept : level(kept, factor, blocksOf(shownPicture & QRect(QPoint(), size), factor));
    const int whole = static_cast<int>(std::lround(perPixel));
    const QRect blocks = whole == perPixel ? wholeBlocks(source, whole, factor, origin, size, area, out) : QRect();
    // Elsewhere, and at any other zoom: each level pixel under the screen
    // pixel, weighted by the length of picture it gives it.
    const Taps across = tapsOf(area.left(), area.width(), origin.x(), perPixel, factor, size.width());
    const Taps down = tapsOf(area.top(), area.height(), origin.y(), perPixel, factor, size.height());
    for (int y = 0; y < area.height(); ++y) {
        const bool rowInBlocks = y + area.top() >= blocks.top() && y + area.top() <= blocks.bottom();
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            if (rowInBlocks && x + area.left() >= blocks.left() && x + area.left() <= blocks.right())
                x = blocks.right() - area.left();
            else
                line[x] = weightedPixel(source, across, x, down, y, beyond);
        }
    }
}

}  // namespace kalidor
