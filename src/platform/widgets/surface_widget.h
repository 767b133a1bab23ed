#pragma once
// A picture box: a framed control that shows a RasterSurface and reports the
// mouse in the surface's pixels.

#include <functional>
#include <optional>
#include <vector>

#include <QFrame>

#include "platform/events.h"
#include "platform/raster/raster_surface.h"
#include "platform/widgets/frame_pacer.h"

namespace kalidor {

class SurfaceWidget : public QFrame {
    Q_OBJECT
public:
    // `border` 0, 1 (a plain line) or 2 (sunken); outer size given.
    SurfaceWidget(QWidget* parent, int outerWidth, int outerHeight, int border, Colour back);

    RasterSurface& surface() { return surface_; }

    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseMove;
    // A button released; `Button` holds the buttons still down.
    std::function<void(const MouseArgs&)> onMouseUp;
    std::function<void(DragSource, float x, float y)> onDragOver;
    std::function<void(DragSource, float x, float y)> onDragDrop;
    // Told the interior area that changed after every drawing call, besides the repaint.
    std::function<void(const QRegion&)> onChanged;

    // The outline that follows the pointer while a control is dragged, in
    // interior pixels; nothing while no drag is under way.
    void setDragOutline(const std::optional<QRect>& outline);
    std::optional<QRect> dragOutline() const { return dragOutline_; }

    // Thin lines shown over the picture, never part of it, in interior pixels:
    // dashed in two contrasting colours, so that they show on any colour.
    void setGuides(std::vector<Segment> guides);
    const std::vector<Segment>& guides() const { return guides_; }

    // The bucket cursor while a press fills, else the usual arrow.
    void setFillCursor(bool fill);
    bool fillCursor() const { return fillCursor_; }

    // How often the drawing is shown, at most: 0 shows every change at once.
    void setFrameMs(int ms) { pacer_.setFrameMs(ms); }

    // Interior pixels of a point in widget coordinates.
    QPointF toInterior(const QPointF& widgetPos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect toWidget(const QRect& interior) const;

    RasterSurface surface_;
    std::optional<QRect> dragOutline_;
    std::vector<Segment> guides_;
    bool fillCursor_ = false;
    FramePacer pacer_;
};

}  // namespace kalidor
