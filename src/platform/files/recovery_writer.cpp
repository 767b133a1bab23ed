#include "platform/files/recovery_writer.h"

#include <algorithm>
#include <cstring>

#include <pthread.h>
#include <sched.h>

#include <QElapsedTimer>
#include <QImage>
#include <QLockFile>

#include "platform/files/recovery_folder.h"

namespace kalidor {

namespace {

// Past this many tiles files the next copy is whole, whatever their size, so
// that reading the copy back stays quick.
constexpr int kMostTilesFiles = 100;

bool tilesToKeep(const RecoveryChange& c) { return c.keep && !c.whole; }

// `later` as it is and, where it has no tile, `earlier`: the two written as one.
void mergeTiles(const RecoveryChange& earlier, RecoveryChange& later)
{
    std::vector<std::uint32_t> tiles, pixels;
    std::size_t a = 0, b = 0;
    const std::uint32_t* fromA = earlier.pixels.data();
    const std::uint32_t* fromB = later.pixels.data();
    while (a < earlier.tiles.size() || b < later.tiles.size()) {
        const bool takeB = b < later.tiles.size() && (a == earlier.tiles.size() || later.tiles[b] <= earlier.tiles[a]);
        const std::uint32_t t = takeB ? later.tiles[b] : earlier.tiles[a];
        const auto n = static_cast<std::size_t>(tileArea(later.width, later.height, t));
        if (takeB) {
            pixels.insert(pixels.end(), fromB, fromB + n);
            fromB += n;
            ++b;
            if (a < earlier.tiles.size() && earlier.tiles[a] == t) {
                fromA += n;
                ++a;
            }
        } else {
            pixels.insert(pixels.end(), fromA, fromA + n);
            fromA += n;
            ++a;
        }
        tiles.push_back(t);
    }
    later.tiles = std::move(tiles);
    later.pixels = std::move(pixels);
}

}  // namespace

void copyPixels(const QImage& picture, RecoveryChange& c)
{
    const auto row = [&](int y) { return reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y)); };
    if (c.whole) {
        if (c.pixels.size() < static_cast<std::size_t>(c.width) * c.height)
            c.pixels.resize(static_cast<std::size_t>(c.width) * c.height);
        for (int y = 0; y < c.height; ++y)
            std::memcpy(&c.pixels[static_cast<std::size_t>(y) * c.width], row(y), static_cast<std::size_t>(c.width) * 4);
        return;
    }
    long long pixels = 0;
    for (const std::uint32_t t : c.tiles)
        pixels += tileArea(c.width, c.height, t);
    if (c.pixels.size() < static_cast<std::size_t>(pixels))
        c.pixels.resize(static_cast<std::size_t>(pixels));
    std::uint32_t* to = c.pixels.data();
    for (const std::uint32_t tile : c.tiles) {
        const TilePlace t = tilePlace(c.width, c.height, tile);
        for (int r = 0; r < t.h; ++r, to += t.w)
            std::memcpy(to, row(t.y + r) + t.x, static_cast<std::size_t>(t.w) * 4);
    }
}

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
        if (change.source)
            lent_ = true;
        queue_.emplace_back(std::move(change));
    }
    wake_.notify_one();
}

bool RecoveryWriter::idle()
{
    std::lock_guard lock(mutex_);
    return queue_.empty() && !busy_;
}

void RecoveryWriter::waitForCopies()
{
    if (!lent_.load(std::memory_order_acquire))
        return;
    QElapsedTimer waited;
    waited.start();
    std::unique_lock lock(mutex_);
    copied_.wait(lock, [this] { return !lent_; });
    waitedNs_ += waited.nsecsElapsed();
}

void RecoveryWriter::copyLent(std::deque<Job>& jobs)
{
    for (Job& job : jobs)
        if (auto* change = std::get_if<RecoveryChange>(&job); change && change->source) {
            copyPixels(*change->source, *change);
            change->source = nullptr;
        }
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
        // A change not yet taken up is dropped with its copy; one the writer
        // is copying from already, it finishes.
        for (const Job& job : queue_)
            if (const auto* change = std::get_if<RecoveryChange>(&job); change && change->source)
                lent_ = false;
        queue_.clear();
        queue_.emplace_back(Remove{});
    }
    copied_.notify_all();
    wake_.notify_one();
    wait();
}

void RecoveryWriter::wait()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

std::vector<std::uint32_t> RecoveryWriter::buffer()
{
    std::lock_guard lock(mutex_);
    return std::move(spare_);
}

void RecoveryWriter::run()
{
    // Its full share of the processor, but woken it never takes it from the
    // window's thread that woke it, which would pause the drawing for as long
    // as a picture takes to pack.
    const sched_param batch{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &batch);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) {
            lock.unlock();
            lock_.reset();
            return;
        }
        std::deque<Job> jobs;
        jobs.swap(queue_);
        busy_ = true;
        // The picture waits for its pixels to be copied, and no longer.
        if (lent_) {
            lock.unlock();
            copyLent(jobs);
            lock.lock();
            lent_ = false;
            copied_.notify_all();
        }
        lock.unlock();
        handle(jobs);
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

