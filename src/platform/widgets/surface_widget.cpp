#include "platform/widgets/surface_widget.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

#include "platform/widgets/tool_cursor.h"
#include "platform/widgets/qt_input.h"
#include "platform/widgets/view_zoom.h"

namespace kalidor {

SurfaceWidget::SurfaceWidget(QWidget* parent, int outerWidth, int outerHeight, int border, Colour back)
    : QFrame(parent), surface_(outerWidth, outerHeight, border, back), pacer_([this](const QRegion& area) { update(area); })
{
    setUp(outerWidth, outerHeight, border);
}

SurfaceWidget::SurfaceWidget(QWidget* parent, int outerWidth, int outerHeight, int border, PictureDocument& picture)
    : QFrame(parent), surface_(picture, outerWidth, outerHeight, border),
      pacer_([this](const QRegion& area) { update(area); }), zoomable_(true)
{
    setUp(outerWidth, outerHeight, border);
    across_ = new QScrollBar(Qt::Horizontal, this);
    down_ = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {across_, down_}) {
        bar->hide();
        bar->setFocusPolicy(Qt::NoFocus);  // the keys stay the canvas's
        bar->setCursor(Qt::ArrowCursor);
        connect(bar, &QScrollBar::valueChanged, this, [this] { scrolled(); });
    }
    across_->setAccessibleName("Pan across");
    down_->setAccessibleName("Pan down");
    laidOutPicture_ = QSize(picture.Width(), picture.Height());
}

SurfaceWidget::~SurfaceWidget() { picture().forget(listening_); }

void SurfaceWidget::setUp(int outerWidth, int outerHeight, int border)
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
    view_.origin = QPointF(border, border);
    listening_ = picture().listen([this](const QRegion& area) {
        reduced_.changed(area);
        if (zoomable_ && QSize(picture().Width(), picture().Height()) != laidOutPicture_)
            layOutView();
        else
            pacer_.changed(view_.toWidget(area));
    });
    if (const QScreen* shown = screen(); shown && shown->refreshRate() > 60)
        pacer_.setFrameMs(static_cast<int>(1000 / shown->refreshRate()));
}

void SurfaceWidget::setView(const ViewTransform& view)
{
    view_ = view;
    layOutView();
}

QRect SurfaceWidget::shownArea() const
{
    return view_.toWidget(QRect(0, 0, surface_.document().Width(), surface_.document().Height()));
}

QPointF SurfaceWidget::pointerAt(const QPointF& widgetPos) const
{
    if (view_.scale == 1)
        return view_.toPicture(widgetPos);
    return QPointF(pixelUnder(view_, widgetPos));
}

void SurfaceWidget::setDragOutline(const std::optional<QRect>& outline)
{
    if (dragOutline_)
        update(view_.toWidget(*dragOutline_).adjusted(-1, -1, 1, 1));
    dragOutline_ = outline;
    if (dragOutline_)
        update(view_.toWidget(*dragOutline_).adjusted(-1, -1, 1, 1));
}

namespace {

bool sameLines(const OverlayLines& a, const OverlayLines& b)
{
    return a.colour == b.colour && a.width == b.width &&
           std::equal(a.lines.begin(), a.lines.end(), b.lines.begin(), b.lines.end(),
                      [](const Segment& p, const Segment& q) {
                          return p.x1 == q.x1 && p.y1 == q.y1 && p.x2 == q.x2 && p.y2 == q.y2;
                      });
}

}  // namespace

void SurfaceWidget::setOverlay(OverlayLayer layer, OverlayLines lines)
{
    OverlayLines& shown = overlay_[static_cast<std::size_t>(layer)];
    if (sameLines(lines, shown))
        return;
    shown = std::move(lines);
    update();
}

Surface& SurfaceWidget::beginPreview()
{
    update(view_.toWidget(preview_.hide()));
    return preview_.begin(picture().Width(), picture().Height(), surface_.DrawWidth());
}

void SurfaceWidget::setToolCursor(CanvasCursor cursor)
{
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    if (!spaceHeld_ && !panFrom_)
        showCursor();
}

void SurfaceWidget::showCursor()
{
    if (panFrom_)
        setCursor(Qt::ClosedHandCursor);
    else if (spaceHeld_)
        setCursor(Qt::OpenHandCursor);
    else if (cursor_ == CanvasCursor::Arrow)
        unsetCursor();
    else
        setCursor(kalidor::toolCursor(cursor_, std::ceil(devicePixelRatioF())));
}

void SurfaceWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);  // the border
    QPainter p(this);
    const QRect picture(0, 0, surface_.document().Width(), surface_.document().Height());
    const QRect shown = shownArea() & viewport();
    // Around a picture smaller than the view, and in the corner between the
    // scroll bars: no picture.
    for (const QRect& piece : (event->region() & contentsRect()) - shown)
        p.fillRect(piece, palette().color(QPalette::Dark));
    // Only the changed pieces: a stroke's copies can lie far apart.
    for (const QRect& piece : event->region())
        if (const QRect on = piece & shown; !on.isEmpty())
            paintPicture(p, on, picture);
    paintOverlay(p, event->region());
    if (dragOutline_) {
        p.setClipRect(shown);
        QPen pen(Qt::black, 1, Qt::DotLine);
        p.setPen(pen);
        p.drawRect(view_.toWidget(*dragOutline_).adjusted(0, 0, -1, -1));
    }
}

