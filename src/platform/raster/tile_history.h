#pragma once
// The history of a picture kept in tiles of 64 x 64 pixels. A step keeps each
// tile it writes as the tile was before the step's first write to it; undoing
// swaps the kept tiles with the picture's, which leaves the step's own pixels in
// the record for a redo. So a step costs one tile copy per tile it touches,
// however many copies of a stroke fall in that tile, and a tile of one colour
// costs no copy at all.
//
// Two whole-picture changes cost no copy at all: a step that begins by
// replacing every pixel (New, Open) keeps the old picture itself and draws on
// another buffer, or just its colour where it was all one colour, and a step
// that begins by inverting keeps only the rectangle, since inverting it again
// undoes it. A step that begins by filling keeps the runs it filled and their
// colour before, since filling them with it again undoes them.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include <QImage>
#include <QRect>

#include "platform/raster/flood_fill.h"
#include "platform/raster/line_raster.h"

namespace kalidor {

class TileHistory {
public:
    static constexpr int kTileSide = 64;

    struct Limits {
        std::size_t steps = 256;
        std::size_t bytes = std::size_t{256} << 20;
    };

    // `background` fills what a picture grown since a step never had.
    explicit TileHistory(QRgb background) : background_(background) {}
    void setLimits(Limits limits);

    // Starts a step; a step still open is ended first.
    void begin();
    // Ends the open step, if any; one that changed nothing is dropped.
    void end();
    bool isOpen() const { return open_; }

    // Before the pixels of row y from x0 to x1 of `image` are written: keeps the
    // tiles they lie in, once per step. Opens a step where none is open.
    void touchRow(const QImage& image, int y, int x0, int x1)
    {
        // Rows come top to bottom, many in one row of tiles: the tiles the last
        // call found kept answer most calls at once.
        if (y / kTileSide == lastTileRow_ && x0 >= lastFrom_ && x1 <= lastTo_)
            return;
        touchTiles(image, y, x0, x1);
    }
    // The same for the spans of row y, each with its own tiles only.
    void touchSpans(const QImage& image, int y, std::span<const Span> spans);
    // The same for the tiles of columns `tileColumns` in row of tiles `tileRow`.
    void touchTiles(const QImage& image, int tileRow, std::span<const int> tileColumns);
    // The same for every row of `r`.
    void touchRect(const QImage& image, const QRect& r);
    // Before every pixel of `image` is replaced: a step that has changed nothing
    // yet keeps `image` itself and hands back another buffer of its size and
    // format, with any content, or keeps just `plain`, the colour of every pixel
    // where known, and leaves `image` as it is; otherwise the tiles are kept as
    // for any write.
    void replacingAll(QImage& image, std::optional<QRgb> plain = std::nullopt);
    // Before `r` is inverted: true where the step, having changed nothing else
    // yet, keeps just the rectangle; false where the tiles were kept instead.
    bool inverting(const QImage& image, const QRect& r);
    // After `runs` of `image` were filled with `colour`, each region's over
    // pixels of its colour `was`: a step that has changed nothing but by
    // filling keeps just the runs, six bytes each; any other keeps the tiles
    // they lie in as they were before, the picture's tiles with the runs given
    // back their colour, unless it keeps them already.
    void filled(const QImage& image, std::span<const Span> runs, std::span<const FilledRegion> regions,
                std::uint32_t colour);

    // After `image` grew: the open step's tiles at the old edges take in their
    // new pixels as they are now, before anything is drawn there.
    void grown(const QImage& image);
    // The picture's size changed from `before` to `after` in the open step
    // (opened where none is): undoing and redoing the step give the size back.
    void resized(QSize before, QSize after);
    // The size the last undo or redo gave the picture, once; nothing where
    // that step did not change it.
    std::optional<QSize> takeSize() { return std::exchange(size_, std::nullopt); }

    bool canUndo() const { return applied_ > 0 || changing(); }
    // An open step that changed pixels will drop the undone steps when it ends.
    bool canRedo() const { return applied_ < steps_.size() && !changing(); }
    // Undoes or redoes one step on `image` (the open step is ended first) and
    // returns the rectangles it changed; nothing where there is no such step.
    std::vector<QRect> undo(QImage& image);
    std::vector<QRect> redo(QImage& image);

