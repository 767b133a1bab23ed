#pragma once
// The control-point marker: a small ring with a dot on a picture box, dragged by
// itself. Pressing a button on it starts a drag; moving over the picture box
// reports drag-overs and shows an outline; releasing over the box drops it there.
// The marker itself does not move until the editor moves it.

#include <functional>

#include <QWidget>

#include "platform/events.h"

namespace kalidor {

class SurfaceWidget;

class MarkerWidget : public QWidget {
    Q_OBJECT
public:
    MarkerWidget(SurfaceWidget* canvas, int size);

    // Its place in the canvas picture's pixels: its middle over the middle of
    // the picture pixel in the middle of the place, at any zoom.
    void placeAt(QPoint leftTop);
    QPoint place() const { return place_; }
    // Stands again over its place, after the canvas's view changed.
    void follow();

    // A move over the marker while no drag is under way; X, Y in twips from
    // the marker's top-left corner.
    std::function<void(const MouseArgs&)> onMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The pointer in the canvas's widget coordinates, and whether it is over the
    // canvas rather than over the marker itself.
    QPointF onCanvas(const QMouseEvent* event) const;
    bool overCanvas(const QPointF& canvasPos) const;

    SurfaceWidget* canvas_;
    bool dragging_ = false;
    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPoint grab_;
    QPoint place_;
};

}  // namespace kalidor
