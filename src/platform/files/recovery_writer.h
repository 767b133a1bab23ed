#pragma once
// Writes a window's recovery copy on a thread of its own, so that the drawing
// never waits for the disk. It keeps the picture as the last change left it
// and writes, after each batch of changes, the tiles they touched; from time
// to time, the whole picture instead, after which the tiles files go.

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

class QLockFile;

namespace kalidor {

// What a finished step changed, copied out of the picture.
struct RecoveryChange {
    int width = 0;
    int height = 0;
    bool whole = false;                  // `pixels` is the whole picture, else its tiles
    std::vector<std::uint32_t> tiles;    // as in RecoveryRecord
    std::vector<std::uint32_t> pixels;
    bool keep = true;                    // unsaved: the copy is kept on the disk, else removed
    std::int64_t atMs = 0;
};

class RecoveryWriter {
public:
    // `failed` is told why, on the writer's thread, whenever a copy cannot be written.
    RecoveryWriter(std::string folder, std::string session, std::function<void(const std::string&)> failed);
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;
    // Writes what it was given, then stops: the copy stays for the next start.
    ~RecoveryWriter();

    void post(RecoveryChange change);
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
    void apply(RecoveryChange& change);
    void write();
    void writeWhole();
    void writeTiles();
    bool locked();
    void fail(const std::string& why);

    const std::string folder_;
    const std::string session_;
    const std::function<void(const std::string&)> failed_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> queue_;
    bool busy_ = false;
    bool stop_ = false;

    // The writer thread's own.
    RecoveryPicture picture_;
    std::vector<std::uint8_t> touched_;  // by tile: changed since the last file
    bool anyTouched_ = false;
    bool keep_ = false;
    bool onDisk_ = false;        // there are files of the copy
    bool current_ = false;       // and the last of them was written
    bool wholeDue_ = true;       // the next file must be the whole picture
    std::uint64_t sequence_ = 0;  // of the last tiles file
    long long wholeBytes_ = 0;   // of the last whole file
    long long tilesBytes_ = 0;   // of the tiles files since
    int tilesFiles_ = 0;
    std::int64_t atMs_ = 0;
    std::unique_ptr<QLockFile> lock_;

    std::thread thread_;  // last: started once everything else is made
};

}  // namespace kalidor
