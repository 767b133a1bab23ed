#pragma once
// A colour well: a small framed box filled with its colour, clicked to change it.

#include <functional>

#include <QFrame>

#include "platform/colour.h"

namespace kalidor {

class WellWidget : public QFrame {
    Q_OBJECT
public:
    WellWidget(QWidget* parent, Colour colour);

    Colour colour() const { return colour_; }
    void setColour(Colour c);

    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Colour colour_;
};

}  // namespace kalidor
