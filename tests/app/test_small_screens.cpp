// The window on the screens people have, as a user and a screen reader find it:
// at every size down to 800 x 480 each control can be scrolled into view,
// whole and apart from the others, and every control has a name.

#include <QAbstractButton>
#include <QAccessible>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "app/layout.h"
#include "platform/widgets/status_bar_widget.h"
#include "support/window_fixture.h"

using namespace kalidor;

namespace {

void wheelDown(QWidget* over)
{
    const QPointF at(over->width() / 2.0, over->height() / 2.0);
    QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &wheel);
}

QString nameOf(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); }
QString descriptionOf(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description); }

}  // namespace

class SmallScreensTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlIsReachedByScrollingTheColumn_data()
    {
        QTest::addColumn<QSize>("client");
        // Maximised client areas, in logical pixels, below a title bar.
        QTest::newRow("800x480") << QSize(800, 480);
        QTest::newRow("1366x768 at 125%") << QSize(1093, 590);
        QTest::newRow("1280x720") << QSize(1280, 690);
        QTest::newRow("1024x600") << QSize(1024, 570);
        QTest::newRow("1280x800 at 125%") << QSize(1024, 615);
        QTest::newRow("one pixel short") << QSize(612, 657);
        QTest::newRow("3840x2160 at 200%") << QSize(1920, 1050);
    }

    void everyControlIsReachedByScrollingTheColumn()
    {
        QFETCH(QSize, client);
        auto w = test::openWindow(client.width(), client.height());
        const Controls& c = w->editor().ui;
        QWidget* window = w->form().widget();
        QCOMPARE(c.pbBox.widget()->geometry(), QRect(100, 10, client.width() - 110, client.height() - 30));
        auto* bar = window->findChild<QScrollBar*>();
        const int shownHeight = client.height() - 20;
        QCOMPARE(bar->isVisible(), shownHeight < 638);
        for (std::size_t mode : {0u, 1u, 2u}) {
            QTest::mouseClick(c.obMode[mode].button(), Qt::LeftButton);
            QList<QWidget*> shown;
            for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (child->isVisible() && !child->isWindow())
                    shown << child;
            QSet<QWidget*> reached;
            bar->setValue(0);
            for (int step = 0; step < 40; ++step) {
                const QRect column(0, 0, bar->isVisible() ? bar->x() : 100, shownHeight);
                for (QWidget* a : shown) {
                    if (!column.contains(a->geometry()))
                        continue;
                    bool apart = true;
                    for (QWidget* b : shown) {
                        const QRect both = a->geometry() & b->geometry();
                        apart = apart && (a == b || both.width() <= 1 || both.height() <= 1);
                    }
                    if (apart)
                        reached << a;
                }
                const int before = bar->value();
                wheelDown(c.pbPalBox.widget());
                if (bar->value() == before)
                    break;
            }
            QVERIFY(bar->isHidden() || bar->value() == bar->maximum());
            for (QWidget* a : shown)
                QVERIFY2(a == bar || a == c.pbBox.widget() || a == c.sb.widget() || reached.contains(a),
                         qPrintable(QString("mode %1: %2 at %3,%4 never shows whole").arg(mode)
                                        .arg(nameOf(a).isEmpty() ? a->metaObject()->className() : nameOf(a))
                                        .arg(a->x()).arg(a->y())));
        }
        // The pen-width bar drawn on the window scrolls with the slider.
        QTest::keyClick(c.slDrawWidth.widget(), Qt::Key_PageUp);
        QCOMPARE(c.slDrawWidth.Value(), 6);
        const QImage seen = window->grab().toImage();
        QCOMPARE(seen.pixelColor(60, 585 - bar->value()), QColor(Qt::black));
        // Reached with Tab, the last control is scrolled into view.
        bar->setValue(0);
        c.cbCvet.widget()->setFocus(Qt::TabFocusReason);
        QVERIFY(c.cbCvet.widget()->geometry().bottom() < shownHeight);
        QVERIFY(c.cbCvet.widget()->y() >= 0);
    }

    void everyControlHasAName()
    {
        auto w = test::openWindow();
        Controls& c = w->editor().ui;
        for (QWidget* named : {c.obMode[0].widget(), c.cbCenter.widget(), c.cbChess.widget(), c.cbPattern.widget(),
                               c.kInvert.widget(), c.cbCvet.widget(), c.slN.widget(), c.slDrawWidth.widget(),
                               c.pbPalBox.widget(), c.pbColor[1].widget(), c.pbColor[2].widget(), c.pbColor[3].widget(),
                               c.pbBox.widget(), c.obCP.widget(), c.sb.widget()})
            QVERIFY2(!nameOf(named).isEmpty(), named->metaObject()->className());
        QCOMPARE(nameOf(c.cbCvet.widget()), QString("Cvet"));
        QCOMPARE(nameOf(c.pbColor[1].widget()), QString("Colour well 1 (left button)"));
        QCOMPARE(descriptionOf(c.pbColor[3].widget()), QString("#800080 (red 128, green 0, blue 128)"));
        c.pbColor[1].SetBackColor(0x3366FF);  // red FF, green 66, blue 33
        QCOMPARE(descriptionOf(c.pbColor[1].widget()), QString("#FF6633 (red 255, green 102, blue 51)"));
        QCOMPARE(nameOf(c.pbPalBox.widget()), QString("Palette"));
        test::press(c.pbPalBox.widget(), QPointF(11, 277), Qt::LeftButton, Qt::LeftButton);  // swatch (0, 14), black
        QCOMPARE(descriptionOf(c.pbPalBox.widget()), QString("Selected: #000000 (red 0, green 0, blue 0)"));
        QCOMPARE(nameOf(c.slDrawWidth.widget()), QString("Width"));
        QCOMPARE(nameOf(c.pbBox.widget()), QString("Canvas"));
        // The status bar's panels, each with its name, text and place.
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(c.sb.widget());
        QCOMPARE(bar->role(), QAccessible::StatusBar);
        QCOMPARE(bar->childCount(), 6);
        test::move(c.pbBox.widget(), test::onCanvas(120, 45), Qt::NoButton);
        QTest::mouseClick(c.obMode[1].button(), Qt::LeftButton);
        const QStringList names{"File", "Pointer position: 120,45",
                                "Control point: " + QString::fromStdString(c.sb.PanelText(3)), "Edit",
                                "Pattern group: p1", "Zoom"};  // empty at 100 %
        for (int i = 0; i < 6; ++i) {
            QAccessibleInterface* panel = bar->child(i);
            QCOMPARE(panel->text(QAccessible::Name), names[i]);
            QCOMPARE(panel->text(QAccessible::Value), QString::fromStdString(c.sb.PanelText(i + 1)));
            QVERIFY(!panel->text(QAccessible::Description).isEmpty());
            QCOMPARE(panel->rect().size(), c.sb.bar()->panelRect(i + 1).size());
            QCOMPARE(bar->indexOfChild(panel), i);
        }
        QVERIFY(c.sb.PanelText(3).starts_with("C: "));
    }
};

QTEST_MAIN(SmallScreensTest)
#include "test_small_screens.moc"
