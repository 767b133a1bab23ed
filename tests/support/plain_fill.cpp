#include "support/plain_fill.h"

#include <algorithm>
#include <cstdlib>
#include <queue>
#include <string>

namespace kalidor::test {

QImage filledPlainly(const QImage& before, const std::vector<PixelPoint>& seeds, Colour c)
{
    QImage after = before.copy();
    const QRgb value = toPixel(c);
    const int w = before.width(), h = before.height();
    auto was = [&](int x, int y) { return reinterpret_cast<const QRgb*>(before.constScanLine(y))[x]; };
    auto is = [&](int x, int y) -> QRgb& { return reinterpret_cast<QRgb*>(after.scanLine(y))[x]; };
    std::vector<char> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    auto at = [&](int x, int y) -> char& { return seen[static_cast<std::size_t>(y) * w + x]; };
    for (const PixelPoint& s : seeds) {
        if (s.x < 0 || s.y < 0 || s.x >= w || s.y >= h)
            continue;
        const QRgb target = was(s.x, s.y);
        if (target == value || at(s.x, s.y))
            continue;
        std::queue<PixelPoint> next;
        next.push(s);
        at(s.x, s.y) = 1;
        while (!next.empty()) {
            const PixelPoint p = next.front();
            next.pop();
            is(p.x, p.y) = value;
            for (const PixelPoint q : {PixelPoint{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}}) {
                if (q.x < 0 || q.y < 0 || q.x >= w || q.y >= h || at(q.x, q.y) || was(q.x, q.y) != target)
                    continue;
                at(q.x, q.y) = 1;
                next.push(q);
            }
        }
    }
    return after;
}

std::string checkIsAFill(const QImage& before, const QImage& after, QRgb target, QRgb c)
{
    if (before.size() != after.size())
        return "the fill changed the picture's size";
    const int w = before.width(), h = before.height();
    auto changed = [&](int x, int y) {
        return reinterpret_cast<const QRgb*>(before.constScanLine(y))[x] !=
               reinterpret_cast<const QRgb*>(after.constScanLine(y))[x];
    };
    auto at = [](int x, int y) { return " at (" + std::to_string(x) + ", " + std::to_string(y) + ")"; };
    for (int y = 0; y < h; ++y) {
        const auto* was = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* is = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (was[x] != is[x]) {
                if (was[x] != target || is[x] != c)
                    return "a pixel of another colour changed" + at(x, y);
                continue;
            }
            if (is[x] != target)
                continue;
            if ((x > 0 && changed(x - 1, y)) || (x + 1 < w && changed(x + 1, y)) || (y > 0 && changed(x, y - 1)) ||
                (y + 1 < h && changed(x, y + 1)))
                return "the fill stopped short of a pixel of its colour" + at(x, y);
        }
    }
    return {};
}

int farness(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

std::string checkReachingFill(const QImage& before, const QImage& after, QRgb target, QRgb c, int tolerance, bool soft)
{
    if (before.size() != after.size())
        return "the fill changed the picture's size";
    const int w = before.width(), h = before.height();
    // The regions: pixels within reach of the pressed colour that took the new one.
    auto region = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && after.pixel(x, y) == c && before.pixel(x, y) != c &&
               farness(before.pixel(x, y), target) <= 2 * tolerance;
    };
    auto at = [](int x, int y) { return " at (" + std::to_string(x) + ", " + std::to_string(y) + ")"; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (before.pixel(x, y) == after.pixel(x, y) || region(x, y))
                continue;
            if (!soft)
                return "a pixel beyond the tolerance changed" + at(x, y);
            // A soft edge's pixel, painted again over the new colour.
            bool near = false;
            for (int j = y - 3; j <= y + 3 && !near; ++j)
                for (int i = x - 3; i <= x + 3 && !near; ++i)
                    near = region(i, j);
            if (!near)
                return "a pixel away from the region changed" + at(x, y);
        }
    return {};
}

}  // namespace kalidor::test
