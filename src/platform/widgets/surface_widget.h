#pragma once
// A picture box: a framed control that shows a picture through its view
// transform, draws on it through its surface, shows an overlay over it, and
// reports the mouse in the picture's pixels. The picture is its own (the
// palette) or one the window keeps (the canvas).

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include <QFrame>

#include "platform/canvas_cursor.h"
#include "platform/events.h"
#include "platform/overlay.h"
#include "platform/raster/raster_surface.h"
#include "platform/widgets/frame_pacer.h"
#include "platform/widgets/preview_layer.h"
#include "platform/widgets/view_transform.h"

namespace kalidor {

class SurfaceWidget : public QFrame {
    Q_OBJECT
public:
    // `border` 0, 1 (a plain line) or 2 (sunken); outer size given. A picture
    // of its own, of the interior's size and colour `back`.
    SurfaceWidget(QWidget* parent, int outerWidth, int outerHeight, int border, Colour back);
    // A view of `picture`, which the caller keeps and sizes.
    SurfaceWidget(QWidget* parent, int outerWidth, int outerHeight, int border, PictureDocument& picture);
    ~SurfaceWidget() override;

    RasterSurface& surface() { return surface_; }
    PictureDocument& picture() { return surface_.document(); }

    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseMove;
    // A button released; `Button` holds the buttons still down.
    std::function<void(const MouseArgs&)> onMouseUp;
    std::function<void(DragSource, float x, float y)> onDragOver;
    std::function<void(DragSource, float x, float y)> onDragDrop;

    // The outline that follows the pointer while a control is dragged, in
    // picture pixels; nothing while no drag is under way.
    void setDragOutline(const std::optional<QRect>& outline);
    std::optional<QRect> dragOutline() const { return dragOutline_; }

    // Shown over the picture, never part of it (overlay.h).
    void setOverlay(OverlayLayer layer, OverlayLines lines);
    const OverlayLines& overlay(OverlayLayer layer) const { return overlay_[static_cast<std::size_t>(layer)]; }
    void setGuides(std::vector<Segment> guides) { setOverlay(OverlayLayer::Guides, {std::move(guides)}); }
    const std::vector<Segment>& guides() const { return overlay(OverlayLayer::Guides).lines; }

    // A tool's preview drawn by the pen (preview_layer.h): the pen for a new
    // one, then shown in a colour, or hidden.
    Surface& beginPreview();
    void showPreview(Colour colour) { update(view_.toWidget(preview_.show(colour))); }
    void hidePreview() { update(view_.toWidget(preview_.hide())); }
    const PreviewLayer& preview() const { return preview_; }

    // The canvas's cursor: the tool a press will use.
    void setToolCursor(CanvasCursor cursor);
    CanvasCursor toolCursor() const { return cursor_; }

    // How often the drawing is shown, at most: 0 shows every change at once.
    void setFrameMs(int ms) { pacer_.setFrameMs(ms); }

    // Where the picture shows in the widget.
    const ViewTransform& view() const { return view_; }
    void setView(const ViewTransform& view);
    // The picture's position under a point in widget coordinates, and back.
    QPointF toInterior(const QPointF& widgetPos) const { return view_.toPicture(widgetPos); }
    QPointF toWidget(const QPointF& picturePos) const { return view_.toWidget(picturePos); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setUp(int outerWidth, int outerHeight, int border);
    // The picture's pixels shown, in widget coordinates.
    QRect shownArea() const;
    void paintOverlay(QPainter& p, const QRegion& region) const;

    RasterSurface surface_;
    ViewTransform view_;
    int listening_ = 0;
    std::optional<QRect> dragOutline_;
    std::array<OverlayLines, kOverlayLayers> overlay_;
    PreviewLayer preview_;
    CanvasCursor cursor_ = CanvasCursor::Arrow;
    FramePacer pacer_;
};

}  // namespace kalidor
