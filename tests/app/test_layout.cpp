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
    void everyControlIsInItsPlace()
    {
        auto w = test::openWindow();
        const Controls& c = w->editor().ui;
        QCOMPARE(w->form().widget()->windowTitle(), QString("Kalidor"));
        const struct {
            const Control& control;
            QRect place;
            QString text;
        } table[] = {
            {c.frMode, {10, 10, 81, 91}, ""},
            {c.obMode[0], {10, 20, 61, 21}, "Normal"},
            {c.obMode[1], {10, 40, 61, 21}, "Centric"},
            {c.obMode[2], {10, 60, 61, 21}, "Pattern"},
            {c.frModeOptions[0], {10, 102, 81, 46}, ""},
            {c.frModeOptions[1], {10, 102, 81, 102}, ""},
            {c.Label1, {10, 15, 31, 21}, "N"},
            {c.lN, {40, 15, 31, 21}, "5"},
            {c.slN, {5, 35, 71, 21}, ""},
            {c.cbCenter, {15, 65, 51, 21}, "Center"},
            {c.frModeOptions[2], {10, 102, 81, 76}, ""},
            {c.cbChess, {15, 15, 56, 26}, "Chess"},
            {c.cbPattern, {15, 45, 51, 21}, "Pannern"},
            {c.pbPalBox, {10, 210, 81, 291}, ""},
            {c.pbColor[1], {10, 515, 31, 31}, ""},
            {c.pbColor[2], {43, 520, 26, 26}, ""},
            {c.pbColor[3], {70, 525, 21, 21}, ""},
            {c.slDrawWidth, {5, 555, 91, 21}, ""},
            {c.Label2, {10, 580, 31, 16}, "Width"},
            {c.kInvert, {5, 615, 41, 21}, "Invert"},
            {c.cbCvet, {50, 615, 41, 21}, "Cvet"},
            {c.obCP, {145, 35, 13, 13}, ""},
        };
        for (const auto& row : table) {
            QCOMPARE(placeOf(row.control), row.place);
            QCOMPARE(textOf(row.control), row.text);
        }
        QCOMPARE(c.frMode.widget()->property("title").toString(), QString("Mode"));
        QCOMPARE(c.frModeOptions[1].widget()->parentWidget(), w->form().widget());
        QCOMPARE(c.slN.widget()->parentWidget(), c.frModeOptions[1].widget());
        QCOMPARE(c.cbPattern.widget()->parentWidget(), c.frModeOptions[2].widget());
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
        QCOMPARE(items, (QStringList{"&New", "&Open", "&Save"}));
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
