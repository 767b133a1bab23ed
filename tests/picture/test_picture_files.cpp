// File > Open and Save: round trips, the picture formats, the dialogs' answers,
// bad files and failed saves.

#include <csignal>
#include <functional>

#include <sys/resource.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QKeySequence>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "picture/open_picture.h"
#include "picture/save_picture.h"
#include "support/picture_commands.h"
#include "support/picture_writers.h"
#include "support/window_fixture.h"

using namespace kalidor;
using namespace kalidor::test;

namespace {

// Qt has no GIF writer: a GIF with a 4-colour table whose LZW stream sends a
// clear code before every two pixels, so that every code stays 3 bits wide.
QByteArray gif(int w, int h, const std::function<int(int, int)>& index)
{
    QByteArray b("GIF89a");
    auto u16 = [&](int v) {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
    };
    u16(w);
    u16(h);
    b.append(char(0xF1)).append('\0').append('\0');
    b.append(QByteArray::fromHex("ff000000ff000000ff000000"));  // red, green, blue, black
    b.append(',');
    u16(0);
    u16(0);
    u16(w);
    u16(h);
    b.append('\0').append(char(2));
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            data.append(char(bits & 0xFF));
    };
    for (int i = 0; i < w * h; ++i) {
        if (i % 2 == 0)
            put(4);
        put(index(i % w, i / w));
    }
    put(5);
    if (count > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        b.append(char(block.size())).append(block);
    }
    return b.append('\0').append(';');
}

int gifMark(int x, int y, int w, int h)
{
    const QColor c = markAt(x, y, w, h);
    return c == Qt::red ? 0 : c == Qt::green ? 1 : 2;
}

}  // namespace

class PictureFilesTest : public QObject {
    Q_OBJECT
private slots:
    void aDrawingComesBackPixelForPixel()
    {
        // An odd interior width, 187, gives bitmap rows that need padding.
        auto w = test::openWindow(301, 201);
        Editor& e = w->editor();
        QCOMPARE(e.ui.pb->ScaleWidth(), 187.0f);
        drawSomething(e);
        const QImage drawn = canvasImage(e);
        QTemporaryDir dir;
        Answers answers(e);
        answers.name = dir.filePath("drawing").toStdString();
        menuItem(e, 2);
        QCOMPARE(answers.asked.back().first, FileDialogKind::Save);
        QCOMPARE(answers.asked.back().second, std::string("Bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"drawing"});  // no extension added
        QVERIFY(bytesOf(dir.filePath("drawing")).startsWith("BM"));
        QImageReader reader(dir.filePath("drawing"));
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32), drawn);

        menuItem(e, 0);
        QCOMPARE(e.ui.pb->Point(5, 60), 0xFFFFFF);
        menuItem(e, 1);
        QCOMPARE(answers.asked.back().first, FileDialogKind::Open);
        QCOMPARE(answers.asked.back().second,
                 std::string("Picture (*.bmp;*.ico;*.gif;*.jpg)|*.bmp;*.ico;*.gif;*.jpg|Bitmap (*.bmp;*.ico)|"
                             "*.bmp;*.ico|Giff-files (*.gif)|*.gif|Jpeg-files (*.jpg)|*.jpg|All files (*.*)|*.*|"
                             "PNG image (*.png)|*.png"));
        QCOMPARE(canvasImage(e), drawn);
        QVERIFY(answers.messages.empty());
    }

    void saveWritesTheTypeChosenUnderTheNameTypedAndReplacesAnOldFile()
    {
        auto w = test::openWindow(301, 201);
        Editor& e = w->editor();
        drawSomething(e);
        QTemporaryDir dir;
        writeBytes(dir.filePath("photo.jpg"), QByteArray(100000, 'x'));
        Answers answers(e);
        // The dialog's type decides, whatever the name's extension.
        const struct {
            const char* name;
            int type;
            const char* format;
        } table[] = {{"drawing.png", 1, "png"}, {"DRAWING.PnG", 1, "png"}, {"photo.jpg", 0, "bmp"},
                     {"drawing.png.bmp", 0, "bmp"}, {"drawingpng", 1, "png"}, {"drawing.bmp", 1, "png"},
                     {"picture.png", 0, "bmp"}};
        for (const auto& row : table) {
            answers.name = dir.filePath(row.name).toStdString();
            scripted(e).fileFilter = row.type;
            mnuSave_Click(e);
            QImageReader reader(dir.filePath(row.name));
            reader.setDecideFormatFromContent(true);
            QVERIFY2(reader.format() == row.format, row.name);
            QVERIFY2(reader.read().convertToFormat(QImage::Format_RGB32) == canvasImage(e), row.name);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), qsizetype(std::size(table)));

