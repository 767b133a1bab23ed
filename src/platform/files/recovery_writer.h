#pragma once
// Writes a window's recovery copy on a thread of its own, so that the drawing
// never waits for the disk: the whole picture first, then after each step the
// tiles it changed, and from time to time the whole picture again, read back
// from those files, after which they go. It keeps no picture of its own: the
// copy costs the memory of what is on its way to the disk.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "platform/files/recovery_file.h"

class QImage;
class QLockFile;

namespace kalidor {

// What a finished step changed, copied out of the picture.
struct RecoveryChange {
    int width = 0;
    int height = 0;
    bool whole = false;                  // `pixels` is the whole picture, else its tiles
    std::vector<std::uint32_t> tiles;    // as in RecoveryRecord
    // Its first width x height (whole) or tiles' worth, however many more it holds.
    std::vector<std::uint32_t> pixels;
    bool keep = true;                    // unsaved: the copy is kept on the disk, else removed
    std::int64_t atMs = 0;
    // Where the pixels are still to be copied from, on the writer's thread:
    // the picture, which is not written to until they are (`waitForCopies`).
    const QImage* source = nullptr;
    bool ownSize = false;  // the picture has a size of its own
};

// Copies the change's pixels, the whole picture or its tiles, out of `picture`.
void copyPixels(const QImage& picture, RecoveryChange& change);

class RecoveryWriter {
public:
    // `failed` is told why, on the writer's thread, whenever a copy cannot be written.
    RecoveryWriter(std::string folder, std::string session, std::function<void(const std::string&)> failed);
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;
    // Writes what it was given, then stops: the copy stays for the next start.
    ~RecoveryWriter();

    void post(RecoveryChange change);
    // Whether nothing is posted or being written: a change posted now, its
    // pixels to be copied by the writer, is copied at once.
    bool idle();
    // Returns once the pixels of every change posted with a source are copied:
    // called before the picture is written to.
    void waitForCopies();
    // How long `waitForCopies` has waited in all.
    long long waitedNs() const { return waitedNs_; }
    // A buffer for the next change's pixels: the last one written, kept at its
    // size, so that a step copies into memory already there.
    std::vector<std::uint32_t> buffer();
    // The tiles posted since cannot be written: the next change must be whole.
    bool wantsWhole() const { return wantsWhole_; }
    // Runs `job` on the writer's thread once everything posted before it is
    // handled, telling whether the copy is then on the disk.
    void then(std::function<void(bool written)> job);
    // Drops what is not yet written and removes the copy and its lock: the
    // window closed normally. Returns once they are gone.
    void remove();
    // Returns once everything posted is handled.
    void wait();

    const std::string& folder() const { return folder_; }
    const std::string& session() const { return session_; }

private:
    struct Remove {};
    using Job = std::variant<RecoveryChange, std::function<void(bool)>, Remove>;

    void run();
    void copyLent(std::deque<Job>& jobs);
    void handle(std::deque<Job>& jobs);
    void write(RecoveryChange& change);
    bool writeWhole(RecoveryRecord& r);
    void writeTiles(RecoveryChange& change);
    void fold();
    bool locked();
    void fail(const std::string& why);

    const std::string folder_;
    const std::string session_;
    const std::function<void(const std::string&)> failed_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::condition_variable copied_;
    std::atomic<bool> lent_{false};  // a change posted with a source is not yet copied
    std::atomic<long long> waitedNs_{0};
    std::deque<Job> queue_;
    bool busy_ = false;
    bool stop_ = false;

    std::vector<std::uint32_t> spare_;
    std::atomic<bool> wantsWhole_{false};

    // The writer thread's own.
    bool onDisk_ = false;         // there are files of the copy
    bool current_ = false;        // and they give the last change posted
    std::uint64_t sequence_ = 0;  // the next tiles file's number
    long long wholeBytes_ = 0;    // of the last whole file
    long long tilesBytes_ = 0;    // of the tiles files since
    int tilesFiles_ = 0;
    std::unique_ptr<QLockFile> lock_;

    std::thread thread_;  // last: started once everything else is made
};

}  // namespace kalidor
