// The picture loader on bytes in memory, as the fuzzer drives it: it reads
// every format as from a file, with the same checks on cut-off and oversized
// pictures; and the files the fuzzer found, whole and in part.

#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/files/picture_file.h"
#include "support/sample_pictures.h"

using namespace kalidor;

namespace {

std::optional<Picture> fromBytes(const QByteArray& bytes)
{
    return LoadPicture(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

}  // namespace

class PictureBytesTest : public QObject {
    Q_OBJECT
private slots:
    void everySampleReadsAsFromItsFile()
    {
        QTemporaryDir dir;
        for (const test::SamplePicture& sample : test::samplePictures()) {
            const char* name = sample.name.c_str();
            const QString path = dir.filePath(QString::fromStdString(sample.name));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sample.bytes) == sample.bytes.size());
            file.close();
            const std::optional<Picture> read = fromBytes(sample.bytes);
            const std::optional<Picture> loaded = LoadPicture(path.toStdString());
            QVERIFY2(read && loaded, name);
            QVERIFY2(QSize(read->width(), read->height()) == sample.size, name);
            QVERIFY2(read->image() == loaded->image(), name);
        }
    }

    void cutOffAndOversizedBytesAreRefused()
    {
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        for (const test::SamplePicture& sample : test::samplePictures()) {
            const char* name = sample.name.c_str();
            QVERIFY2(!fromBytes(sample.bytes.left(sample.bytes.size() / 2)), name);
            if (sample.name.ends_with(".gif")) {
                // A complete file whose screen of 8193 x 8192 is just beyond the limit.
                QByteArray huge = sample.bytes;
                huge.replace(6, 4, QByteArray::fromHex("01200020"));
                QVERIFY2(!fromBytes(huge), name);
            }
        }
        QVERIFY(!fromBytes({}));
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 64 * 1024, "refused before its pixels were allocated");
    }

    // Files the fuzzer found taken for whole pictures though data was missing.
    void foundByTheFuzzerAreRefused()
    {
        // Not found, QFINDTESTDATA gives an empty path: the working folder.
        const QDir dir(QFINDTESTDATA("../../picture/regressions"));
        QCOMPARE(dir.dirName(), QString("regressions"));
        const QStringList names = dir.entryList(QDir::Files);
        QVERIFY(names.size() >= 9);
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY2(!fromBytes(bytes), qPrintable(name));
            QVERIFY2(!LoadPicture(file.fileName().toStdString()), qPrintable(name));
            // Nor when read in part, as the fuzzer reads them.
            const LoadLimits part{512, 384, 1024 * 1024};
            QVERIFY2(!ReadPicture(std::as_bytes(std::span(bytes.constData(), std::size_t(bytes.size()))), part).picture,
                     qPrintable(name));
        }
    }
};

QTEST_MAIN(PictureBytesTest)
#include "test_picture_bytes.moc"
