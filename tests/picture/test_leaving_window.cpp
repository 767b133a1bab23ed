// Work that leaves the window and comes in from the desktop: Save tile, the
// clipboard, files dropped on the window and a file named at start.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "draw/lattice_period.h"
#include "picture/save_tile.h"
#include "picture/unsaved_changes.h"
#include "support/picture_commands.h"
#include "support/window_fixture.h"

using namespace kalidor;
using namespace kalidor::test;

namespace {

void choosePattern(Editor& e) { QTest::mouseClick(e.ui.obMode[2].button(), Qt::LeftButton); }

// A file dragged from a file manager and let go over the window.
void dropFiles(QWidget* window, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& f : files)
        urls << QUrl::fromLocalFile(f);
    data.setUrls(urls);
    const QPointF at(400, 300);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    QApplication::processEvents();  // the file opens once the drop is over
}

}  // namespace

class LeavingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void saveTileWritesOnePeriodInPatternOnly()
    {
        auto w = openWindow(612, 658);
        Editor& e = w->editor();
        QAction* entry = e.ui.mnuFile.menu()->actions().at(kFileSaveTile);
        QCOMPARE(entry->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
        QVERIFY(!entry->isEnabled());
        Answers answers(e);
        QTemporaryDir dir;
        answers.name = dir.filePath("tile.png").toStdString();
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(answers.asked.empty());  // greyed: no dialog

        choosePattern(e);
        QVERIFY(entry->isEnabled());
        e.st.PatternX = 60;
        e.st.PatternY = 40;
        drawSomething(e);
        scripted(e).fileFilter = 1;
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(answers.asked.size(), std::size_t{1});
        const QImage tile(dir.filePath("tile.png"), "PNG");
        const TileRect place = placeTile({60, 40}, e.ui.picture->Width(), e.ui.picture->Height());
        QCOMPARE(tile.size(), QSize(60, 40));
        QCOMPARE(tile.convertToFormat(QImage::Format_RGB32), canvasImage(e).copy(place.x, place.y, 60, 40));
        QVERIFY(hasUnsavedChanges(e));  // a tile is not the picture saved

        // Chess doubles the period; one larger than the picture writes nothing.
        QTest::mouseClick(e.ui.cbChess.button(), Qt::LeftButton);
        QCOMPARE(patternTile(e), (TileSize{120, 80}));
        e.st.PatternX = 400;
        QFile::remove(dir.filePath("tile.png"));
        entry->trigger();
        QCOMPARE(answers.asked.size(), std::size_t{1});
        QCOMPARE(answers.messages.size(), std::size_t{1});
        QVERIFY(answers.messages.back().find("800 × 80") != std::string::npos);
        QVERIFY(!QFile::exists(dir.filePath("tile.png")));
    }

    void copyAndPasteGoThroughTheClipboard()
    {
        auto w = openWindow(301, 201);
        Editor& e = w->editor();
        drawSomething(e);
        const QImage drawn = canvasImage(e);
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), drawn);
        QCOMPARE(e.ui.cbCvet.Value(), int16{1});  // C with Ctrl still switches colour pick
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_C);

        // Pasted as Open places a file: at the top-left, white beyond; one step.
        e.ui.mnuFile.menu()->actions().at(kFileNew)->trigger();
        QImage small = drawn.copy(0, 0, 100, 50);
        QGuiApplication::clipboard()->setImage(small);
        QTest::keyClick(e.ui.pbBox.widget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(canvasImage(e).copy(0, 0, 100, 50), small);
        QCOMPARE(e.ui.pb->Point(150, 100), 0xFFFFFF);
        QVERIFY(hasUnsavedChanges(e));
        QVERIFY(e.ui.pbHistory->Undo());
        QCOMPARE(e.ui.pb->Point(5, 60), 0xFFFFFF);  // New's white, not the drawing
        QVERIFY(e.ui.pbHistory->Redo());
        e.ui.mnuEdit.menu()->actions().at(kEditPaste)->trigger();
        QCOMPARE(canvasImage(e).copy(0, 0, 100, 50), small);

        // Text, or nothing: a message, and the picture as it was.
        const QImage before = canvasImage(e);
        QGuiApplication::clipboard()->setText("a mandala");
        e.ui.mnuFile.menu()->actions().at(kFilePaste)->trigger();
        QGuiApplication::clipboard()->clear();
        e.ui.mnuEdit.menu()->actions().at(kEditPaste)->trigger();
        QCOMPARE(scripted(e).messages.size(), std::size_t{2});
        QCOMPARE(scripted(e).messages.back(), std::string("The clipboard holds no picture: nothing was pasted."));
        QCOMPARE(canvasImage(e), before);
    }

    void aDroppedFileOpensAsOpenWould()
    {
        auto w = openWindow(301, 201);
        Editor& e = w->editor();
        QTemporaryDir dir;
        QVERIFY(marked(40, 30).save(dir.filePath("first.png"), "PNG"));
        QVERIFY(QImage(20, 20, QImage::Format_RGB32).save(dir.filePath("second.bmp"), "BMP"));
        drawSomething(e);
        const QImage drawn = canvasImage(e);
        dropFiles(w->form().widget(), {dir.filePath("first.png"), dir.filePath("second.bmp")});
        QCOMPARE(canvasImage(e).copy(0, 0, 40, 30), marked(40, 30).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(e.ui.pb->Point(100, 100), 0xFFFFFF);
        QVERIFY(e.ui.pbHistory->Undo());
        QCOMPARE(canvasImage(e), drawn);
        // A file it cannot read: Open's message, and the drawing stays.
        writeBytes(dir.filePath("notes.bmp"), "not a picture");
        dropFiles(w->form().widget(), {dir.filePath("notes.bmp")});
        QCOMPARE(scripted(e).messages.size(), std::size_t{1});
        QVERIFY(scripted(e).messages.back().find("notes.bmp") != std::string::npos);
        QCOMPARE(canvasImage(e), drawn);
    }

    void aFileNamedAtStartOpensOnceShown()
    {
        QTemporaryDir dir;
        QVERIFY(marked(40, 30).save(dir.filePath("start.bmp"), "BMP"));
        auto w = openWindow(301, 201, nullptr, {}, dir.filePath("start.bmp").toStdString());
        Editor& e = w->editor();
        QTRY_COMPARE(canvasImage(e).copy(0, 0, 40, 30), marked(40, 30).convertToFormat(QImage::Format_RGB32));
        QVERIFY(!hasUnsavedChanges(e));
        QVERIFY(scripted(e).messages.empty());

        auto missing = openWindow(301, 201, nullptr, {}, dir.filePath("gone.bmp").toStdString());
        QTRY_COMPARE(scripted(missing->editor()).messages.size(), std::size_t{1});
        QVERIFY(scripted(missing->editor()).messages.back().find("gone.bmp") != std::string::npos);
        QCOMPARE(missing->editor().ui.pb->Point(10, 10), 0xFFFFFF);
    }
};

QTEST_MAIN(LeavingWindowTest)
#include "test_leaving_window.moc"
