#include "platform/raster/pixel_writer.h"

#include <algorithm>
#include <bit>

#include <QPainter>

#include "platform/raster/grid_tiles.h"
#include "platform/raster/pixel_runs.h"

namespace kalidor {

namespace {

// A row whose runs and gaps average under this many pixels is written through
// a mask: with a bit a pixel, a masked row costs about what a plain fill does,
// and less than a call for each run from about this length down.
constexpr std::size_t kDenseRun = 32;
// A row of more copies than this keeps the tiles across all of them at once.
constexpr std::size_t kFewCopies = 32;

void writeRun(QRgb* at, int length, const Ink& ink)
{
    if (ink.blend == Blend::Invert)
        invertRun(at, length);
    else
        fillRun(at, length, ink.pixel);
}

// The tile columns the spans lie in, a bit each.
void tileColumns(std::span<const Span> spans, std::vector<std::uint64_t>& out)
{
    std::fill(out.begin(), out.end(), 0);
    for (const Span& s : spans)
        for (int tx = s.x0 / TileHistory::kTileSide; tx <= s.x1 / TileHistory::kTileSide; ++tx) {
            const auto word = static_cast<std::size_t>(tx / 64);
            if (word >= out.size())
                out.resize(word + 1, 0);
            out[word] |= std::uint64_t{1} << (tx % 64);
        }
}

}  // namespace

PixelWriter::PixelWriter(KeptImage& image, std::function<void(const QRegion&)> report)
    : image_(image), report_(std::move(report))
{
}

PixelWriter::~PixelWriter() = default;

QRect PixelWriter::write(std::span<const Span> spans, Ink ink, bool recorded)
{
    if (spans.empty())
        return {};
    int left = spans.front().x0, right = spans.front().x1;
    int top = spans.front().y, bottom = spans.front().y;
    QImage& image = image_.pixels();
    PixelRows rows(image);
    for (const Span& s : spans) {
        if (history_ && !recorded)
            history_->touchRow(image, s.y, s.x0, s.x1);
        writeRun(rows[s.y] + s.x0, s.x1 - s.x0 + 1, ink);
        left = std::min(left, s.x0);
        right = std::max(right, s.x1);
        top = std::min(top, s.y);
        bottom = std::max(bottom, s.y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void PixelWriter::report(const QRect& r)
{
    const QRect shown = r & shown_;
    if (report_ && !shown.isEmpty())
        report_(QRegion(shown));
}

void PixelWriter::report(const ChangedArea& area)
{
    if (!report_)
        return;
    const QRegion shown = area.region() & shown_;
    if (!shown.isEmpty())
        report_(shown);
}

PixelWriter::Call::Call(PixelWriter& writer, Ink ink, bool manyCopies) : w_(writer), ink_(ink)
{
    if (manyCopies)
        changed_.byBands();
}

PixelWriter::Call::~Call()
{
    ++w_.writes_;
    w_.report(changed_);
}

void PixelWriter::Call::runs(std::span<const Span> spans) { changed_.add(w_.write(spans, ink_)); }

void PixelWriter::Call::beginRows()
{
    if (!w_.gridTiles_)
        w_.gridTiles_ = std::make_unique<GridTiles>();
    w_.gridTiles_->start();
    rows_.emplace(w_.image_.pixels());
}

void PixelWriter::Call::operator()(const GridRow& row)
{
    if (!rows_)
        beginRows();
    const int x0 = row.spans.front().x0;
    const int length = row.spans.back().x1 - x0 + 1;
    const bool dense = row.spans.size() * kDenseRun > static_cast<std::size_t>(length);
    if (w_.history_)
        w_.keepGridRow(row.y, row.spans, row.form, dense);
    QRgb* line = (*rows_)[row.y];
    changed_.addRow(row.y, row.spans, row.form);
    if (ink_.blend == Blend::Invert) {
        for (const Span& sp : row.spans)
            invertRun(line + sp.x0, sp.x1 - sp.x0 + 1);
        return;
    }
    if (row.form >= 0 && dense) {
        if (masks_.size() <= static_cast<std::size_t>(row.form))
            masks_.resize(static_cast<std::size_t>(row.form) + 1);
        auto& mask = masks_[static_cast<std::size_t>(row.form)];
        if (mask.empty()) {
            mask.assign(static_cast<std::size_t>(length + 15) / 16, 0);
            for (const Span& sp : row.spans)
                setMaskBits(mask.data(), sp.x0 - x0, sp.x1 - x0);
        }
        maskedFillRun(line + x0, mask.data(), length, ink_.pixel);
        return;
    }
    for (const Span& sp : row.spans)
        fillRun(line + sp.x0, sp.x1 - sp.x0 + 1, ink_.pixel);
}

void PixelWriter::keepGridRow(int y, std::span<const Span> spans, int form, bool dense)
{
    const QImage& image = image_.image();
    // Dense rows, and rows of many copies, keep the tiles across all of them;
    // a few copies far apart keep their own tiles only, not those between them.
    if (dense || spans.size() > kFewCopies) {
        history_->touchRow(image, y, spans.front().x0, spans.back().x1);
        return;
    }
    if (form < 0) {
        history_->touchSpans(image, y, spans);
        return;
    }
    GridTiles& g = *gridTiles_;
    const auto at = static_cast<std::size_t>(form);
    if (g.forms.size() <= at)  // grown by halves, not a form at a time
        g.forms.resize(std::max(at + 1, 2 * g.forms.size()));
    FormTiles& tiles = g.forms[at];
    if (!tiles.known) {
        tileColumns(spans, tiles.columns);
        tiles.known = true;
    }
    // The rows of one form lie in the same tiles of a row of tiles.
    const int tileRow = y / TileHistory::kTileSide;
    if (tiles.tileRow == tileRow)
        return;
    tiles.tileRow = tileRow;
    if (g.row != tileRow) {
        std::fill(g.handed.begin(), g.handed.end(), 0);
        g.row = tileRow;
    }
    if (g.handed.size() < tiles.columns.size())
        g.handed.resize(tiles.columns.size(), 0);
    g.columns.clear();
    for (std::size_t w = 0; w < tiles.columns.size(); ++w) {
        for (std::uint64_t fresh = tiles.columns[w] & ~g.handed[w]; fresh != 0; fresh &= fresh - 1)
            g.columns.push_back(static_cast<int>(w * 64) + std::countr_zero(fresh));
        g.handed[w] |= tiles.columns[w];
    }
    if (!g.columns.empty())
        history_->touchTiles(image, tileRow, g.columns);
}

void PixelWriter::box(const QRect& box, Ink ink)
{
    ++writes_;
    bool recorded = false;
    if (history_ && stepKind_ == StepKind::New) {
        keepReplaced();
        recorded = true;
    } else if (history_ && stepKind_ == StepKind::Invert && ink.blend == Blend::Invert) {
        recorded = history_->inverting(image_.image(), box);
    }
    if (ink.blend == Blend::CopyPen && box == image_.image().rect()) {
        if (history_ && !recorded)
            history_->touchRect(image_.image(), box);
        image_.fill(ink.pixel);
        report(box);
        return;
    }
    spans_.clear();
    for (int y = box.top(); y <= box.bottom(); ++y)
        spans_.push_back(Span{y, box.left(), box.right()});
    report(write(spans_, ink, recorded));
}

void PixelWriter::keepReplaced()
{
    if (!history_)
        return;
    const std::optional<QRgb> plain = image_.plain();
    history_->replacingAll(image_.pixels(), plain);
}

void PixelWriter::replaceAll(std::uint32_t pixel, const QImage* over)
{
    ++writes_;
    keepReplaced();
    image_.fill(pixel);
    if (over && !over->isNull())
        QPainter(&image_.pixels()).drawImage(0, 0, *over);
    report(shown_);
}

void PixelWriter::grow(QSize size, std::uint32_t background)
{
    ++writes_;
    const QSize before = image_.image().size();
    image_.growTo(size, background);
    if (history_ && image_.image().size() != before)
        history_->grown(image_.image());
}

bool PixelWriter::undo() { return history_ && history_->canUndo() && restored(history_->undo(image_.pixels())); }

bool PixelWriter::redo() { return history_ && history_->canRedo() && restored(history_->redo(image_.pixels())); }

bool PixelWriter::restored(const std::vector<QRect>& rects)
{
    ++writes_;
    stepKind_ = StepKind::Stroke;  // the open step, if any, ended first
    ChangedArea changed;
    for (const QRect& r : rects)
        changed.add(r);
    report(changed);
    return true;
}

}  // namespace kalidor