void RecoveryWriter::handle(std::deque<Job>& jobs)
{
    // A disk slower than the drawing: a whole picture waiting makes every
    // change before it moot.
    std::size_t from = 0;
    for (std::size_t i = 0; i < jobs.size(); ++i)
        if (const auto* c = std::get_if<RecoveryChange>(&jobs[i]); c && c->whole)
            from = i;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        Job& job = jobs[i];
        if (auto* change = std::get_if<RecoveryChange>(&job)) {
            if (i < from)
                continue;
            // Steps waiting one after another go into one file.
            auto* next = i + 1 < jobs.size() ? std::get_if<RecoveryChange>(&jobs[i + 1]) : nullptr;
            if (next && tilesToKeep(*change) && tilesToKeep(*next) && next->width == change->width &&
                next->height == change->height) {
                mergeTiles(*change, *next);
                continue;
            }
            write(*change);
            std::lock_guard lock(mutex_);
            if (change->pixels.capacity() > spare_.capacity())
                spare_ = std::move(change->pixels);
        } else if (auto* after = std::get_if<std::function<void(bool)>>(&job)) {
            (*after)(onDisk_ && current_);
        } else {
            removeRecoveryFiles(folder_, session_);
            onDisk_ = false;
            lock_.reset();
        }
    }
}

void RecoveryWriter::write(RecoveryChange& change)
{
    if (!change.keep) {
        // Saved: nothing to recover.
        if (onDisk_)
            removeRecoveryFiles(folder_, session_);
        onDisk_ = false;
        current_ = false;
        return;
    }
    if (!locked())
        return;
    if (change.whole) {
        RecoveryRecord r;
        r.kind = RecoveryRecord::Kind::Whole;
        r.savedAtMs = change.atMs;
        r.width = change.width;
        r.height = change.height;
        r.ownSize = change.ownSize;
        // Lent to the record and back, never copied.
        r.pixels = std::move(change.pixels);
        const std::size_t size = r.pixels.size();
        r.pixels.resize(static_cast<std::size_t>(change.width) * change.height);
        writeWhole(r);
        change.pixels = std::move(r.pixels);
        change.pixels.resize(std::max(size, change.pixels.size()));
        return;
    }
    if (!onDisk_ || !current_) {
        wantsWhole_ = true;  // tiles of a picture the files do not have
        return;
    }
    if (change.tiles.empty())
        return;  // a step that changed nothing shown: the files give its picture already
    writeTiles(change);
    if (current_ && (tilesBytes_ >= wholeBytes_ || tilesFiles_ >= kMostTilesFiles))
        fold();
}

bool RecoveryWriter::writeWhole(RecoveryRecord& r)
{
    r.sequence = sequence_;  // holds every tiles file so far
    const QByteArray bytes = encodeRecovery(r);
    if (const auto failure = writeAtomically(recoveryWholePath(folder_, session_), bytes)) {
        fail(*failure);
        return false;
    }
    // Only now: had the program been killed before, these still made the copy.
    removeRecoveryTiles(folder_, session_, sequence_);
    ++sequence_;  // the next tiles file, and never a number the whole copy holds
    wholeBytes_ = bytes.size();
    tilesBytes_ = 0;
    tilesFiles_ = 0;
    onDisk_ = true;
    current_ = true;
    wantsWhole_ = false;
    return true;
}

void RecoveryWriter::writeTiles(RecoveryChange& change)
{
    RecoveryRecord r;
    r.kind = RecoveryRecord::Kind::Tiles;
    r.sequence = sequence_;
    r.savedAtMs = change.atMs;
    r.width = change.width;
    r.height = change.height;
    r.ownSize = change.ownSize;
    r.tiles = change.tiles;
    long long pixels = 0;
    for (const std::uint32_t t : r.tiles)
        pixels += tileArea(r.width, r.height, t);
    r.pixels = std::move(change.pixels);
    const std::size_t size = r.pixels.size();
    r.pixels.resize(static_cast<std::size_t>(pixels));
    const QByteArray bytes = encodeRecovery(r);
    change.pixels = std::move(r.pixels);
    change.pixels.resize(std::max(size, change.pixels.size()));
    if (const auto failure = writeAtomically(recoveryTilesPath(folder_, session_, sequence_), bytes)) {
        fail(*failure);
        return;
    }
    ++sequence_;
    ++tilesFiles_;
    tilesBytes_ += bytes.size();
}

void RecoveryWriter::fold()
{
    std::int64_t at = 0;
    std::optional<RecoveryPicture> picture = readRecoveryCopy(folder_, session_, at);
    if (!picture) {
        fail("the copy just written cannot be read back");
        return;
    }
    RecoveryRecord r;
    r.kind = RecoveryRecord::Kind::Whole;
    r.savedAtMs = at;
    r.width = picture->width;
    r.height = picture->height;
    r.pixels = std::move(picture->pixels);
    writeWhole(r);
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
    current_ = false;
    wantsWhole_ = true;
    if (failed_)
        failed_(why);
}

}  // namespace kalidor
