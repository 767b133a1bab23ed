// The recovery copy's files: read back exactly as written, refused whole when
// cut off or damaged anywhere, chained in order, and never half-replaced by a
// process killed while it wrote one.

#include <csignal>
#include <random>

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/files/recovery_folder.h"
#include "platform/files/recovery_writer.h"

using namespace kalidor;

namespace {

RecoveryPicture randomPicture(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    RecoveryPicture p{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h)};
    for (auto& px : p.pixels)
        px = 0xFF000000u | (random() & 0xFFFFFF);
    return p;
}

// The change to `tiles` of a picture, their pixels taken from `from`.
RecoveryChange tilesOf(const RecoveryPicture& from, std::vector<std::uint32_t> tiles)
{
    RecoveryChange c{from.width, from.height, false, std::move(tiles), {}, true, 0};
    const int across = tilesAcross(from.width);
    for (const std::uint32_t t : c.tiles) {
        const int x = static_cast<int>(t % across) * kRecoveryTile, y = static_cast<int>(t / across) * kRecoveryTile;
        for (int row = y; row < std::min(y + kRecoveryTile, from.height); ++row)
            for (int col = x; col < std::min(x + kRecoveryTile, from.width); ++col)
                c.pixels.push_back(from.pixels[static_cast<std::size_t>(row) * from.width + col]);
    }
    return c;
}

RecoveryChange wholeOf(const RecoveryPicture& p) { return RecoveryChange{p.width, p.height, true, {}, p.pixels, true, 0}; }

std::optional<RecoveryPicture> readBack(const QTemporaryDir& dir, const std::string& session)
{
    std::int64_t at = 0;
    return readRecoveryCopy(dir.path().toStdString(), session, at);
}

QString lowestTiles(const QStringList& tiles)
{
    return *std::min_element(tiles.begin(), tiles.end(), [](const QString& a, const QString& b) {
        return a.section('.', 1, 1).toULongLong() < b.section('.', 1, 1).toULongLong();
    });
}

}  // namespace

class RecoveryFileTest : public QObject {
    Q_OBJECT
private slots:
    void recordsComeBackExactlyAndDamagedOnesAreRefusedWhole()
    {
        // 130 x 70: tiles cut short at the right and the bottom edge.
        const RecoveryPicture p = randomPicture(130, 70, 1);
        RecoveryRecord whole{RecoveryRecord::Kind::Whole, 7, 123456789, 130, 70, {}, p.pixels};
        // The header's numbers are little-endian on any machine.
        const QByteArray header = encodeRecovery(whole).left(40);
        QCOMPARE(header.mid(16, 8), QByteArray("\x07\0\0\0\0\0\0\0", 8));          // the sequence
        QCOMPARE(header.mid(24, 8), QByteArray("\x15\xcd\x5b\x07\0\0\0\0", 8));  // the time, 0x075BCD15
        QCOMPARE(header.mid(32, 8), QByteArray("\x82\0\0\0\x46\0\0\0", 8));      // 130 x 70
        const std::optional<RecoveryRecord> back = decodeRecovery(encodeRecovery(whole));
        QVERIFY(back);
        QCOMPARE(back->pixels, p.pixels);
        QCOMPARE(back->sequence, std::uint64_t{7});
        QCOMPARE(back->savedAtMs, std::int64_t{123456789});

        RecoveryPicture edited = randomPicture(130, 70, 2);
        const RecoveryChange change = tilesOf(edited, {2, 5});  // top-right and bottom-right, both cut
        RecoveryRecord tiles{RecoveryRecord::Kind::Tiles, 8, 0, 130, 70, change.tiles, change.pixels};
        const QByteArray bytes = encodeRecovery(tiles);
        const std::optional<RecoveryRecord> tilesBack = decodeRecovery(bytes);
        QVERIFY(tilesBack);
        RecoveryPicture applied = p;
        applyTiles(*tilesBack, applied);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 130; ++x) {
                const bool inTiles = x >= 128;  // the third column of tiles, both rows
                const std::size_t i = static_cast<std::size_t>(y) * 130 + x;
                QCOMPARE(applied.pixels[i], inTiles ? edited.pixels[i] : p.pixels[i]);
            }

