#pragma once
// Storm events in words, so that a failing run can be read and replayed.

#include <string>

#include <QPointF>
#include <Qt>

namespace kalidor::test {

std::string pointText(QPointF p);
std::string buttonsText(Qt::MouseButtons buttons);
// " with Shift+Ctrl", or nothing without modifiers.
std::string modifiersText(Qt::KeyboardModifiers mods);
std::string keyText(Qt::Key key);

}  // namespace kalidor::test
