// The storm's keys: arrows held long enough to push the control point to 0 and
// past the 16-bit limits, the C key, the File commands' keys, and keys that
// move the focus or press the focused button.

#include <array>
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include "app/main_window.h"
#include "platform/widgets/surface_widget.h"
#include "support/storm_driver.h"
#include "support/storm_text.h"

namespace kalidor::test {

namespace {

constexpr int kInt16Max = 32767;

// Towards smaller or larger values of x (axis 0) or y (axis 1).
Qt::Key arrow(int axis, bool up)
{
    if (axis == 0)
        return up ? Qt::Key_Right : Qt::Key_Left;
    return up ? Qt::Key_Down : Qt::Key_Up;
}

}  // namespace

void StormDriver::holdArrow()
{
    const bool centric = e_.st.Mode == kCentric;
    const int axis = below(2);
    const int c = axis == 0 ? (centric ? e_.st.CenterX : e_.st.PatternX) : (centric ? e_.st.CenterY : e_.st.PatternY);
    const int r = below(100);
    Qt::Key key = arrow(axis, chance(50));
    int repeats = between(1, 5);
    if (r < 30 && c != 0 && std::abs(c) <= 1200) {
        // To 0, and now and then a little past it.
        key = arrow(axis, c < 0);
        repeats = std::max(1, std::abs(c) + between(-2, 3));
    } else if (r < 45) {
        repeats = between(20, 300);
    } else if (r < 60 && std::abs(c) > 31500) {
        // Out to the 16-bit limit and a few steps against it.
        key = arrow(axis, c > 0);
        repeats = kInt16Max - std::abs(c) + between(1, 4);
    }
    pressKey(key, chance(80) ? Qt::NoModifier : modifiers(), repeats);
}

void StormDriver::pressC() { pressKey(Qt::Key_C, chance(70) ? Qt::NoModifier : modifiers()); }

void StormDriver::symmetryKeys()
{
    // M and G, and [ and ] (with Shift { and }), which turn the mirror line
    // only with Mirror in Centric and neither Ctrl nor Alt; A, smooth lines.
    constexpr Qt::Key keys[] = {Qt::Key_M, Qt::Key_G, Qt::Key_BracketLeft, Qt::Key_BracketRight, Qt::Key_A};
    const Qt::Key key = keys[below(5)];
    const Qt::KeyboardModifiers mods = chance(60) ? Qt::NoModifier : modifiers();
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const bool bracket = key == Qt::Key_BracketLeft || key == Qt::Key_BracketRight;
    const Qt::Key sent = !bracket || !shift ? key : key == Qt::Key_BracketLeft ? Qt::Key_BraceLeft : Qt::Key_BraceRight;
    const int before = e_.mirrorAngle;
    const bool turns = bracket && e_.mirror && drawingMode(e_.st) == kCentric && !mods.testFlag(Qt::ControlModifier) &&
                       !mods.testFlag(Qt::AltModifier);
    const bool smooth = e_.smoothLines;
    const int times = chance(20) ? between(2, 30) : 1;
    pressKey(sent, mods, times);
    if (!turns && e_.mirrorAngle != before)
        fail("the mirror line turned without Mirror in Centric, or with Ctrl or Alt");
    // A switches smooth lines, alone or with Shift.
    const bool switches = key == Qt::Key_A && !mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier);
    if (e_.smoothLines != (smooth != (switches && times % 2 == 1)))
        fail("A did not switch smooth lines, or something else did");
}

void StormDriver::keyDuringDrag()
{
    const int r = below(100);
    if (r < 35)
        pressC();
    else if (r < 40)
        pressF();
    else if (r < 75)
        holdArrow();
    else if (r < 84)
        fileKeysDuringDrag();
    else if (r < 88)
        escapeDuringDrag();
    else
        pressKey(chance(50) ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);  // ignored while a button is down
}

void StormDriver::escapeDuringDrag()
{
    const bool shape = e_.shapeDrag.active;
    const qint64 untouched = e_.ui.pbBox.box()->surface().backing().cacheKey();
    pressKey(Qt::Key_Escape, Qt::NoModifier);
    // A shape called off shows no more and draws nothing, not even at the release.
    if (shape && (e_.shapeDrag.active || e_.ui.pbBox.box()->preview().shown() ||
                  e_.ui.pbBox.box()->surface().backing().cacheKey() != untouched))
        fail("Escape left a shape drawing, or drew it");
}

void StormDriver::answerFileKeys()
{
    // Open reads and Save writes the pop-up's own file, or the dialog is
    // cancelled: never the file that must stay no picture.
    fileAnswer_.reset();
    if (chance(50))
        fileAnswer_ = QDir(scratch_).filePath("storm.bmp").toStdString();
}

void StormDriver::fileKeysDuringDrag()
{
    answerFileKeys();
    pressKey(std::array{Qt::Key_N, Qt::Key_O, Qt::Key_S}[static_cast<std::size_t>(below(3))], Qt::ControlModifier);
}

void StormDriver::sendKey(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods, bool repeat)
{
    const QString text = key >= Qt::Key_A && key <= Qt::Key_Z ? QString(QChar(key)).toLower() : QString();
    // Keys go to the widget with the focus, as the window system sends them; a
    // press that is a shortcut runs it and goes no further.
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus ? focus : window_.form().widget();
    QKeyEvent event(type, key, mods, text, repeat);
    if (type == QEvent::KeyPress && qt_sendShortcutOverrideEvent(target, event.timestamp(), key, mods, text, repeat))
        return;
    QApplication::sendEvent(target, &event);
}

void StormDriver::pressKey(Qt::Key key, Qt::KeyboardModifiers mods, int repeats)
{
    for (int i = 0; i < repeats; ++i) {
        fire("key " + keyText(key) + modifiersText(mods) + (i > 0 ? " held, repeat " + std::to_string(i) : ""),
             [&] { sendKey(QEvent::KeyPress, key, mods, i > 0); });
    }
    fire("release " + keyText(key), [&] { sendKey(QEvent::KeyRelease, key, mods); });
}

void StormDriver::otherKey()
{
    // Tab and Backtab move the focus; Space and Return press the focused button.
    // N runs nothing alone or with Shift or Alt held, only with Ctrl; O and S
    // alone choose the Circle tool and step the stabiliser, L the Line tool,
    // and Escape puts a shape tool down.
    constexpr Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape,
                                Qt::Key_A,   Qt::Key_5,       Qt::Key_Home,  Qt::Key_N,      Qt::Key_O,
                                Qt::Key_S,   Qt::Key_L,       Qt::Key_L,     Qt::Key_O,      Qt::Key_S};
    const Qt::Key key = keys[below(static_cast<int>(std::size(keys)))];
    if (key == Qt::Key_N || key == Qt::Key_O || key == Qt::Key_S)
        answerFileKeys();
    pressKey(key, chance(70) ? Qt::NoModifier : modifiers());
}

}  // namespace kalidor::test
