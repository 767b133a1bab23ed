#pragma once
// A drawing surface over a picture document: the pen (width and drawing mode)
// and the rasterisers that turn lines and a step's copies into runs of pixels
// for the picture's pixel writer. A surface keeps a picture of its own that
// follows its size (the palette, the window, a test), or draws on one that
// another keeps and sizes (the canvas, whose picture the window's resize rule
// sizes).

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QImage>
#include <QRect>

#include "platform/raster/line_raster.h"
#include "platform/raster/periodic_rows.h"
#include "platform/raster/picture_document.h"
#include "platform/raster/segment_grid.h"
#include "platform/raster/smooth_drawings.h"
#include "platform/raster/smooth_stroke.h"
#include "platform/history.h"
#include "platform/surface.h"

namespace kalidor {

class RasterSurface final : public Surface, public History {
public:
    // A picture of its own, its size the interior of the outer size given:
    // `border` is the width of the frame around the interior.
    RasterSurface(int outerWidth, int outerHeight, int border, Colour back);
    // Draws on `picture`, which the caller keeps and sizes.
    RasterSurface(PictureDocument& picture, int outerWidth, int outerHeight, int border);
    ~RasterSurface() override;

    void Line(float x1, float y1, float x2, float y2, Colour c, Shape shape = Shape::Segment,
              Corner corner = Corner::Absolute) override;
    void Paint(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c) override;

    // The part of the picture a view shows. Where the picture is much larger,
    // a lattice's copies in copy pen (hard lines) are drawn there at once and owed
    // elsewhere: the picture draws them before anything reads or writes it,
    // and at the end of the step (picture_document.h). Empty: all at once.
    void setLive(const QRect& shown);
    const QRect& live() const { return live_; }
    // Draws now every copy owed.
    void settleOwed();

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
    void SetSmooth(bool smooth) override;
    bool Smooth() const override { return smooth_; }

    std::int32_t Point(float x, float y) const override { return picture_.Point(x, y); }

    Colour BackColor() const override { return picture_.background(); }
    void SetBackColor(Colour c) override { picture_.setBackground(c); }

    float ScaleWidth() const override { return static_cast<float>(picture_.Width()); }
    float ScaleHeight() const override { return static_cast<float>(picture_.Height()); }
    float Width() const override { return static_cast<float>(outerWidth_); }
    float Height() const override { return static_cast<float>(outerHeight_); }
    float KeptWidth() const override { return static_cast<float>(picture_.KeptWidth()); }
    float KeptHeight() const override { return static_cast<float>(picture_.KeptHeight()); }

    void SetPicture(const Picture& picture) override { picture_.SetPicture(picture); }
    Picture Image() const override { return picture_.Image(); }

    // The picture's history, for a surface drawn on by itself.
    void BeginStep(StepKind kind = StepKind::Stroke) override { picture_.BeginStep(kind); }
    void EndStep() override { picture_.EndStep(); }
    bool Undo() override { return picture_.Undo(); }
    bool Redo() override { return picture_.Redo(); }
    bool CanUndo() const override { return picture_.CanUndo(); }
    bool CanRedo() const override { return picture_.CanRedo(); }
    long long PictureState() const override { return picture_.PictureState(); }
    void keepHistory(TileHistory::Limits limits = {}) { picture_.keepHistory(limits); }
    const TileHistory* history() const { return picture_.history(); }
    void Fill(std::span<const PixelPoint> seeds, Colour c, FillReach reach = {}) { picture_.Fill(seeds, c, reach); }
    // Told the interior area that changed after every drawing call.
    void setChangedHandler(std::function<void(const QRegion&)> handler);