    // The picture's number (see History::PictureState).
    long long state() const;
    std::size_t steps() const { return steps_.size(); }
    std::size_t bytes() const { return bytes_ + current_.bytes; }

private:
    // A tile of one colour throughout (as most are, before a stroke first
    // crosses them) keeps just that colour: no pixels to allocate or copy.
    struct Tile {
        QRect rect;
        std::vector<std::uint32_t> pixels;  // empty where the tile is `plain`
        std::uint32_t plain = 0;
    };
    // Applied in this order, undone in the reverse.
    // A picture of one colour throughout.
    struct Plain {
        QRgb colour;
        QSize size;
    };
    // A run of a region filled, and the regions filled alike: from run `from`
    // on, filled over `was` with `colour`.
    struct FilledRun {
        std::uint16_t y;
        std::uint16_t x0;
        std::uint16_t x1;
    };
    struct FillGroup {
        std::size_t from;
        std::uint32_t was;
        std::uint32_t colour;
    };
    struct Step {
        long long id = 0;
        std::vector<QRect> inverted;
        // The runs filled, where the step began by filling.
        std::vector<FilledRun> runs;
        std::vector<FillGroup> fills;
        // The picture before the step, where the step replaced it. Where that
        // was `plainBefore`, the picture after the step while it is undone.
        QImage whole;
        std::optional<Plain> plainBefore;
        std::vector<Tile> tiles;
        std::size_t bytes = 0;
        // The picture's size before and after, where the step changed it.
        std::optional<std::pair<QSize, QSize>> sized;

        bool empty() const
        {
            return inverted.empty() && whole.isNull() && !plainBefore && tiles.empty() && fills.empty() && !sized;
        }
    };

    bool changing() const { return open_ && !current_.empty(); }
    bool wholeKept() const { return open_ && (!current_.whole.isNull() || current_.plainBefore); }
    bool isTouched(int tx, int ty) const
    {
        const auto i = static_cast<std::size_t>(ty) * stride_ + static_cast<std::size_t>(tx);
        return tx < static_cast<int>(stride_) && i < touched_.size() && touched_[i];
    }
    void touchTiles(const QImage& image, int y, int x0, int x1);
    void forgetLastRow() { lastTileRow_ = -1; }
    void keep(const QImage& image, int tx, int ty);
    void swapTile(QImage& image, Tile& tile, Step& step);
    void keepFilledTiles(const QImage& image, std::span<const Span> runs, std::span<const FilledRegion> regions);
    // Fills the step's runs again, or gives them back their colour before, in
    // the reverse order; adds the tiles they lie in to `changed`.
    void refill(QImage& image, const Step& step, bool forward, std::vector<QRect>& changed) const;
    void markTouched(int tx, int ty);
    std::vector<QRect> apply(QImage& image, Step& step, bool forward);
    void swapWhole(QImage& image, Step& step);
    void swapPlain(QImage& image, Step& step);
    // `spare_` where it has that size and format, else a new buffer.
    QImage takeSpare(QSize size, QImage::Format format);
    void drop(Step& step);
    void trim();

    std::deque<Step> steps_;  // [0, applied_) applied, the rest undone
    std::size_t applied_ = 0;
    std::size_t bytes_ = 0;   // kept by `steps_`
    Step current_;            // the open step
    bool open_ = false;
    std::vector<std::uint8_t> touched_;  // tiles the open step keeps, row by row
    std::size_t stride_ = 0;
    long long lastId_ = 0;
    long long baseState_ = 0;  // the picture's number before the oldest step kept
    QImage spare_;             // a whole picture no step needs any more, to draw New on
    std::optional<QSize> size_;  // given by the last undo or redo
    QRgb background_;
    Limits limits_;
    // The tiles from x `lastFrom_` to `lastTo_` of tile row `lastTileRow_` are kept.
    int lastTileRow_ = -1;
    int lastFrom_ = 0;
    int lastTo_ = -1;
};

}  // namespace kalidor
