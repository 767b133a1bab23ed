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
#include "platform/raster/reduced_view.h"
#include "platform/widgets/frame_pacer.h"
#include "platform/widgets/preview_layer.h"
#include "platform/widgets/view_transform.h"

class QScrollBar;

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
    // A hand shows instead while Space is held over a view that pans, or a
    // pan drag is under way.
    bool showsHand() const { return spaceHeld_ || panFrom_.has_value(); }
    CanvasCursor toolCursor() const { return cursor_; }

    // How often the drawing is shown, at most: 0 shows every change at once.
    void setFrameMs(int ms) { pacer_.setFrameMs(ms); }

    // Where the picture shows in the widget.
    const ViewTransform& view() const { return view_; }
    // The view as asked, panned no further than the picture reaches.
    void setView(const ViewTransform& view);
    // The canvas zooms and pans (Ctrl+wheel, the wheel, scroll bars, a
    // middle-button or Space+left drag); a palette does not.
    bool zoomable() const { return zoomable_; }
    // Zoom `steps` steps up or down about widget point `at`, or the middle of
    // the view; the whole picture as large as it fits; 100 %.
    void zoomBy(int steps, std::optional<QPointF> at = std::nullopt);
    void fitView();
    void actualSize();
    // The part of the widget that shows the picture: the interior less the
    // scroll bars shown.
    QRect viewport() const;
    // Told after every change of zoom or pan.
    std::function<void()> onViewChanged;
    // The picture's position under a point in widget coordinates, and back.
    QPointF toInterior(const QPointF& widgetPos) const { return view_.toPicture(widgetPos); }
    // Where the pointer at a widget point presses: the picture pixel under it,
    // whatever the zoom (at 100 % the position itself, whole already).
    QPointF pointerAt(const QPointF& widgetPos) const;
    QPointF toWidget(const QPointF& picturePos) const { return view_.toWidget(picturePos); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void setUp(int outerWidth, int outerHeight, int border);
    // After the view, the widget's or the picture's size changed: the pan
    // limited, the scroll bars and the marker placed, everything shown again.
    void layOutView();
    // The scroll bars a picture of that size needs at the zoom, the view
    // panned within it, and the bars at the view's place.
    void placeScrollBars(QSize picture);
    void scrolled();
    // Whether the picture reaches beyond the view, which can then be panned.
    bool pans() const;
    // A middle-button or Space+left drag moves the view.
    bool startsPan(const QMouseEvent* event) const;
    void paintPicture(QPainter& p, const QRect& piece, const QRect& picture);
    void paintGrid(QPainter& p, const QRect& source) const;
    // The tool's cursor, or a hand while the view is or may be dragged.
    void showCursor();
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
    bool zoomable_ = false;
    QScrollBar* across_ = nullptr;
    QScrollBar* down_ = nullptr;
    bool layingOut_ = false;
    QPointF shownOrigin_;     // the view the screen shows, which a pan scrolls
    double shownScale_ = 0;
    QSize laidOutPicture_;
    bool spaceHeld_ = false;
    std::optional<QPointF> panFrom_;  // the pointer where a pan drag last was
    int wheelZoom_ = 0;               // Ctrl+wheel turned short of a notch
    ReducedView reduced_;
    QImage reducedPiece_;
};

}  // namespace kalidor
