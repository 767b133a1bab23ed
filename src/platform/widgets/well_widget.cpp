#include "platform/widgets/well_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/widgets/controls.h"

namespace kalidor {

WellWidget::WellWidget(QWidget* parent, Colour colour) : QFrame(parent), colour_(colour)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setCursor(Qt::PointingHandCursor);
    setAccessibleDescription(QString::fromStdString(describeColour(colour_)));
}

void WellWidget::setColour(Colour c)
{
    colour_ = c;
    setAccessibleDescription(QString::fromStdString(describeColour(colour_)));
    update();
}

void WellWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(contentsRect(), QColor(red(colour_), green(colour_), blue(colour_)));
    p.end();
    QFrame::paintEvent(event);
}

void WellWidget::mouseReleaseEvent(QMouseEvent* event)
{
    // A click: the left button released over the well it went down on.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

}  // namespace kalidor
