#include "platform/widgets/qt_input.h"

#include <QMouseEvent>

namespace kalidor {

int16 buttonBits(Qt::MouseButtons buttons)
{
    int16 b = 0;
    if (buttons & Qt::LeftButton)
        b |= kLeftButton;
    if (buttons & Qt::RightButton)
        b |= kRightButton;
    if (buttons & Qt::MiddleButton)
        b |= kMiddleButton;
    return b;
}

int16 shiftBits(Qt::KeyboardModifiers modifiers)
{
    int16 s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= kShiftKey;
    if (modifiers & Qt::ControlModifier)
        s |= kCtrlKey;
    if (modifiers & Qt::AltModifier)
        s |= kAltKey;
    return s;
}

int16 virtualKey(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<int16>(qtKey);  // Qt's letter codes are the ASCII capitals, as the virtual keys
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<int16>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return static_cast<int16>(112 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return kKeyPlus;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return kKeyMinus;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return kKeyOpenBracket;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return kKeyCloseBracket;
    default: return 0;
    }
}

MouseArgs mouseArgs(const QMouseEvent& event, int16 buttons, QPointF at, float unitsPerPixel)
{
    return MouseArgs{buttons, shiftBits(event.modifiers()), static_cast<float>(at.x()) * unitsPerPixel,
                     static_cast<float>(at.y()) * unitsPerPixel};
}

}  // namespace kalidor
