// The canvas's zoom and pan: the scroll bars, the wheel, and dragging the view.
#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "platform/widgets/marker_widget.h"
#include "platform/widgets/surface_widget.h"
#include "platform/widgets/view_zoom.h"

namespace kalidor {

namespace {

// How far a notch of the wheel pans, in screen pixels.
constexpr int kWheelPan = 48;
constexpr int kNotch = 120;

}  // namespace

QRect SurfaceWidget::viewport() const
{
    QRect r = contentsRect();
    if (across_ && !across_->isHidden())
        r.setBottom(across_->geometry().top() - 1);
    if (down_ && !down_->isHidden())
        r.setRight(down_->geometry().left() - 1);
    return r;
}

void SurfaceWidget::layOutView()
{
    if (layingOut_)
        return;
    layingOut_ = true;
    const QSize picture(surface_.document().Width(), surface_.document().Height());
    const bool samePicture = laidOutPicture_ == picture;
    laidOutPicture_ = picture;
    const QRect viewportBefore = viewport();
    if (zoomable_)
        placeScrollBars(picture);
    for (MarkerWidget* marker : findChildren<MarkerWidget*>(Qt::FindDirectChildrenOnly))
        marker->follow();
    // A large picture's copies beyond what is shown may wait (raster_surface.h).
    if (zoomable_)
        surface_.setLive(view_.toPicture(viewport()));
    // A pan moves what is shown already and paints only what comes into view.
    const QPointF moved = view_.origin - shownOrigin_;
    const QRect shown = viewport();
    if (samePicture && view_.scale == shownScale_ && shown == viewportBefore && std::abs(moved.x()) < shown.width() &&
        std::abs(moved.y()) < shown.height())
        scroll(static_cast<int>(moved.x()), static_cast<int>(moved.y()), shown);
    else
        update();
    shownOrigin_ = view_.origin;
    shownScale_ = view_.scale;
    layingOut_ = false;
    if (onViewChanged)
        onViewChanged();
}

void SurfaceWidget::placeScrollBars(QSize picture)
{
    // A bar takes room from the view, which may call for the other bar.
    const QRect inner = contentsRect();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool across = false;
    bool down = false;
    for (int pass = 0; pass < 2; ++pass) {
        across = picture.width() * view_.scale > inner.width() - (down ? extent : 0);
        down = picture.height() * view_.scale > inner.height() - (across ? extent : 0);
    }
    across_->setGeometry(inner.left(), inner.bottom() + 1 - extent, inner.width() - (down ? extent : 0), extent);
    down_->setGeometry(inner.right() + 1 - extent, inner.top(), extent, inner.height() - (across ? extent : 0));
    across_->setVisible(across);
    down_->setVisible(down);
    const QRect shown = viewport();
    view_ = panLimited(view_, picture, shown);
    const QSignalBlocker quietAcross(across_);
    const QSignalBlocker quietDown(down_);
    across_->setRange(0, std::max(0, static_cast<int>(std::ceil(picture.width() * view_.scale)) - shown.width()));
    across_->setPageStep(shown.width());
    across_->setSingleStep(kWheelPan / 2);
    across_->setValue(shown.left() - static_cast<int>(view_.origin.x()));
    down_->setRange(0, std::max(0, static_cast<int>(std::ceil(picture.height() * view_.scale)) - shown.height()));
    down_->setPageStep(shown.height());
    down_->setSingleStep(kWheelPan / 2);
    down_->setValue(shown.top() - static_cast<int>(view_.origin.y()));
}

void SurfaceWidget::scrolled()
{
    const QRect shown = viewport();
    ViewTransform moved = view_;
    moved.origin = QPointF(shown.left() - across_->value(), shown.top() - down_->value());
    setView(moved);
}

void SurfaceWidget::zoomBy(int steps, std::optional<QPointF> at)
{
    if (!zoomable_)
        return;
    const QPointF about = at.value_or(QRectF(viewport()).center());
    setView(zoomedAbout(view_, steppedZoom(view_.scale, steps), about));
}

void SurfaceWidget::fitView()
{
    if (zoomable_)
        setView(fitted(QSize(surface_.document().Width(), surface_.document().Height()), contentsRect()));
}

void SurfaceWidget::actualSize()
{
    if (zoomable_)
        setView(zoomedAbout(view_, 1, QRectF(viewport()).center()));
}

void SurfaceWidget::wheelEvent(QWheelEvent* event)
{
    if (!zoomable_) {
        QFrame::wheelEvent(event);
        return;
    }
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // A notch a step; a fine wheel's small deltas add up to one.
        wheelZoom_ += delta.y();
        const int steps = wheelZoom_ / kNotch;
        wheelZoom_ -= steps * kNotch;
        if (steps != 0)
            zoomBy(steps, event->position());
    } else {
        // Shift turns the wheel across; some systems have done so already.
        QPointF pan(delta.x(), delta.y());
        if ((event->modifiers() & Qt::ShiftModifier) && delta.x() == 0)
            pan = QPointF(delta.y(), 0);
        ViewTransform moved = view_;
        moved.origin += pan * kWheelPan / kNotch;
        setView(moved);
    }
    event->accept();
}

bool SurfaceWidget::pans() const { return zoomable_ && (!across_->isHidden() || !down_->isHidden()); }

bool SurfaceWidget::startsPan(const QMouseEvent* event) const
{
    // Where the whole picture shows, there is nothing to pan: the buttons
    // are the editor's, as they always were.
    // Not in the middle of a stroke: its release must reach the editor.
    return pans() && event->buttons() == event->button() && (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_));
}

void SurfaceWidget::keyPressEvent(QKeyEvent* event)
{
    if (pans() && event->key() == Qt::Key_Space && !event->isAutoRepeat() && event->modifiers() == Qt::NoModifier) {
        spaceHeld_ = true;
        showCursor();
    }
    QFrame::keyPressEvent(event);
}

void SurfaceWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && spaceHeld_) {
        spaceHeld_ = false;
        showCursor();
    }
    QFrame::keyReleaseEvent(event);
}

void SurfaceWidget::focusOutEvent(QFocusEvent* event)
{
    spaceHeld_ = false;  // its release goes elsewhere
    showCursor();
    QFrame::focusOutEvent(event);
}

}  // namespace kalidor
