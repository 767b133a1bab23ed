#include "picture/recovery.h"

#include <algorithm>
#include <chrono>

#include "picture/unsaved_changes.h"

namespace kalidor {

Recovery::Recovery(Editor& e, const QImage& picture, std::unique_ptr<RecoveryWriter> writer)
    : e_(e), picture_(picture), writer_(std::move(writer))
{
}

void Recovery::resize(int width, int height)
{
    width_ = width;
    height_ = height;
    touched_.assign(static_cast<std::size_t>(tilesAcross(width) * tilesDown(height)), 0);
    touchedList_.clear();
    wholeDue_ = true;
}

void Recovery::changed(const QRegion& area)
{
    if (wholeDue_)
        return;  // the next copy is whole anyway
    const int across = tilesAcross(width_);
    const QRect inside(0, 0, width_, height_);
    for (const QRect& rect : area) {
        const QRect r = rect & inside;
        if (r.isEmpty())
            continue;
        for (int ty = r.top() / kRecoveryTile; ty <= r.bottom() / kRecoveryTile; ++ty)
            for (int tx = r.left() / kRecoveryTile; tx <= r.right() / kRecoveryTile; ++tx) {
                const auto t = static_cast<std::uint32_t>(ty * across + tx);
                if (!touched_[t]) {
                    touched_[t] = 1;
                    touchedList_.push_back(t);
                }
            }
    }
}

RecoveryChange Recovery::copyOut(bool whole) const
{
    RecoveryChange c;
    c.width = width_;
    c.height = height_;
    c.whole = whole;
    c.ownSize = ownSize_;
    if (!whole) {
        c.tiles = touchedList_;
        std::sort(c.tiles.begin(), c.tiles.end());
    }
    // Into memory already there: fresh pages cost ten times the copy itself.
    c.pixels = writer_->buffer();
    // An idle writer copies the pixels itself, at once, while the picture waits
    // for it before its next write; a busy one would keep the drawing waiting,
    // so they are copied here.
    if (writer_->idle())
        c.source = &picture_;
    else
        copyPixels(picture_, c);
    return c;
}

void Recovery::afterEvent()
{
    if (e_.stroking || closed_)
        return;  // a step under way is not yet a picture to come back to
    const long long state = e_.ui.pbHistory->PictureState();
    const bool keep = hasUnsavedChanges(e_);
    const int width = e_.ui.picture->Width();
    const int height = e_.ui.picture->Height();
    // A canvas grown or shrunk shows another picture, as Save would write it:
    // the hidden part shown again, or the part now hidden left out.
    const bool resized = keep && (width != width_ || height != height_ || e_.ui.picture->OwnSize() != ownSize_);
    if (state == state_ && touchedList_.empty() && keep == kept_ && !resized)
        return;
    state_ = state;
    kept_ = keep;
    RecoveryChange change;
    if (keep) {
        if (resized) {
            resize(width, height);
            ownSize_ = e_.ui.picture->OwnSize();
        }
        if (width_ <= 0 || height_ <= 0)
            return;
        // The user must know that this drawing has no copy, rather than trust one.
        if (static_cast<long long>(width_) * height_ > kMaxRecoveryPixels) {
            failed("the picture, " + std::to_string(width_) + " × " + std::to_string(height_) +
                   " pixels, is larger than a copy is kept of (" + std::to_string(kMaxRecoveryPixels >> 20) +
                   " million pixels)");
            return;
        }
        // Past half the tiles, the whole picture row by row copies faster than
        // its tiles one by one, and makes the next file whole.
        change = copyOut(wholeDue_ || writer_->wantsWhole() || touchedList_.size() * 2 > touched_.size());
        wholeDue_ = false;
    } else {
        wholeDue_ = true;  // the copy goes, and the next one starts whole
    }
    change.keep = keep;
    change.atMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
    writer_->post(std::move(change));
    for (const std::uint32_t t : touchedList_)
        touched_[t] = 0;
    touchedList_.clear();
}

void Recovery::closed()
{
    closed_ = true;  // whatever still comes before the program ends keeps no copy
    writer_->remove();
}

void Recovery::failed(const std::string& why)
{
    if (told_)
        return;
    told_ = true;
    e_.services->ShowMessage("Kalidor cannot keep a recovery copy of the drawing in \"" + writer_->folder() +
                             "\": " + why + ". Drawing and saving go on, but a crash would lose what is not saved.");
}

}  // namespace kalidor
