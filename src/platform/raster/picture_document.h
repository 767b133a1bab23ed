#pragma once
// A picture kept in a persistent image, with its size, its history and the
// feed of what changes in it. What is drawn stays until drawn over; a picture
// made smaller keeps the part it no longer shows, so that growing again brings
// it back. Every write goes through its pixel writer (pixel_writer.h); views
// and the recovery copy hear of the area changed after each drawing call.

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QImage>
#include <QRegion>

#include "platform/document.h"
#include "platform/raster/kept_image.h"
#include "platform/raster/pixel_writer.h"
#include "platform/raster/tile_history.h"

namespace kalidor {

class PictureDocument final : public Document {
public:
    PictureDocument(int width, int height, Colour back);
    ~PictureDocument() override;
    PictureDocument(const PictureDocument&) = delete;
    PictureDocument& operator=(const PictureDocument&) = delete;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetSize(int width, int height) override;
    void Resize(int width, int height, bool clearNew = true) override;
    bool OwnSize() const override { return ownSize_; }
    void FollowWindow() override
    {
        settle();
        ownSize_ = false;
        writer_.setReach(std::nullopt);
    }
    // A picture of its own size keeps nothing beyond it: what a larger size
    // showed is no part of it, and no copy of a stroke need go there.
    int KeptWidth() const override { return ownSize_ ? width_ : kept_.image().width(); }
    int KeptHeight() const override { return ownSize_ ? height_ : kept_.image().height(); }
    std::int32_t Point(float x, float y) const override;
    Picture Image() const override;
    Picture WholeImage() const override;
    void ForgetShown() override { shown_ = QSize(width_, height_); }
    void SetPicture(const Picture& picture) override;
    void Fill(std::span<const PixelPoint> seeds, Colour c, FillReach reach = {}) override;

    // The history, off until `keepHistory`: without it a step records nothing
    // and there is nothing to undo.
    void BeginStep(StepKind kind = StepKind::Stroke) override;
    void EndStep() override;
    bool Undo() override { return settle(), sizedBack(writer_.undo()); }
    bool Redo() override { return settle(), sizedBack(writer_.redo()); }
    bool CanUndo() const override { return history_ && history_->canUndo(); }
    bool CanRedo() const override { return history_ && history_->canRedo(); }
    long long PictureState() const override { return history_ ? history_->state() : 0; }

    // The colour of new area; setting it paints the whole picture with it.
    Colour background() const { return back_; }
    void setBackground(Colour c);
    // The whole persistent image; its top-left Width() x Height() is the picture.
    const QImage& kept() const { return kept_.image(); }
    PixelWriter& writer() { return writer_; }
    void keepHistory(TileHistory::Limits limits = {});
    const TileHistory* history() const { return history_.get(); }
    // What a stroke owes beyond its view (raster_surface.h): drawn before
    // anything else reads, writes or resizes the picture, and at the end of
    // the step, so that all of them see the finished picture.
    void owe(std::function<void()> settle) { owed_ = std::move(settle); }
    void settle() const
    {
        if (owed_)
            std::exchange(owed_, nullptr)();
    }
    // Called before every write to the image, which another thread may be reading.
    void setWriteGate(std::function<void()> gate) { kept_.setWriteGate(std::move(gate)); }

    // Told the area of the picture that changed, in its pixels, after every
    // drawing call, and an empty area after a change of size alone; until
    // `forget` with the number given back.
    using Listener = std::function<void(const QRegion&)>;
    int listen(Listener listener);
    void forget(int id);

private:
    void changed(const QRegion& area);
    // After an undo or redo: the size it gave back, if any.
    bool sizedBack(bool done);

    KeptImage kept_;
    int width_ = 0;
    int height_ = 0;
    bool ownSize_ = false;
    QSize shown_;  // the largest size shown since the picture was replaced
    Colour back_;
    std::unique_ptr<TileHistory> history_;
    std::vector<std::pair<int, Listener>> listeners_;
    int lastListener_ = 0;
    PixelWriter writer_;
    // The picture is what the stroke owes drawn: reading it draws that first.
    mutable std::function<void()> owed_;
};

}  // namespace kalidor
