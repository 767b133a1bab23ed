#pragma once
// The recovery folder: every window keeps its copy under a name of its own,
// `<session>.whole` and `<session>.<n>.tiles`, beside `<session>.lock`, which
// its process holds while it runs. A copy whose lock nobody holds was left by a
// Kalidor that is no longer running.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/recovery_file.h"

class QLockFile;

namespace kalidor {

// `recovery/` in the user's data folder; empty where the system names none.
std::string userRecoveryFolder();

// A name no other window, running or not, has used.
std::string newRecoverySession();

std::string recoveryWholePath(const std::string& folder, const std::string& session);
std::string recoveryTilesPath(const std::string& folder, const std::string& session, std::uint64_t sequence);

// Takes the session's lock, making the folder where it is missing; nothing and
// why it could not. A lock left by a process no longer running is taken over.
std::unique_ptr<QLockFile> lockRecoverySession(const std::string& folder, const std::string& session,
                                               std::string& failure);

// Removes the session's tiles files numbered up to `last`.
void removeRecoveryTiles(const std::string& folder, const std::string& session, std::uint64_t last);
// Removes the session's files, all but its lock.
void removeRecoveryFiles(const std::string& folder, const std::string& session);

// A copy left by a Kalidor no longer running. Its lock is held from when it is
// found until it is dropped, so no other Kalidor starting meanwhile offers it too.
struct LeftCopy {
    LeftCopy();
    LeftCopy(LeftCopy&&) noexcept;
    LeftCopy& operator=(LeftCopy&&) noexcept;
    ~LeftCopy();  // the copy stays, for a later start

    std::string folder;
    std::string session;
    std::int64_t savedAtMs = 0;
    // The picture it gives, or nothing where a file of it is damaged or missing.
    std::optional<RecoveryPicture> picture;
    std::unique_ptr<QLockFile> lock;

    // Deletes its files, then its lock.
    void remove();
};

// Every copy in the folder left by a Kalidor that is no longer running, each
// read and checked whole, newest first. Leftovers that give no picture at all
// (a first copy cut off while it was written) are removed.
std::vector<LeftCopy> findLeftCopies(const std::string& folder);

// Reads one session's copy: its whole picture and the changes since, in order,
// none missing. Nothing where any of them is damaged. `savedAtMs` gets the time
// of the last.
std::optional<RecoveryPicture> readRecoveryCopy(const std::string& folder, const std::string& session,
                                                std::int64_t& savedAtMs);

}  // namespace kalidor
