// The recovery copy in the real window: it follows every finished step while
// the picture is unsaved and goes when it is saved or the window closes; the
// next start offers what a window left, newest first, and never a running
// window's; a damaged copy is refused and said; a folder that cannot be
// written is said once and changes nothing else.

#include <chrono>
#include <random>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "draw/canvas_input.h"
#include "picture/recovery.h"
#include "picture/undo_redo.h"
#include "picture/unsaved_changes.h"
#include "platform/files/recovery_folder.h"
#include "platform/widgets/surface_widget.h"
#include "support/file_size_limit.h"
#include "support/picture_commands.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;

struct Window {
    std::unique_ptr<MainWindow> window;
    Editor& e;
    QWidget* canvas;

    explicit Window(const QString& folder, std::vector<RestoreChoice> answers = {}, int w = 612, int h = 658)
        : window(open(folder, std::move(answers), w, h)), e(window->editor()), canvas(e.ui.pbBox.widget())
    {
        settle();
    }
    static std::unique_ptr<MainWindow> open(const QString& folder, std::vector<RestoreChoice> answers, int w, int h)
    {
        auto services = std::make_unique<test::ScriptedServices>();
        services->restoreChoices = std::move(answers);
        return test::openWindow(w, h, std::move(services), folder.toStdString());
    }
    test::ScriptedServices& services() { return test::scripted(e); }
    // The offer at start-up, the writer's work and the messages it sends back all done.
    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            e.recovery->writer().wait();
        }
        QCoreApplication::processEvents();
    }
    void stroke(double x0, double y0, double x1, double y1)
    {
        test::press(canvas, test::onCanvas(x0, y0), kL, kL);
        test::move(canvas, test::onCanvas((x0 + x1) / 2, y1), kL);
        test::move(canvas, test::onCanvas(x1, y1), kL);
        test::release(canvas, test::onCanvas(x1, y1), kL, Qt::NoButton);
        settle();
    }
    void undo()
    {
        QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
        settle();
    }
    QImage picture() const { return test::canvasImage(e); }
    const std::string& session() { return e.recovery->writer().session(); }
    std::optional<RecoveryPicture> copy()
    {
        std::int64_t at = 0;
        return readRecoveryCopy(e.recovery->writer().folder(), session(), at);
    }
    // The copy holds exactly the canvas's picture.
    bool copyIsCanvas()
    {
        const std::optional<RecoveryPicture> c = copy();
        return c && sameAs(*c, picture());
    }
    static bool sameAs(const RecoveryPicture& c, const QImage& image)
    {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        if (c.width != rgb.width() || c.height != rgb.height())
            return false;
        for (int y = 0; y < c.height; ++y)
            if (std::memcmp(rgb.constScanLine(y), &c.pixels[static_cast<std::size_t>(y) * c.width],
                            static_cast<std::size_t>(c.width) * 4) != 0)
                return false;
        return true;
    }
};

// The sessions with files in the folder.
QStringList sessions(const QTemporaryDir& dir)
{
    QStringList found;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        if (!found.contains(name.section('.', 0, 0)))
            found << name.section('.', 0, 0);
    return found;
}