void SurfaceWidget::paintPicture(QPainter& p, const QRect& on, const QRect& picture)
{
    const QImage& image = surface_.backing();
    const QRect source = view_.toPicture(on) & picture;
    if (source.isEmpty())
        return;
    if (view_.scale < 1) {
        reduced_.render(image, picture.size(), view_.scale, view_.origin.toPoint(), on,
                        palette().color(QPalette::Dark).rgb(), reducedPiece_);
        p.drawImage(on.topLeft(), reducedPiece_);
    } else if (view_.scale == 1) {
        p.drawImage(view_.toWidget(source).topLeft(), image, source);
    } else {
        // Sharp squares: no smoothing between pixels.
        p.save();
        p.setClipRect(on);
        p.drawImage(QRectF(view_.toWidget(QPointF(source.topLeft())), QSizeF(source.size()) * view_.scale), image,
                    QRectF(source));
        p.restore();
    }
    p.save();
    p.setClipRect(on);
    preview_.paint(p, view_, source);
    if (view_.scale >= kGridZoom)
        paintGrid(p, source);
    p.restore();
}

void SurfaceWidget::paintGrid(QPainter& p, const QRect& source) const
{
    // Thin and faint, so that it shows on white and on black alike.
    p.setPen(QPen(QColor(128, 128, 128, 110), 0));
    const QPointF from = view_.toWidget(QPointF(source.topLeft()));
    const QPointF to = view_.toWidget(QPointF(source.bottomRight() + QPoint(1, 1)));
    for (int x = source.left(); x <= source.right() + 1; ++x) {
        const double at = view_.toWidget(QPointF(x, 0)).x();
        p.drawLine(QLineF(at, from.y(), at, to.y()));
    }
    for (int y = source.top(); y <= source.bottom() + 1; ++y) {
        const double at = view_.toWidget(QPointF(0, y)).y();
        p.drawLine(QLineF(from.x(), at, to.x(), at));
    }
}

void SurfaceWidget::paintOverlay(QPainter& p, const QRegion& region) const
{
    const OverlayLines& guides = overlay(OverlayLayer::Guides);
    const OverlayLines& preview = overlay(OverlayLayer::Preview);
    if (guides.lines.empty() && preview.lines.empty())
        return;
    p.setClipRegion(region & QRegion(shownArea() & viewport()));
    // Lines through pixel centres, no smoothing.
    p.setTransform(view_.painter());
    p.translate(0.5, 0.5);
    if (!preview.lines.empty()) {
        const QColor colour(red(preview.colour), green(preview.colour), blue(preview.colour));
        p.setPen(QPen(colour, preview.width, Qt::SolidLine, Qt::RoundCap));
        for (const Segment& g : preview.lines)
            p.drawLine(QLineF(g.x1, g.y1, g.x2, g.y2));
    }
    // One screen pixel wide at any scale: white under black dashes.
    for (const bool dashes : {false, true}) {
        QPen pen(dashes ? Qt::black : Qt::white, 0);
        if (dashes)
            pen.setDashPattern({4, 4});
        p.setPen(pen);
        for (const Segment& g : guides.lines)
            p.drawLine(QLineF(g.x1, g.y1, g.x2, g.y2));
    }
    p.resetTransform();
}

void SurfaceWidget::resizeEvent(QResizeEvent* event)
{
    surface_.setOuterSize(width(), height());  // the event's size can lag behind
    QFrame::resizeEvent(event);
    if (zoomable_)
        layOutView();
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event)
{
    if (panFrom_)
        return;  // one drag at a time
    if (startsPan(event)) {
        panFrom_ = event->position();
        showCursor();
        return;
    }
    const int16 button = buttonBits(event->button());
    if (button == 0 || !onMouseDown)
        return;
    MouseArgs m = mouseArgs(*event, button, pointerAt(event->position()));
    m.Held = buttonBits(event->buttons());
    onMouseDown(m);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (panFrom_) {
        ViewTransform moved = view_;
        moved.origin += event->position() - *panFrom_;
        panFrom_ = event->position();
        setView(moved);
        return;
    }
    if (onMouseMove)
        onMouseMove(mouseArgs(*event, buttonBits(event->buttons()), pointerAt(event->position())));
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (panFrom_) {
        if ((event->buttons() & (Qt::MiddleButton | Qt::LeftButton)) == 0) {
            panFrom_.reset();
            showCursor();
        }
        return;
    }
    if (onMouseUp)
        onMouseUp(mouseArgs(*event, buttonBits(event->buttons()), pointerAt(event->position())));
}

}  // namespace kalidor