        // Cut off after any number of bytes, or grown by one.
        for (qsizetype n = 0; n < bytes.size(); ++n)
            QVERIFY2(!decodeRecovery(bytes.left(n)), qPrintable(QString("cut at %1").arg(n)));
        QVERIFY(!decodeRecovery(bytes + '\0'));
        // Any one byte changed, in the header, the sum or the pixels.
        for (qsizetype n = 0; n < bytes.size(); ++n) {
            QByteArray damaged = bytes;
            damaged[n] = static_cast<char>(damaged[n] ^ 0x10);
            QVERIFY2(!decodeRecovery(damaged), qPrintable(QString("byte %1 changed").arg(n)));
        }
        // Well summed but not of this picture: tiles out of order or beyond it.
        RecoveryRecord disordered = tiles;
        std::swap(disordered.tiles[0], disordered.tiles[1]);
        QVERIFY(!decodeRecovery(encodeRecovery(disordered)));
        RecoveryRecord beyond = tiles;
        beyond.tiles[1] = 6;
        QVERIFY(!decodeRecovery(encodeRecovery(beyond)));
        RecoveryRecord short_ = whole;
        short_.pixels.pop_back();
        QVERIFY(!decodeRecovery(encodeRecovery(short_)));
    }

    void theChainOfChangesGivesTheLastPictureAndAGapSpoilsIt()
    {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        const std::string session = newRecoverySession();
        RecoveryPicture now = randomPicture(300, 200, 3);
        std::mt19937 random(4);
        int most = 0, last = 0;
        bool folded = false, gapTried = false;
        {
            RecoveryWriter writer(folder, session, nullptr);
            writer.post(wholeOf(now));
            // Changes small enough to be written as tiles, and enough of them to be folded.
            for (int step = 0; step < 150; ++step) {
                const std::uint32_t t = random() % 20;
                const RecoveryPicture next = randomPicture(300, 200, 100 + step);
                const int across = tilesAcross(300);
                const int x = static_cast<int>(t % across) * 64, y = static_cast<int>(t / across) * 64;
                for (int row = y; row < std::min(y + 64, 200); ++row)
                    for (int col = x; col < std::min(x + 64, 300); ++col)
                        now.pixels[row * 300 + col] = next.pixels[row * 300 + col];
                writer.post(tilesOf(now, {t}));
                writer.wait();
                const std::optional<RecoveryPicture> back = readBack(dir, session);
                QVERIFY2(back && back->pixels == now.pixels, qPrintable(QString("after step %1").arg(step)));
                const QStringList tiles = QDir(dir.path()).entryList({"*.tiles"}, QDir::Files);
                most = std::max(most, static_cast<int>(tiles.size()));
                folded = folded || tiles.size() < last;
                last = static_cast<int>(tiles.size());
                if (tiles.size() >= 2 && !gapTried) {
                    // The same copy with a change missing from the middle of the chain is refused whole.
                    QTemporaryDir spoilt;
                    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
                        QVERIFY(QFile::copy(dir.filePath(name), spoilt.filePath(name)));
                    QVERIFY(QFile::remove(spoilt.filePath(lowestTiles(tiles))));
                    QVERIFY(!readBack(spoilt, session));
                    gapTried = true;
                }
            }
            // Changes posted faster than they are written, overlapping: the files
            // still give the last picture.
            for (int step = 0; step < 12; ++step) {
                const RecoveryPicture next = randomPicture(300, 200, 500 + step);
                for (const std::uint32_t t : {step % 5u, 7u}) {
                    const int x = static_cast<int>(t % 5) * 64, y = static_cast<int>(t / 5) * 64;
                    for (int row = y; row < std::min(y + 64, 200); ++row)
                        for (int col = x; col < std::min(x + 64, 300); ++col)
                            now.pixels[row * 300 + col] = next.pixels[row * 300 + col];
                }
                writer.post(tilesOf(now, step % 5u < 7u ? std::vector<std::uint32_t>{step % 5u, 7u}
                                                         : std::vector<std::uint32_t>{7u}));
            }
            writer.wait();
            QVERIFY(readBack(dir, session) && readBack(dir, session)->pixels == now.pixels);
        }
        // Folded into a whole copy from time to time, never past a hundred files of tiles.
        QVERIFY(gapTried);
        QVERIFY(folded);
        QVERIFY2(most <= 100, qPrintable(QString::number(most)));
        // Stopped: the copy stays, whole.
        QVERIFY(readBack(dir, session) && readBack(dir, session)->pixels == now.pixels);
    }

    void aKillWhileACopyIsWrittenLeavesThePreviousOneWhole()
    {
        QTemporaryDir dir;
        const std::string path = dir.filePath("copy.whole").toStdString();
        // Two pictures large enough that a kill often lands inside a write.
        std::vector<QByteArray> versions;
        for (unsigned v = 0; v < 2; ++v) {
            const RecoveryPicture p = randomPicture(800, 600, v);
            versions.push_back(encodeRecovery(RecoveryRecord{RecoveryRecord::Kind::Whole, v, 0, 800, 600, {}, p.pixels}));
        }
        QVERIFY(!writeAtomically(path, versions[0]));
        std::mt19937 random(5);
        for (int kill = 0; kill < 30; ++kill) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (unsigned i = 1;; ++i)
                    writeAtomically(path, versions[i % 2]);
            }
            usleep(static_cast<useconds_t>(1000 + random() % 40000));
            ::kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            QFile file(QString::fromStdString(path));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray left = file.readAll();
            QVERIFY2(left == versions[0] || left == versions[1], qPrintable(QString("kill %1").arg(kill)));
            QVERIFY(decodeRecovery(left));
        }
    }
};

QTEST_GUILESS_MAIN(RecoveryFileTest)
#include "test_recovery_file.moc"
