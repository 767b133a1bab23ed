#include "platform/widgets/surface_widget.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "platform/widgets/bucket_cursor.h"
#include "platform/widgets/qt_input.h"

namespace kalidor {

SurfaceWidget::SurfaceWidget(QWidget* parent, int outerWidth, int outerHeight, int border, Colour back)
    : QFrame(parent), surface_(outerWidth, outerHeight, border, back),
      pacer_([this](const QRegion& area) { update(area); })
{
    if (border >= 2)
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else if (border == 1)
        setFrameStyle(QFrame::Box | QFrame::Plain);
    else
        setFrameStyle(QFrame::NoFrame);
    setLineWidth(border);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);  // a picture box takes the focus when clicked
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(outerWidth, outerHeight);
    surface_.setChangedHandler([this](const QRegion& r) {
        pacer_.changed(r.translated(surface_.border(), surface_.border()));
        if (onChanged)
            onChanged(r);
    });
    if (const QScreen* shown = screen(); shown && shown->refreshRate() > 60)
        pacer_.setFrameMs(static_cast<int>(1000 / shown->refreshRate()));
}

QRect SurfaceWidget::toWidget(const QRect& interior) const
{
    const int b = surface_.border();
    return interior.translated(b, b);
}

QPointF SurfaceWidget::toInterior(const QPointF& widgetPos) const
{
    const int b = surface_.border();
    return widgetPos - QPointF(b, b);
}

void SurfaceWidget::setDragOutline(const std::optional<QRect>& outline)
{
    if (dragOutline_)
        update(toWidget(dragOutline_->adjusted(-1, -1, 1, 1)));
    dragOutline_ = outline;
    if (dragOutline_)
        update(toWidget(dragOutline_->adjusted(-1, -1, 1, 1)));
}

namespace {

bool sameGuides(const std::vector<Segment>& a, const std::vector<Segment>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Segment& p, const Segment& q) {
        return p.x1 == q.x1 && p.y1 == q.y1 && p.x2 == q.x2 && p.y2 == q.y2;
    });
}

}  // namespace

void SurfaceWidget::setGuides(std::vector<Segment> guides)
{
    if (sameGuides(guides, guides_))
        return;
    guides_ = std::move(guides);
    update();
}

void SurfaceWidget::setFillCursor(bool fill)
{
    if (fill == fillCursor_)
        return;
    fillCursor_ = fill;
    if (fill)
        setCursor(bucketCursor(std::ceil(devicePixelRatioF())));
    else
        unsetCursor();
}

void SurfaceWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);  // the border
    QPainter p(this);
    const QRect shown(0, 0, static_cast<int>(surface_.ScaleWidth()), static_cast<int>(surface_.ScaleHeight()));
    const int b = surface_.border();
    // Only the changed pieces: a stroke's copies can lie far apart.
    for (const QRect& piece : event->region()) {
        const QRect source = piece.translated(-b, -b) & shown;
        if (!source.isEmpty())
            p.drawImage(source.topLeft() + QPoint(b, b), surface_.backing(), source);
    }
    if (!guides_.empty()) {
        // Pixel centres, no smoothing: one pixel wide, white under black dashes.
        p.setClipRegion(event->region() & QRegion(toWidget(shown)));
        p.translate(b + 0.5, b + 0.5);
        for (const bool dashes : {false, true}) {
            QPen pen(dashes ? Qt::black : Qt::white, 0);
            if (dashes)
                pen.setDashPattern({4, 4});
            p.setPen(pen);
            for (const Segment& g : guides_)
                p.drawLine(QLineF(g.x1, g.y1, g.x2, g.y2));
        }
        p.resetTransform();
    }
    if (dragOutline_) {
        p.setClipRect(toWidget(shown));
        QPen pen(Qt::black, 1, Qt::DotLine);
        p.setPen(pen);
        p.drawRect(toWidget(*dragOutline_).adjusted(0, 0, -1, -1));
    }
}

void SurfaceWidget::resizeEvent(QResizeEvent* event)
{
    surface_.setOuterSize(width(), height());  // the event's size can lag behind
    QFrame::resizeEvent(event);
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event)
{
    const int16 button = buttonBits(event->button());
    if (button == 0 || !onMouseDown)
        return;
    MouseArgs m = mouseArgs(*event, button, toInterior(event->position()));
    m.Held = buttonBits(event->buttons());
    onMouseDown(m);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (onMouseMove)
        onMouseMove(mouseArgs(*event, buttonBits(event->buttons()), toInterior(event->position())));
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (onMouseUp)
        onMouseUp(mouseArgs(*event, buttonBits(event->buttons()), toInterior(event->position())));
}

}  // namespace kalidor
