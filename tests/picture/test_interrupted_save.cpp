// Save cut short: a write that fails after any number of bytes leaves the old
// file byte for byte as it was, leaves no temporary file, and says so.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "picture/save_picture.h"
#include "support/file_size_limit.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class InterruptedSaveTest : public QObject {
    Q_OBJECT
private slots:
    void aSaveCutShortAtAnyByteKeepsTheOldFile()
    {
        // A 6 x 6 canvas: a bitmap small enough to cut after every one of its bytes.
        auto w = test::openWindow(120, 40);
        Editor& e = w->editor();
        QCOMPARE(e.ui.pb->ScaleWidth(), 6.0f);
        e.ui.pb->Line(0, 0, 5, 5, 0x0000FF);
        QTemporaryDir dir;
        std::string answer;
        std::vector<std::string>& messages = test::scripted(e).messages;
        test::scripted(e).fileAnswer = [&](FileDialogKind, const std::string&) { return std::optional(answer); };

        answer = dir.filePath("whole.bmp").toStdString();
        mnuSave_Click(e);
        const QByteArray whole = bytesOf(dir.filePath("whole.bmp"));
        QVERIFY(whole.startsWith("BM"));
        QVERIFY(whole.size() > 54);  // header and pixels, so the cuts fall in both

        const QString target = dir.filePath("keep.bmp");
        const QByteArray old = "the drawing saved an hour ago";
        QFile oldFile(target);
        QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old) == old.size());
        oldFile.close();
        answer = target.toStdString();
        for (qsizetype k = 0; k < whole.size(); ++k) {
            messages.clear();
            {
                test::FileSizeLimit limit(static_cast<rlim_t>(k));
                QVERIFY(limit.ok());
                mnuSave_Click(e);
            }
            const QByteArray cut = QByteArray::number(k);
            QVERIFY2(bytesOf(target) == old, "cut after " + cut + " bytes");
            QVERIFY2(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden) == QStringList({"keep.bmp", "whole.bmp"}),
                     "a temporary file was left after " + cut + " bytes");
            // The message names the file and the system's reason.
            QVERIFY2(messages.size() == 1 && messages[0].find("\"" + answer + "\"") != std::string::npos &&
                         messages[0].find("File too large") != std::string::npos,
                     "after " + cut + " bytes: " + QByteArray::fromStdString(messages.empty() ? "" : messages[0]));
        }
        // Room for exactly the whole bitmap: it replaces the old file.
        messages.clear();
        {
            test::FileSizeLimit limit(static_cast<rlim_t>(whole.size()));
            mnuSave_Click(e);
        }
        QVERIFY(messages.empty());
        QCOMPARE(bytesOf(target), whole);
    }
};

QTEST_MAIN(InterruptedSaveTest)
#include "test_interrupted_save.moc"
