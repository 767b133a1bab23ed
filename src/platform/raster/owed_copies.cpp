// Copies a view does not show, owed until the picture is read. A lattice's
// step on a picture far larger than its view costs the whole picture's area;
// drawn only where the view shows, the stroke keeps up with the pointer, and
// the rest is drawn once, for all its steps together, when the step ends or
// anything else touches the picture. In copy pen a pixel takes the ink if any
// copy of any step covers it, so the union drawn later is the same pixels as
// every step drawn at once. Where the lattice's copies repeat, that union is
// drawn once in a picture of one repeat and laid over the rest.
#include <algorithm>

#include "platform/raster/lattice_repeat.h"
#include "platform/raster/raster_surface.h"

namespace kalidor {

namespace {

// Past this many shapes owed, they are drawn at once: a longer stroke would
// make the end of its step wait too long.
constexpr std::size_t kMostOwedShapes = 4096;

// How many of the latest steps owed a step may join.
constexpr std::size_t kLatestOwed = 32;

// Rows of the picture whose clean part is found at once.
constexpr int kSlab = 256;

long long area(const ClipRect& r)
{
    return r.x1 < r.x0 || r.y1 < r.y0 ? 0 : static_cast<long long>(r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1);
}

bool same(const ClipRect& a, const ClipRect& b) { return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1; }

// The kept picture less the live part within it, as up to four rectangles.
std::vector<ClipRect> around(const ClipRect& whole, const ClipRect& live)
{
    std::vector<ClipRect> out{
        {whole.x0, whole.y0, whole.x1, live.y0 - 1},
        {whole.x0, live.y1 + 1, whole.x1, whole.y1},
        {whole.x0, live.y0, live.x0 - 1, live.y1},
        {live.x1 + 1, live.y0, whole.x1, live.y1},
    };
    std::erase_if(out, [](const ClipRect& r) { return area(r) == 0; });
    return out;
}

// `whole` less `part`, as up to four rectangles.
std::vector<ClipRect> minus(const ClipRect& whole, const ClipRect& part)
{
    const ClipRect in{std::max(whole.x0, part.x0), std::max(whole.y0, part.y0), std::min(whole.x1, part.x1),
                      std::min(whole.y1, part.y1)};
    if (area(in) == 0)
        return area(whole) == 0 ? std::vector<ClipRect>{} : std::vector<ClipRect>{whole};
    return around(whole, in);
}

// Row `y` of `repeat`, its covered pixels, laid across x0 .. x1 from the
// picture's left edge, where the repeat starts.
void repeatedRow(const QImage& repeat, int y, int x0, int x1, std::vector<Span>& out)
{
    out.clear();
    const auto* row = reinterpret_cast<const QRgb*>(repeat.constScanLine(y));
    const int side = repeat.width();
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < side; ++x)
        if ((row[x] & 0xFFFFFFu) != 0xFFFFFFu) {
            if (!runs.empty() && runs.back().second == x - 1)
                runs.back().second = x;
            else
                runs.emplace_back(x, x);
        }
    for (int from = x0 - x0 % side; from <= x1; from += side)
        for (const auto& [a, b] : runs) {
            const int left = std::max(from + a, x0), right = std::min(from + b, x1);
            if (left > right)
                continue;
            if (!out.empty() && out.back().x1 + 1 == left)
                out.back().x1 = right;
            else
                out.push_back(Span{0, left, right});
        }
}

}  // namespace

RasterSurface::~RasterSurface()
{
    picture_.settle();
    picture_.forget(handler_);
}

void RasterSurface::setLive(const QRect& shown)
{
    if (shown == live_)
        return;
    picture_.settle();  // what comes into view is finished
    live_ = shown;
}

bool RasterSurface::defers(const Symmetry& symmetry) const
{
    // A smooth stroke keeps what it found under every pixel it reaches, so
    // it is drawn where it falls.
    if (live_.isEmpty() || symmetry.oneCell() || drawMode_ != kCopyPen || smooth_)
        return false;
    const ClipRect kept = keptClip();
    const QRect shown = live_ & QRect(0, 0, kept.x1 + 1, kept.y1 + 1);
    return 2LL * shown.width() * shown.height() < area(kept);
}

void RasterSurface::Paint(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c)
{
    if (shapes.empty())
        return;
    if (!defers(symmetry)) {
        picture_.settle();
        paintNow(shapes, symmetry, c);
        return;
    }
    const ClipRect kept = keptClip();
    const QRect shown = live_ & QRect(0, 0, kept.x1 + 1, kept.y1 + 1);
    const ClipRect live = shown.isEmpty() ? ClipRect{0, 0, -1, -1}
                                          : ClipRect{shown.left(), shown.top(), shown.right(), shown.bottom()};
    owe(shapes, symmetry, c, live);
    if (area(live) > 0) {
        limit_ = live;
        paintNow(shapes, symmetry, c);
        limit_.reset();
    }
    if (owedShapes_ > kMostOwedShapes)
        picture_.settle();
}

void RasterSurface::owe(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c, const ClipRect& live)
{
    // Among the latest steps of the same ink, one of the same symmetry takes
    // the shapes: a stroke back and forth over a few cells owes a few steps.
    auto alike = [&](const Owed& o) {
        return o.colour == c && o.width == drawWidth_ && same(o.live, live);
    };
    Owed* into = nullptr;
    for (std::size_t back = 0; back < std::min<std::size_t>(owed_.size(), kLatestOwed) && !into; ++back) {
        Owed& o = owed_[owed_.size() - 1 - back];
        if (!alike(o))
            break;
        if (o.symmetry == symmetry)
            into = &o;
    }
    if (!into)
        into = &owed_.emplace_back(Owed{symmetry, c, drawWidth_, live, {}});
    into->shapes.insert(into->shapes.end(), shapes.begin(), shapes.end());
    owedShapes_ += shapes.size();
    picture_.owe([this] { settleOwed(); });
}

