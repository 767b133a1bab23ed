#include "platform/widgets/marker_widget.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "platform/widgets/qt_input.h"
#include "platform/widgets/surface_widget.h"

namespace kalidor {

MarkerWidget::MarkerWidget(SurfaceWidget* canvas, int size) : QWidget(canvas), canvas_(canvas)
{
    resize(size, size);
    setMouseTracking(true);
    setCursor(Qt::SizeAllCursor);
}

void MarkerWidget::placeAt(QPoint leftTop)
{
    place_ = leftTop;
    follow();
}

void MarkerWidget::follow()
{
    const int half = width() / 2;
    const QPointF middle = canvas_->toWidget(QPointF(place_ + QPoint(half, half)) + QPointF(0.5, 0.5));
    move(static_cast<int>(std::floor(middle.x())) - half, static_cast<int>(std::floor(middle.y())) - half);
}

void MarkerWidget::paintEvent(QPaintEvent*)
{
    // A selected option button on white: a ring, and a dot on the middle pixel.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int c = width() / 2;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(64, 64, 64), 1.2));
    p.drawEllipse(QPointF(c + 0.5, c + 0.5), c - 0.6, c - 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(c + 0.5, c + 0.5), 2.2, 2.2);
}

QPointF MarkerWidget::onCanvas(const QMouseEvent* event) const
{
    return event->position() + QPointF(pos());
}

bool MarkerWidget::overCanvas(const QPointF& canvasPos) const
{
    const QPoint p = canvasPos.toPoint();
    return canvas_->rect().contains(p) && !geometry().contains(p);
}

void MarkerWidget::mousePressEvent(QMouseEvent* event)
{
    if (dragging_)
        return;
    dragging_ = true;
    dragButton_ = event->button();
    grab_ = event->position().toPoint();
}

void MarkerWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        if (onMouseMove)
            onMouseMove(mouseArgs(*event, buttonBits(event->buttons()), event->position(), kTwipsPerPixel));
        return;
    }
    const QPointF at = onCanvas(event);
    const QPointF interior = canvas_->pointerAt(at);
    canvas_->setDragOutline(QRect((interior - QPointF(grab_)).toPoint(), size()));
    if (overCanvas(at) && canvas_->onDragOver)
        canvas_->onDragOver(DragSource::Marker, static_cast<float>(interior.x()),
                            static_cast<float>(interior.y()));
}

void MarkerWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != dragButton_)
        return;
    dragging_ = false;
    canvas_->setDragOutline(std::nullopt);
    const QPointF at = onCanvas(event);
    if (overCanvas(at) && canvas_->onDragDrop) {
        const QPointF interior = canvas_->pointerAt(at);
        canvas_->onDragDrop(DragSource::Marker, static_cast<float>(interior.x()),
                            static_cast<float>(interior.y()));
    }
}

}  // namespace kalidor
