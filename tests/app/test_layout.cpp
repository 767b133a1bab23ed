// The main window: every control in its place and initial state, the resize
// rule, and the File pop-up of the status bar.

#include <QAbstractButton>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QStyle>
#include <QTest>

#include "app/layout.h"
#include "platform/widgets/status_bar_widget.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

QRect placeOf(const Control& c) { return QRect(c.Left(), c.Top(), c.Width(), c.Height()); }

QString textOf(const Control& c)
{
    if (auto* b = qobject_cast<QAbstractButton*>(c.widget()))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(c.widget()))
        return l->text();
    return {};
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlStandsInsideTheWindowApartFromTheOthers()
    {
        auto w = test::openWindow();
        const Controls& c = w->editor().ui;
        QWidget* window = w->form().widget();
        QCOMPARE(window->windowTitle(), QString("Kalidor"));
        // Each mode shows its own options frame where the others were: check what
        // a user sees in each.
        for (std::size_t mode : {0u, 1u, 2u}) {
            QTest::mouseClick(c.obMode[mode].button(), Qt::LeftButton);
            for (QWidget* container : {window, c.frMode.widget(), c.frModeOptions[mode].widget()}) {
                QList<QWidget*> shown;
                for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (child->isVisible() && !child->isWindow())
                        shown << child;
                QVERIFY(container != window || shown.size() >= 10);
                for (QWidget* a : shown) {
                    const QString name = QString("mode %1: %2 at %3,%4 %5x%6")
                                             .arg(mode).arg(a->metaObject()->className())
                                             .arg(a->x()).arg(a->y()).arg(a->width()).arg(a->height());
                    QVERIFY2(container->rect().contains(a->geometry()), qPrintable(name + " leaves its container"));
                    // The option buttons' edges share a pixel row; nothing more may overlap.
                    for (QWidget* b : shown) {
                        const QRect both = a->geometry() & b->geometry();
                        QVERIFY2(a == b || both.width() <= 1 || both.height() <= 1, qPrintable(name + " overlaps another"));
                    }
                }
            }
        }
        // The options stand under the mode frame, the canvas right of both.
        QVERIFY(c.frModeOptions[1].Top() > c.frMode.Top() + c.frMode.Height());
        QVERIFY(c.pbBox.Left() > c.frMode.Left() + c.frMode.Width());
        QStringList captions;
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
            captions << b->text();
        for (QLabel* l : window->findChildren<QLabel*>())
            captions << l->text();
        captions.sort();
        QCOMPARE(captions, (QStringList{"5", "Center", "Centric", "Chess", "Cvet", "Invert", "N", "Normal", "Pannern",
                                        "Pattern", "Width"}));
        QCOMPARE(c.frMode.widget()->property("title").toString(), QString("Mode"));
        QCOMPARE(c.obCP.widget()->parentWidget(), c.pbBox.widget());
    }

    void noCaptionIsClipped()
    {
        auto w = test::openWindow();
        const Controls& c = w->editor().ui;
        for (QWidget* widget : {c.obMode[0].widget(), c.obMode[1].widget(), c.obMode[2].widget(), c.cbChess.widget()}) {
            auto* b = qobject_cast<QAbstractButton*>(widget);
            const QStyle* st = b->style();
            const int need = st->pixelMetric(QStyle::PM_IndicatorWidth) +
                             st->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) +
                             b->fontMetrics().horizontalAdvance(b->text());
            QVERIFY2(need <= b->width(), qPrintable(b->text()));
        }
        for (QWidget* widget : {c.cbCenter.widget(), c.cbPattern.widget(), c.cbCvet.widget(), c.kInvert.widget()}) {
            auto* b = qobject_cast<QAbstractButton*>(widget);
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) + 6 <= b->width(), qPrintable(b->text()));
        }
        for (QWidget* widget : {c.Label1.widget(), c.lN.widget(), c.Label2.widget()}) {
            auto* label = qobject_cast<QLabel*>(widget);
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        }
        // The face they are measured for is installed, not a wider stand-in.
        QCOMPARE(QFontInfo(c.cbPattern.widget()->font()).family(), QString("DejaVu Sans Condensed"));
    }

    void controlsStartInTheirInitialState()
    {
        auto w = test::openWindow();
        const Controls& c = w->editor().ui;
        QCOMPARE(c.slN.Value(), 5);
        QCOMPARE(c.slN.slider()->minimum(), 1);
        QCOMPARE(c.slN.Max(), 16);
        QCOMPARE(c.slN.slider()->pageStep(), 5);
        QCOMPARE(c.slN.slider()->singleStep(), 1);
        QCOMPARE(c.slDrawWidth.Value(), 1);
        QCOMPARE(c.slDrawWidth.slider()->minimum(), 1);
        QCOMPARE(c.slDrawWidth.Max(), 30);
        QCOMPARE(c.slDrawWidth.slider()->pageStep(), 5);
        QCOMPARE(c.pb->DrawWidth(), int16{1});
        QCOMPARE(c.pb->DrawMode(), kCopyPen);
        QCOMPARE(c.cbCenter.Value(), int16{1});
        QCOMPARE(c.cbPattern.Value(), int16{1});
        QCOMPARE(c.cbChess.Value(), int16{0});
        QCOMPARE(c.cbCvet.Value(), int16{0});
        QCOMPARE(c.pbColor[1].BackColor(), Colour{0x000000});
        QCOMPARE(c.pbColor[2].BackColor(), Colour{0xFFFFFF});
        QCOMPARE(c.pbColor[3].BackColor(), Colour{0x800080});
        QCOMPARE(c.pb->BackColor(), kWhite);
        QCOMPARE(c.pb->Point(10, 10), 0xFFFFFF);
        QCOMPARE(c.sb.PanelText(1), std::string("File"));
        QCOMPARE(c.sb.PanelText(2), std::string());
        QCOMPARE(c.sb.bar()->panelRect(1).width(), 96);
        QCOMPARE(c.sb.bar()->panelRect(3), QRect(176, 0, 80, 20));
        QStringList items;
        for (QAction* a : c.mnuFile.menu()->actions())
            items << a->text();
        // The three commands first, as they stand; then what leaves the window.
        QCOMPARE(items, (QStringList{"&New", "&Open", "&Save", "Save &tile...", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "Si&ze..."}));
        QVERIFY(!c.mnuFile.Enabled(kFileSaveTile));
        QVERIFY(!c.mnuFile.showing());
    }

    void theIconIs32PixelsIn16Colours()
    {
        auto w = test::openWindow();
        const QIcon icon = w->form().widget()->windowIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(32, 32)}));
        const QImage image = icon.pixmap(32, 32).toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                colours.insert(image.pixel(x, y));
        QVERIFY(colours.size() > 4 && colours.size() <= 16);
    }

    void theCanvasFillsTheWindow()
    {
        auto w = test::openWindow(612, 658);
        const Controls& c = w->editor().ui;
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 502, 628));
        QCOMPARE(c.pb->Width(), 502.0f);
        QCOMPARE(c.pb->ScaleWidth(), 498.0f);
        QCOMPARE(c.sb.widget()->geometry(), QRect(0, 638, 612, 20));
        w->form().widget()->resize(900, 500);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 790, 470));
        QCOMPARE(c.sb.widget()->geometry(), QRect(0, 480, 900, 20));
        // Exactly 110 wide leaves a canvas of width 0.
        w->form().widget()->resize(110, 500);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 0, 470));
    }

    void aWindowTooSmallLeavesTheCanvasAsItWas()
    {
        auto w = test::openWindow(612, 658);
        const Controls& c = w->editor().ui;
        w->form().widget()->resize(100, 400);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 502, 628));
        w->form().widget()->resize(400, 29);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 502, 628));
        w->form().widget()->resize(1, 1);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 502, 628));
        w->form().widget()->resize(300, 200);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 190, 170));
    }

    void minimisingLeavesTheCanvasAndRestoringAppliesTheRule()
    {
        auto w = test::openWindow(612, 658);
        QWidget* window = w->form().widget();
        const Controls& c = w->editor().ui;
        window->setWindowState(Qt::WindowMinimized);
        QCOMPARE(w->form().WindowState(), kMinimisedWindow);
        window->resize(800, 700);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 502, 628));
        window->setWindowState(Qt::WindowNoState);
        QCOMPARE(placeOf(c.pbBox), QRect(100, 10, 690, 670));
    }

    void thePopupOpensOnPanelOneOnly()
    {
        auto w = test::openWindow();
        Editor& e = w->editor();
        Menu& menu = e.ui.mnuFile;
        QWidget* bar = e.ui.sb.widget();
        auto pressAt = [&](double x, Qt::MouseButton b) {
            test::press(bar, QPointF(x, 5), b, b);
            const bool shown = menu.showing();
            menu.menu()->hide();
            test::release(bar, QPointF(x, 5), b, Qt::NoButton);
            return shown;
        };
        QVERIFY(pressAt(1349.0 / 15, Qt::LeftButton));
        QVERIFY(pressAt(0, Qt::LeftButton));
        QVERIFY(pressAt(40, Qt::RightButton));
        QVERIFY(pressAt(40, Qt::MiddleButton));
        QVERIFY(!pressAt(90, Qt::LeftButton));  // 1350 twips
        QVERIFY(!pressAt(95, Qt::LeftButton));  // still panel 1, but its last pixels
        QVERIFY(!pressAt(120, Qt::LeftButton));
        QVERIFY(!pressAt(200, Qt::RightButton));
        // The threshold itself, in twips.
        sb_MouseDown(e, MouseArgs{1, 0, 1349.9f, 0});
        QVERIFY(menu.showing());
        menu.menu()->hide();
        sb_MouseDown(e, MouseArgs{2, 7, 1350.0f, 0});
        QVERIFY(!menu.showing());
    }
};

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