    // Platform side.
    PictureDocument& document() { return picture_; }
    const PictureDocument& document() const { return picture_; }
    // The control's size, border included; a picture of the surface's own
    // follows its interior.
    void setOuterSize(int outerWidth, int outerHeight);
    int border() const { return border_; }
    // The whole persistent image; its top-left `ScaleWidth` x `ScaleHeight` is the picture.
    const QImage& backing() const { return picture_.kept(); }

private:
    // Steps alike but for their shapes, owed as one: in copy pen the union of
    // the copies is the same whatever the order.
    struct Owed {
        Symmetry symmetry;
        Colour colour = 0;
        int16 width = 1;
        ClipRect live{0, 0, -1, -1};
        std::vector<Segment> shapes;
    };
    // The kept picture, or the part of it drawn now while copies are owed.
    ClipRect clip() const;
    ClipRect keptClip() const;
    // Whether the step's copies beyond the live part are owed.
    bool defers(const Symmetry& symmetry) const;
    void owe(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c, const ClipRect& live);
    void paintNow(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c);
    // An owed step's copies drawn beyond the live part.
    void paintAround(const Owed& o, const ClipRect& kept);
    // Owed steps from `from` on laid as one repeat of their lattice, where
    // their copies repeat over the whole picture: how many it settled, 0
    // having drawn nothing.
    std::size_t settleRepeated(std::span<const Owed> owed, std::size_t from, const ClipRect& kept);
    // The steps' copies within `place`, a repeat's place, in ink on white.
    static QImage drawnRepeat(std::span<const Owed> owed, const QRect& place);
    // One repeat's pixels laid over `r` from the picture's corner.
    void layRepeat(const QImage& drawn, Colour c, const ClipRect& r);
    Ink ink(Colour c) const { return Ink{drawMode_ == kInvertPen ? Blend::Invert : Blend::CopyPen, toPixel(c)}; }
    // A lattice that fills the canvas's rows as patterns repeated along them
    // (periodic_rows.h); false where it cannot, having drawn nothing.
    bool repeatingRows(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c);
    // Each copy of the operations' shapes drawn in turn, in one cell.
    void paintCopies(std::span<const Segment> shapes, std::span<const PointOp> ops, Colour c);
    // Every copy with soft edges, as one shape with the stroke's others
    // (smooth_paint.cpp).
    void paintSmooth(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c);
    void smoothCopies(std::span<const Segment> shapes, const Symmetry& symmetry, const QRect& reach,
                      PixelWriter::Call& call, bool oneCell);
    // A lattice's copies laid into one period and repeated, where that is
    // the same and cheaper; false, having drawn nothing, elsewhere.
    bool smoothPeriod(std::span<const Segment> shapes, const Symmetry& symmetry, const QRect& reach,
                      PixelWriter::Call& call);
    // Whether every copy the endless lattice would put within the reach is
    // one of the lattice's cells, so that repeating one period is the same.
    bool latticeCoversReach(std::span<const Segment> shapes, const Symmetry& symmetry, const QRect& reach);
    // Shape k's copy under operation o at a phase: its own coverage moved
    // where the operation maps pixels, else drawn at its mapped place.
    const Coverage& smoothDrawing(std::size_t o, std::size_t k, const Segment& shape, const PointOp& op, int px, int py,
                                  const QRect* limit);

    std::unique_ptr<PictureDocument> own_;  // where the surface keeps its own picture
    PictureDocument& picture_;
    int outerWidth_ = 0;
    int outerHeight_ = 0;
    int border_ = 0;
    int16 drawMode_ = kCopyPen;
    int16 drawWidth_ = 1;
    int handler_ = 0;  // the listener `setChangedHandler` set
    std::vector<Span> spans_;
    std::vector<SegmentGrid> grids_;
    std::vector<Segment> copies_;
    std::vector<PointOp> ops_;
    std::vector<Span> base_;  // the first operation's pixels, shape by shape, for the others to take
    std::vector<std::size_t> baseFrom_;
    PeriodicScratch periodic_;
    bool smooth_ = false;
    SmoothStroke stroke_;
    std::unique_ptr<SmoothDrawings> smoothScratch_;
    QRect ownLimit_;  // what the step's pixel maps take onto the canvas, mapped back
    QRect live_;
    std::optional<ClipRect> limit_;  // where a step draws while the rest is owed
    std::vector<Owed> owed_;
    std::size_t owedShapes_ = 0;
};

}  // namespace kalidor