        // Save after Invert writes the inverted picture over the old files.
        QTest::mouseClick(e.ui.kInvert.button(), Qt::LeftButton);
        for (const char* name : {"photo.jpg", "drawing.png"}) {
            answers.name = dir.filePath(name).toStdString();
            mnuSave_Click(e);
            QImage inverted = QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(QColor(inverted.pixel(5, 60)), QColor(0, 255, 255));  // was red
            QCOMPARE(inverted, canvasImage(e));
        }
        QVERIFY(answers.messages.empty());
    }

    void ctrlNOAndSRunTheCommandsWhicheverControlHasTheFocus()
    {
        auto w = test::openWindow(301, 201);
        Editor& e = w->editor();
        QMenu* menu = e.ui.mnuFile.menu();
        QCOMPARE(menu->actions().at(0)->text(), QString("&New"));  // the captions stay, the keys show beside them
        QCOMPARE(menu->actions().at(2)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        drawSomething(e);
        const QImage drawn = canvasImage(e);
        QTemporaryDir dir;
        const QString file = dir.filePath("keys.png");
        Answers answers(e);
        answers.name = file.toStdString();
        QWidget* const focused[] = {e.ui.pbBox.widget(), e.ui.slDrawWidth.widget(), e.ui.cbCvet.button(),
                                    e.ui.obMode[2].button(), e.ui.kInvert.button()};
        for (QWidget* widget : focused) {
            const char* name = widget->metaObject()->className();
            widget->setFocus();
            QFile::remove(file);
            const std::size_t asked = answers.asked.size();
            QTest::keyClick(widget, Qt::Key_S, Qt::ControlModifier);
            QVERIFY2(answers.asked.size() == asked + 1 && answers.asked.back().first == FileDialogKind::Save, name);
            QVERIFY2(QImage(file) == drawn, name);
            QTest::keyClick(widget, Qt::Key_N, Qt::ControlModifier);
            QVERIFY2(e.ui.pb->Point(5, 60) == 0xFFFFFF, name);
            QTest::keyClick(widget, Qt::Key_O, Qt::ControlModifier);
            QVERIFY2(answers.asked.size() == asked + 2 && answers.asked.back().first == FileDialogKind::Open, name);
            QVERIFY2(canvasImage(e) == drawn, name);
            QCOMPARE(e.st.Mode, kNormal);
        }
        QCOMPARE(answers.asked.size(), std::size(focused) * 2);
        // The other keys keep their meaning: C with or without Ctrl toggles colour
        // pick, and N, O and S alone, or with Shift or Alt too, run nothing.
        QWidget* canvas = e.ui.pbBox.widget();
        canvas->setFocus();
        QTest::keyClick(canvas, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(e.ui.cbCvet.Value(), int16{1});
        QTest::keyClick(canvas, Qt::Key_C);
        QCOMPARE(e.ui.cbCvet.Value(), int16{0});
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(), Qt::ShiftModifier | ctrl, Qt::AltModifier | ctrl})
            for (Qt::Key key : {Qt::Key_N, Qt::Key_O, Qt::Key_S})
                QTest::keyClick(canvas, key, mods);
        QCOMPARE(answers.asked.size(), std::size(focused) * 2);
        QCOMPARE(canvasImage(e), drawn);
    }

    void picturesOpenAtTheTopLeftCornerCutAtTheCanvasEdges()
    {
        auto w = test::openWindow(300, 200);
        Editor& e = w->editor();
        const int cw = static_cast<int>(e.ui.pb->ScaleWidth());
        const int ch = static_cast<int>(e.ui.pb->ScaleHeight());
        QCOMPARE(QSize(cw, ch), QSize(186, 166));
        QTemporaryDir dir;
        QVERIFY(marked(40, 30).save(dir.filePath("small.ico"), "ICO"));
        QVERIFY(marked(256, 256).save(dir.filePath("large.ico"), "ICO"));
        QVERIFY(marked(48, 32).save(dir.filePath("small.jpg"), "JPEG", 95));
        QVERIFY(marked(256, 240).save(dir.filePath("large.jpg"), "JPEG", 95));
        QVERIFY(marked(40, 30).save(dir.filePath("small.png"), "PNG"));
        writeBytes(dir.filePath("small.gif"), gif(40, 30, [](int x, int y) { return gifMark(x, y, 40, 30); }));
        writeBytes(dir.filePath("large.gif"), gif(250, 200, [](int x, int y) { return gifMark(x, y, 250, 200); }));
        const struct {
            const char* file;
            QSize size;
        } table[] = {{"small.ico", {40, 30}}, {"large.ico", {256, 256}}, {"small.jpg", {48, 32}},
                     {"large.jpg", {256, 240}}, {"small.gif", {40, 30}}, {"large.gif", {250, 200}},
                     {"small.png", {40, 30}}};
        Answers answers(e);
        for (const auto& row : table) {
            drawSomething(e);
            answers.name = dir.filePath(row.file).toStdString();
            mnuOpen_Click(e);
            const int pw = row.size.width(), ph = row.size.height();
            QVERIFY2(near(e.ui.pb->Point(0, 0), Qt::red), row.file);
            QVERIFY2(near(e.ui.pb->Point(20, 20), Qt::green), row.file);
            if (pw < cw) {
                QVERIFY2(near(e.ui.pb->Point(pw - 1, ph - 1), Qt::blue), row.file);
                QVERIFY2(e.ui.pb->Point(pw, 0) == 0xFFFFFF && e.ui.pb->Point(0, ph) == 0xFFFFFF, row.file);
                QVERIFY2(e.ui.pb->Point(cw - 1, ch - 1) == 0xFFFFFF, row.file);  // the drawing is gone
            } else {
                QVERIFY2(near(e.ui.pb->Point(cw - 1, ch - 1), Qt::green), row.file);
            }
            QCOMPARE(e.ui.pb->ScaleWidth(), float(cw));
            QCOMPARE(e.ui.pb->ScaleHeight(), float(ch));
            QCOMPARE(canvasImage(e).size(), QSize(cw, ch));
        }
        // New after Open leaves only white.
        menuItem(e, 0);
        QImage white(cw, ch, QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(canvasImage(e), white);
    }

    void aCancelledDialogChangesNothing()
    {
        auto w = test::openWindow(301, 201);
        Editor& e = w->editor();
        drawSomething(e);
        const QImage drawn = canvasImage(e);
        QTemporaryDir dir;
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        Answers answers(e);
        answers.name.reset();
        menuItem(e, 1);
        QCOMPARE(canvasImage(e), drawn);
        menuItem(e, 2);
        QDir::setCurrent(home);
        QCOMPARE(answers.asked.size(), std::size_t{2});
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(answers.messages.empty());
    }

    void badFilesLeaveTheDrawingAsItWas()
    {
        auto w = test::openWindow(301, 201);
        Editor& e = w->editor();
        QTemporaryDir dir;
        QImage good = marked(120, 90);
        QVERIFY(good.save(dir.filePath("good.bmp"), "BMP"));
        QVERIFY(good.save(dir.filePath("good.jpg"), "JPEG"));
        const QByteArray bmp = bytesOf(dir.filePath("good.bmp"));
        const QByteArray jpg = bytesOf(dir.filePath("good.jpg"));
        writeBytes(dir.filePath("cut.bmp"), bmp.left(bmp.size() - 100));
        writeBytes(dir.filePath("cut.jpg"), jpg.left(jpg.size() * 2 / 3));
        writeBytes(dir.filePath("notes.bmp"), "Not a picture at all, only words.\n");
        writeBytes(dir.filePath("empty.gif"), "");
        // Headers that declare 60000 x 60000 pixels: a bitmap with no rows, and a
        // complete GIF whose one small image sits on a screen that size.
        QByteArray huge = bmp.left(54);
        const QByteArray side = QByteArray::fromHex("60ea0000");  // 60000, little-endian
        huge.replace(18, 4, side).replace(22, 4, side);
        writeBytes(dir.filePath("huge.bmp"), huge);
        QByteArray hugeGif = gif(2, 2, [](int, int) { return 1; });
        hugeGif.replace(6, 4, QByteArray::fromHex("60ea60ea"));
        writeBytes(dir.filePath("huge.gif"), hugeGif);
        // Larger than any canvas, so read in part by Kalidor's own readers, and cut.
        const QByteArray bigGif = gif(2000, 1500, [](int x, int y) { return (x + y) % 3; });
        writeBytes(dir.filePath("cut.gif"), bigGif.left(bigGif.size() * 2 / 3));
        PngRecipe interlaced{{2000, 1500}, 0, 8, true};
        interlaced.samples.assign(2000 * 1500, 77);
        const QByteArray png = pngFile(interlaced);
        writeBytes(dir.filePath("cut.png"), png.left(png.size() - 20));
        std::vector<std::uint8_t> runs;
        for (int y = 0; y < 1500; ++y)
            runs.insert(runs.end(), {250, 1, 250, 2, 0, 0});
        runs.insert(runs.end(), {0, 1});
        const QByteArray rle = runLengthBitmap(500, 1500, 8, {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)}, runs);
        writeBytes(dir.filePath("cut_runs.bmp"), rle.left(rle.size() / 2));

        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        drawSomething(e);
        const QImage drawn = canvasImage(e);
        const long long state = e.ui.pbHistory->PictureState();
        QVERIFY(QDir(dir.path()).mkdir("folder.bmp"));
        QVERIFY(QFile::copy(QFINDTESTDATA("regressions/progressive_frame_of_27000_by_28000.jpg"), dir.filePath("bomb.jpg")));
        // A PNG whose header claims 20000 x 20000 pixels, with the rows of 20.
        QVERIFY(marked(20, 20).save(dir.filePath("liar.png"), "PNG"));
        QByteArray liar = bytesOf(dir.filePath("liar.png"));
        liar.replace(16, 8, QByteArray::fromHex("00004e2000004e20"));
        writeBytes(dir.filePath("liar.png"), liar);
        Answers answers(e);
        const struct {
            const char* file;
            std::string reason;
        } table[] = {{"cut.bmp", "the picture is cut off or damaged."},
                     {"cut.jpg", "the picture is cut off or damaged."},
                     {"liar.png", "the picture is cut off or damaged."},
                     {"notes.bmp", "it is not a picture Kalidor reads (BMP, ICO, GIF, JPEG or PNG)."},
                     {"empty.gif", "it is not a picture Kalidor reads"},
                     {"huge.bmp", "the picture is cut off or damaged."},  // no rows at all
                     {"huge.gif", "too large: 60000 × 60000 pixels, and Kalidor opens up to 32768 a side."},
                     {"cut.gif", "the picture is cut off or damaged."},
                     {"cut.png", "the picture is cut off or damaged."},
                     {"cut_runs.bmp", "the picture is cut off or damaged."},
                     // A progressive JPEG's header that would have libjpeg gather 800 MB.
                     {"bomb.jpg", "too large to read whole: 28432 × 26979 pixels."},
                     {"missing.bmp", "it cannot be read: there is no such file."},
                     {"folder.bmp", "it cannot be read: it is a folder."}};
        for (const auto& row : table) {
            answers.name = dir.filePath(row.file).toStdString();
            mnuOpen_Click(e);
            QVERIFY2(canvasImage(e) == drawn, row.file);
            // One message, naming the file and why.
            QVERIFY2(answers.messages.size() == std::size_t(&row - table + 1), row.file);
            const std::string& said = answers.messages.back();
            QVERIFY2(said.starts_with("Kalidor could not open \"" + *answers.name + "\": "), said.c_str());
            QVERIFY2(said.find(row.reason) != std::string::npos, said.c_str());
        }
        // Nor did any of them leave a step to undo.
        QCOMPARE(e.ui.pbHistory->PictureState(), state);
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 64 * 1024, "no picture of the declared size was allocated");
        // The whole files themselves open.
        answers.name = dir.filePath("good.bmp").toStdString();
        mnuOpen_Click(e);
        QCOMPARE(e.ui.pb->Point(119, 89), 0xFF0000);
    }

    void aFailedSaveSaysWhyAndKeepsTheOldFile()
    {
        auto w = test::openWindow(301, 201);
        Editor& e = w->editor();
        drawSomething(e);
        QTemporaryDir dir;
        Answers answers(e);

        const QString nowhere = dir.filePath("no such folder/drawing.bmp");
        answers.name = nowhere.toStdString();
        mnuSave_Click(e);
        QCOMPARE(answers.messages.size(), std::size_t{1});
        QVERIFY2(answers.messages[0].find("\"" + nowhere.toStdString() + "\"") != std::string::npos, answers.messages[0].c_str());
        QVERIFY2(answers.messages[0].find("No such file or directory") != std::string::npos, answers.messages[0].c_str());
        QVERIFY(!QFile::exists(nowhere));

        // A full disk: the picture is larger than any file may grow.
        const QByteArray old = "the drawing saved an hour ago";
        const struct {
            const char* name;
            rlim_t limit;
        } table[] = {{"keep.bmp", 4096}, {"keep.png", 64}};
        for (const auto& row : table) {
            const QString target = dir.filePath(row.name);
            writeBytes(target, old);
            rlimit saved{};
            getrlimit(RLIMIT_FSIZE, &saved);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = saved;
            small.rlim_cur = row.limit;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            answers.name = target.toStdString();
            mnuSave_Click(e);
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
            const std::string& said = answers.messages.back();
            QVERIFY2(said.find("\"" + target.toStdString() + "\"") != std::string::npos, said.c_str());
            QVERIFY2(said.find("File too large") != std::string::npos, said.c_str());
            QCOMPARE(bytesOf(target), old);
        }
        QCOMPARE(answers.messages.size(), std::size_t{3});
        // No leftovers.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"keep.bmp", "keep.png"}));
    }
};

QTEST_MAIN(PictureFilesTest)
#include "test_picture_files.moc"
