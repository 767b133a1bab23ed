#include "platform/files/recovery_writer.h"

#include <algorithm>
#include <cstring>

#include <QLockFile>

#include "platform/files/recovery_folder.h"

namespace kalidor {

namespace {

// Past this many tiles files the next copy is whole, whatever their size, so
// that reading the copy back stays quick.
constexpr int kMostTilesFiles = 100;

}  // namespace

RecoveryWriter::RecoveryWriter(std::string folder, std::string session, std::function<void(const std::string&)> failed)
    : folder_(std::move(folder)), session_(std::move(session)), failed_(std::move(failed)),
      thread_([this] { run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void RecoveryWriter::post(RecoveryChange change)
{
    {
        std::lock_guard lock(mutex_);
        queue_.emplace_back(std::move(change));
    }
    wake_.notify_one();
}

void RecoveryWriter::then(std::function<void(bool written)> job)
{
    {
        std::lock_guard lock(mutex_);
        queue_.emplace_back(std::move(job));
    }
    wake_.notify_one();
}

void RecoveryWriter::remove()
{
    {
        std::lock_guard lock(mutex_);
        queue_.clear();
        queue_.emplace_back(Remove{});
    }
    wake_.notify_one();
    wait();
}

void RecoveryWriter::wait()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void RecoveryWriter::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) {
            lock.unlock();
            lock_.reset();
            return;
        }
        // Every change waiting is written at once: a slow disk costs files, not steps.
        std::deque<Job> jobs;
        jobs.swap(queue_);
        busy_ = true;
        lock.unlock();
        bool pending = false;
        for (Job& job : jobs) {
            if (auto* change = std::get_if<RecoveryChange>(&job)) {
                apply(*change);
                pending = true;
                continue;
            }
            if (pending)
                write();
            pending = false;
            if (auto* after = std::get_if<std::function<void(bool)>>(&job)) {
                (*after)(keep_ && onDisk_ && current_);
            } else {
                removeRecoveryFiles(folder_, session_);
                onDisk_ = false;
                keep_ = false;
                lock_.reset();
            }
        }
        if (pending)
            write();
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

void RecoveryWriter::apply(RecoveryChange& change)
{
    keep_ = change.keep;
    atMs_ = change.atMs;
    if (change.whole) {
        picture_ = RecoveryPicture{change.width, change.height, std::move(change.pixels)};
        touched_.assign(static_cast<std::size_t>(tilesAcross(change.width) * tilesDown(change.height)), 0);
        anyTouched_ = false;
        wholeDue_ = true;
        return;
    }
    if (change.tiles.empty())
        return;
    RecoveryRecord tiles;
    tiles.width = change.width;
    tiles.height = change.height;
    tiles.tiles = std::move(change.tiles);
    tiles.pixels = std::move(change.pixels);
    applyTiles(tiles, picture_);
    for (const std::uint32_t t : tiles.tiles)
        touched_[t] = 1;
    anyTouched_ = true;
}

void RecoveryWriter::write()
{
    if (picture_.pixels.empty())
        return;  // nothing known yet of the picture
    if (!keep_) {
        // Saved: nothing to recover. The picture is still followed, so that
        // the next copy needs nothing from the drawing but what changed.
        if (onDisk_)
            removeRecoveryFiles(folder_, session_);
        onDisk_ = false;
        wholeDue_ = true;
        return;
    }
    if (!locked())
        return;
    if (!onDisk_ || wholeDue_ || tilesBytes_ >= wholeBytes_ || tilesFiles_ >= kMostTilesFiles)
        writeWhole();
    else if (anyTouched_)
        writeTiles();
}

void RecoveryWriter::writeWhole()
{
    RecoveryRecord r;
    r.kind = RecoveryRecord::Kind::Whole;
    r.sequence = sequence_;  // holds every tiles file so far
    r.savedAtMs = atMs_;
    r.width = picture_.width;
    r.height = picture_.height;
    r.pixels = picture_.pixels;
    const QByteArray bytes = encodeRecovery(r);
    if (const auto failure = writeAtomically(recoveryWholePath(folder_, session_), bytes)) {
        fail(*failure);
        return;
    }
    // Only now: had the program been killed before, these still made the copy.
    removeRecoveryTiles(folder_, session_, sequence_);
    ++sequence_;  // the next tiles file, and never a number the whole copy holds
    wholeBytes_ = bytes.size();
    tilesBytes_ = 0;
    tilesFiles_ = 0;
    onDisk_ = true;
    current_ = true;
    wholeDue_ = false;
    std::fill(touched_.begin(), touched_.end(), 0);
    anyTouched_ = false;
}

void RecoveryWriter::writeTiles()
{
    RecoveryRecord r;
    r.kind = RecoveryRecord::Kind::Tiles;
    r.sequence = sequence_;
    r.savedAtMs = atMs_;
    r.width = picture_.width;
    r.height = picture_.height;
    const int across = tilesAcross(picture_.width);
    for (std::uint32_t t = 0; t < touched_.size(); ++t) {
        if (!touched_[t])
            continue;
        r.tiles.push_back(t);
        const int x = static_cast<int>(t % static_cast<std::uint32_t>(across)) * kRecoveryTile;
        const int y = static_cast<int>(t / static_cast<std::uint32_t>(across)) * kRecoveryTile;
        const int w = std::min(kRecoveryTile, picture_.width - x);
        const int h = std::min(kRecoveryTile, picture_.height - y);
        for (int row = 0; row < h; ++row) {
            const std::uint32_t* from = &picture_.pixels[static_cast<std::size_t>(y + row) * picture_.width + x];
            r.pixels.insert(r.pixels.end(), from, from + w);
        }
    }
    const QByteArray bytes = encodeRecovery(r);
    if (const auto failure = writeAtomically(recoveryTilesPath(folder_, session_, sequence_), bytes)) {
        fail(*failure);
        return;
    }
    ++sequence_;
    ++tilesFiles_;
    current_ = true;
    tilesBytes_ += bytes.size();
    std::fill(touched_.begin(), touched_.end(), 0);
    anyTouched_ = false;
}

bool RecoveryWriter::locked()
{
    if (lock_)
        return true;
    std::string failure;
    lock_ = lockRecoverySession(folder_, session_, failure);
    if (!lock_)
        fail(failure);
    return lock_ != nullptr;
}

void RecoveryWriter::fail(const std::string& why)
{
    // Whatever reached the disk, the next copy starts afresh from the whole picture.
    wholeDue_ = true;
    current_ = false;
    if (failed_)
        failed_(why);
}

}  // namespace kalidor
