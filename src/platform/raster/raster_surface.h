#pragma once
// A drawing surface kept in a persistent image. What is drawn stays until drawn
// over: it survives being covered, and a surface made smaller keeps the part it
// no longer shows, so that growing again brings it back. With its history on,
// it keeps what every step changed, in tiles, to undo and redo it.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QImage>
#include <QRect>

#include "platform/raster/changed_area.h"
#include "platform/raster/flood_fill.h"
#include "platform/raster/kept_image.h"
#include "platform/raster/line_raster.h"
#include "platform/raster/periodic_rows.h"
#include "platform/raster/segment_grid.h"
#include "platform/raster/tile_history.h"
#include "platform/history.h"
#include "platform/surface.h"

namespace kalidor {

class RasterSurface final : public Surface, public History {
public:
    // `border` is the width of the frame around the interior, counted in the outer size.
    RasterSurface(int outerWidth, int outerHeight, int border, Colour back);
    ~RasterSurface() override;

    void Line(float x1, float y1, float x2, float y2, Colour c, Shape shape = Shape::Segment,
              Corner corner = Corner::Absolute) override;
    void Paint(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c) override;
    void Fill(std::span<const PixelPoint> seeds, Colour c) override;

    // The two ways `Paint` fills a step's copies: each copy drawn in turn, or
    // the union of grids of copies in one pass (copy pen only; other modes
    // draw the grids' copies in turn).
    void Lines(std::span<const Segment> segments, Colour c);
    void GridLines(std::span<const SegmentGrid> grids, Colour c);
    void GridLines(const SegmentGrid& grid, Colour c) { GridLines(std::span(&grid, 1), c); }

    int16 DrawMode() const override { return drawMode_; }
    void SetDrawMode(int16 mode) override { drawMode_ = mode; }
    int16 DrawWidth() const override { return drawWidth_; }
    void SetDrawWidth(int16 width) override { drawWidth_ = width < 1 ? int16{1} : width; }

    std::int32_t Point(float x, float y) const override;

    Colour BackColor() const override { return back_; }
    void SetBackColor(Colour c) override;

    float ScaleWidth() const override { return static_cast<float>(width_); }
    float ScaleHeight() const override { return static_cast<float>(height_); }
    float Width() const override { return static_cast<float>(outerWidth_); }
    float Height() const override { return static_cast<float>(outerHeight_); }
    float KeptWidth() const override { return static_cast<float>(kept_.image().width()); }
    float KeptHeight() const override { return static_cast<float>(kept_.image().height()); }

    void SetPicture(const Picture& picture) override;
    Picture Image() const override;

    // The history, off until `keepHistory`: without it a step records nothing
    // and there is nothing to undo.
    void BeginStep(StepKind kind = StepKind::Stroke) override;
    void EndStep() override;
    bool Undo() override;
    bool Redo() override;
    bool CanUndo() const override { return history_ && history_->canUndo(); }
    bool CanRedo() const override { return history_ && history_->canRedo(); }
    long long PictureState() const override { return history_ ? history_->state() : 0; }

    // Platform side.
    void setOuterSize(int outerWidth, int outerHeight);
    int border() const { return border_; }
    // The whole persistent image; its top-left `ScaleWidth` x `ScaleHeight` is shown.
    const QImage& backing() const { return kept_.image(); }
    void keepHistory(TileHistory::Limits limits = {});
    const TileHistory* history() const { return history_.get(); }
    // Called before every write to the image, which another thread may be reading.
    void setWriteGate(std::function<void()> gate) { kept_.setWriteGate(std::move(gate)); }
    // Told the interior area that changed after every drawing call.
    void setChangedHandler(std::function<void(const QRegion&)> handler) { changed_ = std::move(handler); }

private:
    // Enlarges the kept picture to at least `size`, with background.
    void growKept(QSize size);
    ClipRect clip() const;
    // A lattice that fills the canvas's rows as patterns repeated along them
    // (periodic_rows.h); false where it cannot, having drawn nothing.
    bool repeatingRows(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c);
    class RowPainter;
    // Each copy of the operations' shapes drawn in turn, in one cell.
    void paintCopies(std::span<const Segment> shapes, std::span<const PointOp> ops, Colour c);
    // Writes the spans, keeping their tiles first unless `recorded`.
    QRect paint(const std::vector<Span>& spans, Colour c, bool recorded = false);
    void fillBox(const QRect& box, Colour c);
    // Before a write covering these rows of a grid's copies: their tiles kept.
    struct FormTiles;
    struct GridTiles;
    void keepGridRow(int y, std::span<const Span> spans, int form, bool dense);
    void notify(const QRect& r);
    void notify(const ChangedArea& area);
    // Tells what an undo or redo changed; true.
    bool repaint(const std::vector<QRect>& rects);
    // Before every pixel is replaced.
    void replacingAll();

    KeptImage kept_;
    int width_ = 0;
    int height_ = 0;
    int outerWidth_ = 0;
    int outerHeight_ = 0;
    int border_ = 0;
    Colour back_;
    int16 drawMode_ = kCopyPen;
    int16 drawWidth_ = 1;
    StepKind stepKind_ = StepKind::Stroke;  // of the open step
    std::vector<Span> spans_;
    std::vector<SegmentGrid> grids_;
    std::vector<Segment> copies_;
    std::vector<PointOp> ops_;
    std::vector<Span> base_;  // the first operation's pixels, shape by shape, for the others to take
    std::vector<Span> fillRuns_;  // what a fill wrote, region by region
    std::vector<FilledRegion> fillRegions_;
    std::vector<std::size_t> baseFrom_;
    std::function<void(const QRegion&)> changed_;
    std::unique_ptr<TileHistory> history_;
    std::unique_ptr<GridTiles> gridTiles_;  // what a grid step handed the history
    PeriodicScratch periodic_;
};

}  // namespace kalidor
