#include "support/storm_text.h"

#include <cstdio>

#include <QKeySequence>

namespace kalidor::test {

std::string pointText(QPointF p)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%.9g,%.9g)", p.x(), p.y());
    return text;
}

std::string buttonsText(Qt::MouseButtons buttons)
{
    std::string text;
    for (const auto& [b, name] : {std::pair{Qt::LeftButton, "L"}, {Qt::RightButton, "R"}, {Qt::MiddleButton, "M"}})
        if (buttons & b)
            text += (text.empty() ? "" : "+") + std::string(name);
    return text.empty() ? "no button" : text;
}

std::string modifiersText(Qt::KeyboardModifiers mods)
{
    std::string text;
    for (const auto& [m, name] :
         {std::pair{Qt::ShiftModifier, "Shift"}, {Qt::ControlModifier, "Ctrl"}, {Qt::AltModifier, "Alt"}})
        if (mods & m)
            text += (text.empty() ? " with " : "+") + std::string(name);
    return text;
}

std::string keyText(Qt::Key key) { return QKeySequence(key).toString().toStdString(); }

}  // namespace kalidor::test
