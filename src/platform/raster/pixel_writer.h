#pragma once
// The one place where a picture's pixels are written. Every write tells the
// history first what it is about to change (the tiles it writes, or that it
// replaces the whole picture, inverts a rectangle, fills regions), then writes
// with the blend asked, then reports the area it changed. The shapes that
// reach it are runs of whole pixels (`Span`), or a smooth shape's coverage of
// each pixel, blended over the picture as one stroke (smooth_stroke.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QImage>
#include <QRect>
#include <QRegion>

#include "platform/document.h"
#include "platform/history.h"
#include "platform/raster/changed_area.h"
#include "platform/raster/coverage_raster.h"
#include "platform/raster/flood_fill.h"
#include "platform/raster/grid_raster.h"
#include "platform/raster/kept_image.h"
#include "platform/raster/line_raster.h"
#include "platform/raster/smooth_stroke.h"
#include "platform/raster/tile_history.h"

namespace kalidor {

// How written pixels combine with the picture.
enum class Blend {
    CopyPen,  // the pixel takes the ink's colour
    Invert,   // the pixel takes its complement; the ink's colour plays no part
};

struct Ink {
    Blend blend = Blend::CopyPen;
    std::uint32_t pixel = 0;  // 0xFFRRGGBB
};

class PixelWriter {
public:
    // Writes `image`, and tells `report` what each drawing call changed of the
    // part shown (setShown).
    PixelWriter(KeptImage& image, std::function<void(const QRegion&)> report);
    ~PixelWriter();
    PixelWriter(const PixelWriter&) = delete;
    PixelWriter& operator=(const PixelWriter&) = delete;

    // The history the writes are kept in, or none, and what the open step is.
    void setHistory(TileHistory* history) { history_ = history; }
    void setStepKind(StepKind kind) { stepKind_ = kind; }
    // The part of the picture whose changes are reported: the picture's size.
    void setShown(const QRect& shown) { shown_ = shown; }
    // How far a fill's regions reach: the whole image, or where the picture
    // has a size of its own, that size.
    void setReach(std::optional<QSize> reach) { reach_ = reach; }

    // One drawing call's writes, each keeping its tiles before it writes; the
    // area they changed is reported once, when the call ends.
    class Call {
    public:
        // With `manyCopies`, more copies than rectangles to show them: rows
        // are reported whole, in bands.
        Call(PixelWriter& writer, Ink ink, bool manyCopies = false);
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

        // One shape's runs: the box around them changed.
        void runs(std::span<const Span> spans);
        // Before the rows of a lattice's copies: the picture is about to be
        // written, whether or not a row comes.
        void beginRows();
        // One row of a lattice's copies, each pixel once (grid_raster.h).
        void operator()(const GridRow& row);
        // A smooth shape's coverage moved by (dx, dy), within `clip`: each
        // pixel it covers more than the stroke has so far takes the ink over
        // the pixel the stroke found there, by that coverage.
        void coverage(const Coverage& shape, int dx, int dy, SmoothStroke& stroke, const QRect& clip);
        // The same for a tile of coverage repeated over the whole clip.
        void coverage(const CoverageTile& tile, SmoothStroke& stroke, const QRect& clip);

    private:
        // Row y's pixels x0 to x1 covered by `values`, four for each.
        void coverRun(int y, int x0, int x1, const std::uint8_t* values, SmoothStroke& stroke);
        QRect coverReach(const QRect& clip, const SmoothStroke& stroke) const;

        PixelWriter& w_;
        const Ink ink_;
        ChangedArea changed_;
        std::optional<PixelRows> rows_;
        // Rows of many short runs (the tiniest cells) are written through a
        // mask of their form, made once and laid over every row of that form.
        std::vector<std::vector<std::uint16_t>> masks_;
    };

    // A box of the picture, kept by what the step is: New keeps the picture
    // it replaces (or its colour), Invert just the rectangle; any other step
    // the tiles.
    void box(const QRect& box, Ink ink);
    // Every pixel `pixel`, then `over` drawn at the top-left corner, where
    // given (its transparent parts show the colour): the history keeps the
    // picture replaced.
    void replaceAll(std::uint32_t pixel, const QImage* over = nullptr);
    // Fills each seed's region with `value` (Document::Fill).
    void fill(std::span<const PixelPoint> seeds, std::uint32_t value);
    // The same with a tolerance and soft edges (FillReach, soft_fill.h).
    void fillReaching(std::span<const PixelPoint> seeds, std::uint32_t value, FillReach reach);
    // The picture grown to at least `size`, what it grows by `background`.
    void grow(QSize size, std::uint32_t background);
    // Undoes or redoes a step of the history; false where there is none.
    bool undo();
    bool redo();
    // How many writes so far: whoever keeps what it found in the picture
    // (a smooth stroke) sees whether another wrote since.
    std::uint64_t writes() const { return writes_; }

private:
    // Writes the spans, keeping their tiles first unless `recorded`; the box
    // around them.
    QRect write(std::span<const Span> spans, Ink ink, bool recorded = false);
    void report(const QRect& r);
    void report(const ChangedArea& area);
    bool restored(const std::vector<QRect>& rects);
    // Before a write covering these rows of a lattice's copies: their tiles kept.
    struct FormTiles;
    struct GridTiles;
    void keepGridRow(int y, std::span<const Span> spans, int form, bool dense);
    void keepReplaced();

    KeptImage& image_;
    std::uint64_t writes_ = 0;
    std::function<void(const QRegion&)> report_;
    TileHistory* history_ = nullptr;
    StepKind stepKind_ = StepKind::Stroke;
    QRect shown_;
    std::optional<QSize> reach_;
    std::vector<Span> spans_;
    std::vector<Span> fillRuns_;  // what a fill wrote, region by region
    std::vector<FilledRegion> fillRegions_;
    std::unique_ptr<GridTiles> gridTiles_;  // what a lattice's rows handed the history
};

}  // namespace kalidor