void RasterSurface::settleOwed()
{
    std::vector<Owed> owed = std::exchange(owed_, {});
    owedShapes_ = 0;
    // The pen as the steps had it, and as it is after.
    struct Pen {
        RasterSurface& s;
        int16 width = s.drawWidth_, mode = s.drawMode_;
        ~Pen()
        {
            s.drawWidth_ = width, s.drawMode_ = mode;
            s.limit_.reset();
        }
    } pen{*this};
    const ClipRect kept = keptClip();
    for (std::size_t i = 0; i < owed.size();) {
        const Owed& o = owed[i];
        drawWidth_ = o.width, drawMode_ = kCopyPen;
        if (const std::size_t laid = settleRepeated(owed, i, kept)) {
            i += laid;
            continue;
        }
        paintAround(o, kept);
        ++i;
    }
}

void RasterSurface::paintAround(const Owed& o, const ClipRect& kept)
{
    for (const ClipRect& r : minus(kept, o.live)) {
        limit_ = r;
        paintNow(o.shapes, o.symmetry, o.colour);
    }
    limit_.reset();
}

std::size_t RasterSurface::settleRepeated(std::span<const Owed> owed, std::size_t from, const ClipRect& kept)
{
    // Where a lattice's cells are every copy the endless lattice would put
    // there, its copies repeat: the steps that share a repeat, a colour, a
    // width and a live part are drawn once in a picture of one repeat and
    // laid over those clean parts row by row. Nearer the edges, where the
    // cells stop short, each step's copies are drawn where they fall, which in
    // copy pen is the same union. The parts are found band by band of rows,
    // as a slanting lattice stops short at different places down the picture.
    const Owed& first = owed[from];
    const std::optional<QSize> repeat = latticeRepeat(first.symmetry.lattice);
    if (!repeat)
        return 0;
    std::size_t end = from;
    while (end < owed.size() && owed[end].colour == first.colour &&
           owed[end].width == first.width && same(owed[end].live, first.live) &&
           latticeRepeat(owed[end].symmetry.lattice) == repeat)
        ++end;
    const int tx = repeat->width(), ty = repeat->height();
    const int slab = std::max(kSlab, 2 * ty);
    std::vector<ClipRect> bands, clean;
    std::optional<QPoint> at;  // a repeat's place in a clean part, whole repeats from the corner
    for (int y = kept.y0; y <= kept.y1; y += slab) {
        const QRect band(QPoint(kept.x0, y), QPoint(kept.x1, std::min(kept.y1, y + slab - 1)));
        QRect part = band;
        for (std::size_t k = from; k < end && !part.isEmpty(); ++k)
            part &= cleanPart(owed[k].shapes, owed[k].symmetry, owed[k].width, 2, band);
        bands.push_back(ClipRect{band.left(), band.top(), band.right(), band.bottom()});
        clean.push_back(part.isEmpty() ? ClipRect{0, 0, -1, -1}
                                       : ClipRect{part.left(), part.top(), part.right(), part.bottom()});
        const int vx = (part.left() + tx - 1) / tx * tx, vy = (part.top() + ty - 1) / ty * ty;
        if (!at && !part.isEmpty() && vx + tx - 1 <= part.right() && vy + ty - 1 <= part.bottom())
            at = QPoint(vx, vy);
    }
    if (!at || static_cast<long long>(at->x() + tx) * (at->y() + ty) > 4LL * tx * ty + (1 << 22))
        return 0;
    const QImage drawn = drawnRepeat(owed.subspan(from, end - from), QRect(*at, *repeat));
    for (std::size_t b = 0; b < bands.size(); ++b) {
        for (const ClipRect& r : minus(clean[b], first.live))
            layRepeat(drawn, first.colour, r);
        for (const ClipRect& rest : minus(bands[b], clean[b]))
            for (const ClipRect& r : minus(rest, first.live))
                for (std::size_t k = from; k < end; ++k) {
                    limit_ = r;
                    paintNow(owed[k].shapes, owed[k].symmetry, owed[k].colour);
                }
    }
    limit_.reset();
    return end - from;
}

QImage RasterSurface::drawnRepeat(std::span<const Owed> owed, const QRect& place)
{
    // Drawn where it is, not moved: a copy moved by whole pixels may round
    // otherwise.
    RasterSurface one(place.right() + 1, place.bottom() + 1, 0, 0xFFFFFF);
    one.SetDrawWidth(owed.front().width);
    one.limit_ = ClipRect{place.left(), place.top(), place.right(), place.bottom()};
    for (const Owed& o : owed)
        one.paintNow(o.shapes, o.symmetry, 0);
    return one.backing().copy(place);
}

void RasterSurface::layRepeat(const QImage& drawn, Colour c, const ClipRect& r)
{
    std::vector<std::vector<Span>> forms(static_cast<std::size_t>(drawn.height()));
    PixelWriter::Call call(picture_.writer(), ink(c), true);
    call.beginRows();
    for (int y = r.y0; y <= r.y1; ++y) {
        const int form = y % drawn.height();
        std::vector<Span>& spans = forms[static_cast<std::size_t>(form)];
        if (spans.empty())
            repeatedRow(drawn, form, r.x0, r.x1, spans);
        if (!spans.empty())
            call(GridRow{y, form, spans});
    }
}

}  // namespace kalidor