// A window that drew a line and was then gone without closing, as a killed
// Kalidor is: its copy stays, and nobody holds its lock. Its picture.
QImage leaveACopy(const QTemporaryDir& dir, int y)
{
    Window w(dir.path());
    w.stroke(20, y, 300, y + 40);
    QTest::qWait(5);  // copies of different times
    return w.picture();
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    // The event storm checks the copy against the picture through every kind of
    // step, save and resize; here, what it cannot see.
    void noCopyBeforeAnythingIsDrawnAndNoneLeftByANormalClose()
    {
        QTemporaryDir dir;
        Window w(dir.path() + "/recovery");
        QVERIFY(!QFileInfo::exists(dir.path() + "/recovery"));
        QVERIFY(w.services().restoreQuestions.empty() && w.services().messages.empty());
        w.stroke(10, 10, 200, 150);
        QVERIFY(w.copyIsCanvas());
        w.services().saveChoices = {SaveChoice::Discard};
        QVERIFY(w.window->form().widget()->close());
        QCOMPARE(QDir(dir.path() + "/recovery").entryList(QDir::Files), QStringList());
    }

    void aCopyLeftIsOfferedOnceShownAndRestoredOrDiscarded()
    {
        QTemporaryDir dir;
        const QImage left = leaveACopy(dir, 50);
        QCOMPARE(sessions(dir).size(), 1);
        {
            Window w(dir.path(), {RestoreChoice::Restore});
            QCOMPARE(w.services().restoreQuestions.size(), std::size_t{1});
            const std::string& q = w.services().restoreQuestions[0];
            QVERIFY2(q.starts_with("Kalidor was closed before the drawing was saved. Restore the drawing from ") &&
                         q.ends_with("?"),
                     q.c_str());
            // As Open does: the picture at the top-left, one step, unsaved.
            QCOMPARE(w.picture(), left);
            QVERIFY(hasUnsavedChanges(w.e));
            // The old copy went once the window's own held the picture.
            QCOMPARE(sessions(dir), QStringList{QString::fromStdString(w.session())});
            QVERIFY(w.copyIsCanvas());
            // Undone, the picture is the one the window started with: nothing to recover.
            w.undo();
            QVERIFY(w.picture() != left);
            QVERIFY(!w.copy());
            QTest::keyClick(w.canvas, Qt::Key_Y, Qt::ControlModifier);
            w.settle();
            QVERIFY(w.copyIsCanvas());
        }
        // That window was gone without closing too: its copy is offered, and discarded.
        Window w(dir.path(), {RestoreChoice::Discard});
        QCOMPARE(w.services().restoreQuestions.size(), std::size_t{1});
        QVERIFY(!w.e.ui.pbHistory->CanUndo());
        QCOMPARE(sessions(dir), QStringList());
        // With no copy left, start-up asks nothing.
        Window again(dir.path());
        QVERIFY(again.services().restoreQuestions.empty() && again.services().messages.empty());
    }

    void severalCopiesAreOfferedNewestFirstUntilOneIsRestored()
    {
        QTemporaryDir dir;
        leaveACopy(dir, 20);
        const QImage middle = leaveACopy(dir, 120);
        const QImage newest = leaveACopy(dir, 220);
        {
            // No answer (the question closed) keeps every copy.
            Window w(dir.path());
            QCOMPARE(w.services().restoreQuestions.size(), std::size_t{3});
            QCOMPARE(sessions(dir).size(), 3);
        }
        Window w(dir.path(), {RestoreChoice::Discard, RestoreChoice::Restore});
        QCOMPARE(w.services().restoreQuestions.size(), std::size_t{2});
        QCOMPARE(w.picture(), middle);
        QVERIFY(w.picture() != newest);
        // The oldest stays for a later start, beside the window's own.
        QCOMPARE(sessions(dir).size(), 2);
    }

    void aDamagedCopyIsRefusedWholeAndSaid()
    {
        QTemporaryDir dir;
        leaveACopy(dir, 50);
        const QString whole = dir.filePath(sessions(dir)[0] + ".whole");
        QByteArray bytes = test::bytesOf(whole);
        bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 1);
        test::writeBytes(whole, bytes);
        Window w(dir.path(), {RestoreChoice::Restore});
        QVERIFY(w.services().restoreQuestions.empty());
        QCOMPARE(w.services().messages.size(), std::size_t{1});
        QVERIFY2(w.services().messages[0].find("is damaged and cannot be restored") != std::string::npos,
                 w.services().messages[0].c_str());
        QVERIFY(!w.e.ui.pbHistory->CanUndo());
        QCOMPARE(sessions(dir), QStringList());
    }

    void twoWindowsAtOnceKeepSeparateCopiesAndNeitherIsOffered()
    {
        QTemporaryDir dir;
        Window a(dir.path()), b(dir.path());
        a.stroke(10, 10, 300, 100);
        b.stroke(10, 300, 100, 20);
        b.stroke(200, 300, 210, 20);
        QVERIFY(a.session() != b.session());
        QVERIFY(a.copyIsCanvas() && b.copyIsCanvas());
        QVERIFY(a.picture() != b.picture());
        // A third start sees two copies of running windows: it asks nothing and touches neither.
        Window c(dir.path(), {RestoreChoice::Discard, RestoreChoice::Discard});
        QVERIFY(c.services().restoreQuestions.empty() && c.services().messages.empty());
        QVERIFY(a.copyIsCanvas() && b.copyIsCanvas());
        a.stroke(400, 10, 410, 300);
        QVERIFY(a.copyIsCanvas() && b.copyIsCanvas());
    }

    void aFolderThatCannotBeWrittenIsSaidOnceAndDrawingAndSavingGoOn()
    {
        QTemporaryDir dir;
        test::writeBytes(dir.filePath("data"), "a file where the folder would go");
        Window w(dir.filePath("data") + "/recovery");
        w.stroke(10, 10, 200, 150);
        w.stroke(30, 10, 220, 150);
        test::menuItem(w.e, 0);
        w.stroke(30, 10, 220, 150);
        QCOMPARE(w.services().messages.size(), std::size_t{1});
        QVERIFY2(w.services().messages[0].starts_with("Kalidor cannot keep a recovery copy of the drawing in"),
                 w.services().messages[0].c_str());
        QVERIFY(w.e.ui.pbHistory->CanUndo());
        test::Answers answers(w.e);
        answers.name = dir.filePath("saved.bmp").toStdString();
        test::menuItem(w.e, 2);
        QCOMPARE(w.services().messages.size(), std::size_t{1});
        QVERIFY(!hasUnsavedChanges(w.e));
        QCOMPARE(test::canvasImage(w.e), QImage(dir.filePath("saved.bmp")).convertToFormat(QImage::Format_RGB32));

        // A full disk: said once as well, and the copy comes back once there is room.
        QTemporaryDir other;
        Window full(other.path());
        full.stroke(10, 10, 200, 150);
        QVERIFY(full.copyIsCanvas());
        {
            test::FileSizeLimit limit(64);
            QVERIFY(limit.ok());
            full.stroke(30, 10, 230, 150);
            full.stroke(50, 10, 250, 150);
        }
        QCOMPARE(full.services().messages.size(), std::size_t{1});
        QVERIFY2(full.services().messages[0].find("File too large") != std::string::npos,
                 full.services().messages[0].c_str());
        full.stroke(70, 10, 270, 150);
        QVERIFY(full.copyIsCanvas());
        QCOMPARE(full.services().messages.size(), std::size_t{1});
    }

    // Not a timed check: prints what keeping the copy costs the window's thread
    // per finished step on a 3840 x 2160 canvas, against one copy of that picture.
    void theCostPerStepAt4KIsPrinted()
    {
        QTemporaryDir dir;
        Window w(dir.path(), {}, 3840 + 114, 2160 + 34);
        QCOMPARE(w.e.ui.pb->ScaleWidth(), 3840.0f);
        QCOMPARE(w.e.ui.pb->ScaleHeight(), 2160.0f);
        std::mt19937 random(28);
        w.e.ui.pb->SetDrawWidth(10);
        const auto step = [&](int mode, int moves) {
            w.e.st.Mode = static_cast<int16>(mode);
            w.e.st.PatternX = 200;
            w.e.st.PatternY = 200;
            float x = static_cast<float>(random() % 3800), y = static_cast<float>(random() % 2100);
            pb_MouseDown(w.e, MouseArgs{1, 0, x, y});
            for (int i = 0; i < moves; ++i) {
                x = std::clamp(x + static_cast<float>(static_cast<int>(random() % 81) - 40), 0.0f, 3839.0f);
                y = std::clamp(y + static_cast<float>(static_cast<int>(random() % 81) - 40), 0.0f, 2159.0f);
                pb_MouseMove(w.e, MouseArgs{1, 0, x, y});
            }
            pb_MouseUp(w.e, MouseArgs{0, 0, x, y});
        };
        const auto timed = [&] {
            QElapsedTimer t;
            t.start();
            w.e.recovery->afterEvent();
            return static_cast<double>(t.nsecsElapsed()) / 1e6;
        };
        step(0, 10);  // the first step copies the whole picture
        const double first = timed();
        const char* names[] = {"Normal", "Centric", "Pattern"};
        double total[3] = {}, longest[3] = {};
        const int steps = 300;
        for (int i = 0; i < steps; ++i) {
            // The writer done with the last step, as when strokes come slower than the disk.
            w.e.recovery->writer().wait();
            // Normal, Centric (N = 5, the slider's start) and Pattern (200-pixel cells)
            // strokes of 60 moves; a Pattern stroke reaches every tile of the canvas.
            // What the stroke waited at its first write for the writer's copy
            // of the last step counts to that step.
            const long long waited = w.e.recovery->writer().waitedNs();
            step(i % 3, 60);
            const double ms = timed() + static_cast<double>(w.e.recovery->writer().waitedNs() - waited) / 1e6;
            total[i % 3] += ms;
            longest[i % 3] = std::max(longest[i % 3], ms);
        }
        QElapsedTimer t;
        t.start();
        const QImage& backing = w.e.ui.pbBox.box()->surface().backing();
        const QImage whole = backing.copy();
        const double copyMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        // The same pixels into memory already there, the least a whole step can cost.
        std::vector<std::uint32_t> there(static_cast<std::size_t>(backing.width()) * backing.height(), 1);
        double plainMs = 1e9;
        for (int i = 0; i < 5; ++i) {
            t.restart();
            std::memcpy(there.data(), backing.constBits(), there.size() * 4);
            plainMs = std::min(plainMs, static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        w.settle();
        QVERIFY(w.copyIsCanvas());
        qInfo("recovery at 3840 x 2160, %d strokes: %.3f ms a step on average, %.3f ms the longest; the first "
              "step (the whole picture into new memory) %.3f ms; one copy of the picture: QImage::copy %.3f ms, "
              "memcpy into memory already there %.3f ms",
              steps, (total[0] + total[1] + total[2]) / steps, std::max({longest[0], longest[1], longest[2]}), first,
              copyMs, plainMs);
        for (int m = 0; m < 3; ++m)
            qInfo("  %s strokes: %.3f ms on average, %.3f ms the longest", names[m], total[m] / (steps / 3), longest[m]);
        QVERIFY(!whole.isNull());
    }

};

QTEST_MAIN(RecoveryTest)
#include "test_recovery.moc"
