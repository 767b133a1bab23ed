#include "platform/files/recovery_folder.h"

#include <algorithm>
#include <atomic>
#include <set>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace kalidor {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::string join(const std::string& folder, const QString& name) { return (q(folder) + "/" + name).toStdString(); }

// The session a file of the folder belongs to: the name before its first dot.
QString sessionOf(const QString& fileName) { return fileName.section('.', 0, 0); }

// The numbers of the session's tiles files, rising.
std::vector<std::uint64_t> tilesFiles(const std::string& folder, const std::string& session)
{
    std::vector<std::uint64_t> found;
    const QStringList names = QDir(q(folder)).entryList({q(session) + ".*.tiles"}, QDir::Files);
    for (const QString& name : names) {
        bool ok = false;
        const std::uint64_t n = name.section('.', 1, 1).toULongLong(&ok);
        if (ok)
            found.push_back(n);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<RecoveryRecord> readRecord(const std::string& path)
{
    QFile file(q(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodeRecovery(file.readAll());
}

}  // namespace

std::string userRecoveryFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? std::string() : (data + "/recovery").toStdString();
}

std::string newRecoverySession()
{
    static std::atomic<int> windows{0};
    return QString("%1-%2-%3")
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(QCoreApplication::applicationPid())
        .arg(windows++)
        .toStdString();
}

std::string recoveryWholePath(const std::string& folder, const std::string& session)
{
    return join(folder, q(session) + ".whole");
}

std::string recoveryTilesPath(const std::string& folder, const std::string& session, std::uint64_t sequence)
{
    return join(folder, q(session) + "." + QString::number(sequence) + ".tiles");
}

std::unique_ptr<QLockFile> lockRecoverySession(const std::string& folder, const std::string& session,
                                               std::string& failure)
{
    if (!QDir().mkpath(q(folder))) {
        failure = "cannot make the folder";
        return nullptr;
    }
    auto lock = std::make_unique<QLockFile>(q(join(folder, q(session) + ".lock")));
    // Held as long as the program runs: only a dead process makes it stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    failure = lock->error() == QLockFile::PermissionError ? "no permission to write there" : "cannot lock the copy";
    return nullptr;
}

void removeRecoveryTiles(const std::string& folder, const std::string& session, std::uint64_t last)
{
    for (const std::uint64_t n : tilesFiles(folder, session))
        if (n <= last)
            QFile::remove(q(recoveryTilesPath(folder, session, n)));
}

void removeRecoveryFiles(const std::string& folder, const std::string& session)
{
    QDir dir(q(folder));
    for (const QString& name : dir.entryList({q(session) + ".*"}, QDir::Files))
        if (!name.endsWith(".lock"))
            dir.remove(name);
}

LeftCopy::LeftCopy() = default;
LeftCopy::LeftCopy(LeftCopy&&) noexcept = default;
LeftCopy& LeftCopy::operator=(LeftCopy&&) noexcept = default;
LeftCopy::~LeftCopy() = default;

void LeftCopy::remove()
{
    removeRecoveryFiles(folder, session);
    lock.reset();  // unlocking deletes the lock file
}

std::optional<RecoveryPicture> readRecoveryCopy(const std::string& folder, const std::string& session,
                                                std::int64_t& savedAtMs)
{
    std::optional<RecoveryRecord> whole = readRecord(recoveryWholePath(folder, session));
    if (!whole || whole->kind != RecoveryRecord::Kind::Whole)
        return std::nullopt;
    RecoveryPicture picture{whole->width, whole->height, std::move(whole->pixels), whole->ownSize};
    savedAtMs = whole->savedAtMs;
    std::uint64_t last = whole->sequence;
    for (const std::uint64_t n : tilesFiles(folder, session)) {
        if (n <= whole->sequence)
            continue;  // already in the whole copy, which was written after it
        const std::optional<RecoveryRecord> tiles = readRecord(recoveryTilesPath(folder, session, n));
        // A change missing from the chain, or not of this picture, spoils all that follow.
        if (n != last + 1 || !tiles || tiles->kind != RecoveryRecord::Kind::Tiles || tiles->sequence != n ||
            tiles->width != picture.width || tiles->height != picture.height)
            return std::nullopt;
        applyTiles(*tiles, picture);
        picture.ownSize = tiles->ownSize;
        savedAtMs = tiles->savedAtMs;
        last = n;
    }
    return picture;
}

std::vector<LeftCopy> findLeftCopies(const std::string& folder)
{
    std::set<QString> sessions;
    for (const QString& name : QDir(q(folder)).entryList(QDir::Files))
        if (!name.endsWith(".lock"))
            sessions.insert(sessionOf(name));
    std::vector<LeftCopy> found;
    for (const QString& s : sessions) {
        LeftCopy copy;
        copy.folder = folder;
        copy.session = s.toStdString();
        copy.lock = std::make_unique<QLockFile>(q(join(folder, s + ".lock")));
        copy.lock->setStaleLockTime(0);
        if (!copy.lock->tryLock(0))
            continue;  // its Kalidor is still running: never touched
        const std::string whole = recoveryWholePath(folder, copy.session);
        if (!QFileInfo::exists(q(whole))) {
            copy.remove();  // killed while its first copy was written: nothing was kept
            continue;
        }
        copy.savedAtMs = QFileInfo(q(whole)).lastModified().toMSecsSinceEpoch();
        copy.picture = readRecoveryCopy(folder, copy.session, copy.savedAtMs);
        found.push_back(std::move(copy));
    }
    std::sort(found.begin(), found.end(),
              [](const LeftCopy& a, const LeftCopy& b) { return a.savedAtMs > b.savedAtMs; });
    return found;
}

}  // namespace kalidor
